// Positioned reads of regular files on POSIX systems (Linux, and the browser's file system).
#include <cerrno>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "image/byte_source.h"

FileSource::FileSource(const char* path) {
    // O_NONBLOCK makes the open of a FIFO return at once instead of waiting for a writer.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        close(fd);
        return;
    }
    // Reads of a regular file should wait for the disk as usual.
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return;
    }
    handle_ = fd;
    size_ = static_cast<std::uint64_t>(status.st_size);
}

FileSource::~FileSource() {
    if (isOpen()) {
        close(static_cast<int>(handle_));
    }
}

std::size_t FileSource::readAt(std::uint64_t offset, void* destination, std::size_t count) {
    const int fd = static_cast<int>(handle_);
    auto* bytes = static_cast<std::uint8_t*>(destination);
    std::size_t taken = 0;
    while (taken < count) {
        const std::uint64_t at = offset + taken;
        if (at > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
            break;
        }
        const ssize_t got = pread(fd, bytes + taken, count - taken, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        taken += static_cast<std::size_t>(got);
    }
    return taken;
}
