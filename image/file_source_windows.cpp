// Positioned reads of regular files through the Windows API, with the POSIX reader's promises:
// only regular files, an open that never waits, offsets past 4 GiB.
#include <algorithm>
#include <cstdint>
#include <string>

#include <windows.h>

#include "image/byte_source.h"

namespace {

// Windows names files in UTF-16; the narrow API would read the path in the user's code page.
std::wstring widened(const char* path) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.data(), length);
    wide.pop_back(); // the terminating NUL, which length counts
    return wide;
}

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// ReadFile counts bytes in a DWORD: larger reads go in pieces.
constexpr std::size_t kLargestRead = std::size_t{1} << 30;

} // namespace

FileSource::FileSource(const char* path) {
    const std::wstring name = widened(path);
    if (name.empty()) {
        return;
    }
    // A folder cannot be opened without FILE_FLAG_BACKUP_SEMANTICS, so it fails here. Sharing
    // everything lets a picture editor go on writing or replacing the file meanwhile.
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    // A pipe or a device (NUL, CON, COM1) is no picture, and a read from a pipe could wait
    // for ever.
    BY_HANDLE_FILE_INFORMATION information{};
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        !GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    size_ = static_cast<std::uint64_t>(size.QuadPart);
}

FileSource::~FileSource() {
    if (isOpen()) {
        CloseHandle(asHandle(handle_));
    }
}

std::size_t FileSource::readAt(std::uint64_t offset, void* destination, std::size_t count) {
    auto* bytes = static_cast<std::uint8_t*>(destination);
    std::size_t taken = 0;
    while (taken < count) {
        const std::uint64_t at = offset + taken;
        if (at > static_cast<std::uint64_t>(INT64_MAX)) {
            break;
        }
        // On a handle opened for plain reads, the OVERLAPPED offset makes ReadFile a
        // positioned read that waits until done.
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        const auto piece = static_cast<DWORD>(std::min(count - taken, kLargestRead));
        DWORD got = 0;
        if (!ReadFile(asHandle(handle_), bytes + taken, piece, &got, &where) || got == 0) {
            break; // the end of the file (ERROR_HANDLE_EOF) or a failed read
        }
        taken += got;
    }
    return taken;
}
