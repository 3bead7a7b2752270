// Positioned reads over memory; files are read by file_source_posix.cpp or
// file_source_windows.cpp.
#include "image/byte_source.h"

#include <cstring>

std::size_t MemorySource::readAt(std::uint64_t offset, void* destination, std::size_t count) {
    if (offset >= size) {
        return 0;
    }
    const std::size_t available = size - static_cast<std::size_t>(offset);
    const std::size_t taken = count < available ? count : available;
    std::memcpy(destination, data + offset, taken);
    return taken;
}
