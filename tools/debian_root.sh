# Sourced: minimal Debian roots made with debootstrap, in which the suite runs on another Debian
# release (tools/test_in_debian.sh) and the release is built against Debian 12 on a host of
# another release (tools/release_in_debian12.sh). All of it needs root: debootstrap, mount and
# chroot.
#
# The archive is the one this machine's apt sources name; a root's base system is kept as a
# tarball under ORVESSA_ROOTS, so that the next root of that release is made without the network.
# The host's /dev, /sys and a /proc are mounted into a root while it is in use; only processes
# running inside a root are ever ended, and a root is unmounted before it is removed.

ORVESSA_ROOTS=${ORVESSA_ROOTS:-${XDG_CACHE_HOME:-$HOME/.cache}/orvessa}

# The archive of this machine's apt sources whose lists have FIELD (RELEASE, LABEL) = VALUE.
orvessa_apt_source_of() {
  apt-get indextargets --format "\$($1)|\$(REPO_URI)" "Created-By: Packages" 2>/dev/null |
    awk -F'|' -v want="$2" '$1 == want && !found {print $2; found = 1}'
}

# Debian's archive as this machine's apt sources name it (so a mirror or a proxy set up here is
# the one used): the source of its lists for RELEASE if any, else of any list that Debian's main
# archive signed. Empty when apt knows no Debian archive.
orvessa_debian_archive() {
  local archive=""
  if [ -n "${1:-}" ]; then
    archive=$(orvessa_apt_source_of RELEASE "$1")
  fi
  printf '%s\n' "${archive:-$(orvessa_apt_source_of LABEL Debian)}"
}

# Points ROOT's apt at RELEASE as an installed Debian has it: the release, its updates and,
# where this machine names Debian's security archive, its security updates.
orvessa_root_sources() {
  local root=$1 release=$2 archive=$3 security
  security=$(orvessa_apt_source_of LABEL Debian-Security)
  {
    echo "deb $archive $release main"
    echo "deb $archive $release-updates main"
    [ -z "$security" ] || echo "deb $security $release-security main"
  } >"$root/etc/apt/sources.list"
}

# Brings ROOT up to date with its archive, as a maintained machine is (ROOT mounted).
orvessa_root_upgrade() {
  echo "Bringing the root up to date with its archive"
  orvessa_root_run "$1" /bin/sh -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
    apt-get -y -qq -o Dpkg::Use-Pty=0 upgrade' >"$1/var/log/orvessa-upgrade.log" 2>&1 || {
    tail -20 "$1/var/log/orvessa-upgrade.log" >&2
    echo "error: apt could not bring the root up to date" >&2
    return 1
  }
}

# Makes ROOT a fresh, minimal Debian RELEASE (a code name: bookworm, trixie) from the kept base
# tarball, made first with debootstrap if there is none.
orvessa_root_create() {
  local root=$1 release=$2 base archive
  base=$ORVESSA_ROOTS/$release-minbase.tar
  if [ -e "$root" ]; then
    echo "error: $root exists already" >&2
    return 1
  fi
  mkdir -p "$ORVESSA_ROOTS" "$root"
  if [ -f "$base" ]; then
    echo "A fresh Debian $release root in $root, from $base"
    tar -C "$root" --numeric-owner -xpf "$base"
    return
  fi
  archive=$(orvessa_debian_archive "$release")
  if [ -z "$archive" ]; then
    echo "error: none of this machine's apt sources is Debian's archive; add a Debian mirror" \
      "to apt's sources, then apt-get update" >&2
    return 1
  fi
  echo "Making a minimal Debian $release root in $root with debootstrap, from $archive" \
    "(a few minutes; its base is then kept in $base)"
  if ! debootstrap --variant=minbase "$release" "$root" "$archive" >"$root.debootstrap.log" 2>&1
  then
    echo "error: debootstrap failed; see $root.debootstrap.log" >&2
    return 1
  fi
  rm -f "$root.debootstrap.log"
  orvessa_root_sources "$root" "$release" "$archive"
  orvessa_root_mount "$root" "$release" && orvessa_root_upgrade "$root" &&
    orvessa_root_unmount "$root" || return 1
  tar -C "$root" --numeric-owner -cpf "$base.part" . && mv "$base.part" "$base"
}

# Mounts what programs inside ROOT need: a /proc of its own, the host's /sys and /dev (slaves,
# so that unmounting them inside never reaches the host's), and a kept folder of downloaded
# packages, shared by the roots of one release. The root reaches the network as the host does:
# with the host's name servers, and the certificates the host's owner added to those it trusts
# (a proxy's, say), which the root's ca-certificates takes in when it is installed.
orvessa_root_mount() {
  local root=$1 release=$2 cache
  cache=$ORVESSA_ROOTS/$release-apt-archives
  mkdir -p "$cache/partial"
  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys"
  mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"
  mount --bind "$cache" "$root/var/cache/apt/archives"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  [ -f "$root/etc/hosts" ] || cp /etc/hosts "$root/etc/hosts"
  local added=(/usr/local/share/ca-certificates/*.crt)
  if [ -f "${added[0]}" ]; then
    mkdir -p "$root/usr/local/share/ca-certificates"
    cp "${added[@]}" "$root/usr/local/share/ca-certificates/"
    if [ -x "$root/usr/sbin/update-ca-certificates" ]; then
      orvessa_root_run "$root" update-ca-certificates >/dev/null 2>&1
    fi
  fi
}

# Runs a command inside ROOT as root, in a clean environment (no display of the host's).
orvessa_root_run() {
  local root=$1
  shift
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# Ends every process running inside ROOT (and no other), then unmounts everything under it.
orvessa_root_unmount() {
  local root pid pids mounts attempt
  root=$(realpath "$1")
  for attempt in TERM TERM TERM KILL; do
    pids=()
    for pid in /proc/[0-9]*; do
      if [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ]; then
        pids+=("${pid#/proc/}")
      fi
    done
    [ "${#pids[@]}" -eq 0 ] && break
    kill "-$attempt" "${pids[@]}" 2>/dev/null
    sleep 1
  done
  # Deepest first; each is a slave of the host's, so this unmounts the root's copies only.
  mapfile -t mounts < <(awk -v root="$root" 'index($5, root "/") == 1 {print $5}' \
    /proc/self/mountinfo | sort -r)
  for mount in "${mounts[@]}"; do
    umount "$mount" 2>/dev/null || umount --lazy "$mount"
  done
  if awk -v root="$root" 'index($5, root "/") == 1 {found = 1} END {exit !found}' \
    /proc/self/mountinfo; then
    echo "error: something is still mounted under $root" >&2
    return 1
  fi
}

# Unmounts ROOT and removes it; never crosses into a file system mounted under it.
orvessa_root_remove() {
  orvessa_root_unmount "$1" || return 1
  rm -rf --one-file-system "$1"
}
