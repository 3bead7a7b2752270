"""Helpers for the tools that add a section of their own to the benchmark page."""


def load_average():
    """The 1, 5 and 15 minute load averages, as the page shows them."""
    with open("/proc/loadavg") as f:
        return ", ".join(f.read().split()[:3])


def replace_section(report, heading, text):
    """Puts text (starting with heading) in place of the page's section under heading, or at
    the page's end when it has none; sections under other '## ' headings stay as they are."""
    with open(report) as f:
        page = f.read()
    start = page.find("\n" + heading + "\n")
    if start < 0:
        before, after = page, ""
    else:
        end = page.find("\n## ", start + 1)
        before, after = page[:start], page[end + 1:] if end >= 0 else ""
    page = before.rstrip("\n") + "\n\n" + text + ("\n" + after if after else "")
    with open(report, "w") as f:
        f.write(page)
