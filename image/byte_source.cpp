// Positioned reads over memory and over stdio files.
#include "image/byte_source.h"

#include <cstring>
#include <limits>

#include <sys/stat.h>
#include <sys/types.h>

std::size_t MemorySource::readAt(std::uint64_t offset, void* destination, std::size_t count) {
    if (offset >= size) {
        return 0;
    }
    const std::size_t available = size - static_cast<std::size_t>(offset);
    const std::size_t taken = count < available ? count : available;
    std::memcpy(destination, data + offset, taken);
    return taken;
}

FileSource::FileSource(const char* path) : file_(std::fopen(path, "rb")) {}

FileSource::~FileSource() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

std::uint64_t FileSource::length() const {
    struct stat status {};
    if (fstat(fileno(file_), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

std::size_t FileSource::readAt(std::uint64_t offset, void* destination, std::size_t count) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
        return 0;
    }
    if (offset != position_) {
        if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
            return 0;
        }
        position_ = offset;
    }
    const std::size_t taken = std::fread(destination, 1, count, file_);
    position_ += taken;
    if (taken < count) {
        // The stream's position after a short read is not worth trusting: seek next time.
        std::clearerr(file_);
        position_ = std::numeric_limits<std::uint64_t>::max();
    }
    return taken;
}
