// Where BMP bytes come from: a file on disk or a buffer in memory, read at absolute offsets.
#pragma once

#include <cstddef>
#include <cstdint>

// Both sources answer short reads at the end of their data with the count actually read.
struct MemorySource {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    std::size_t readAt(std::uint64_t offset, void* destination, std::size_t count);
    std::uint64_t length() const { return size; }
};

// Opens only regular files (after following symlinks), and never waits to do so: a FIFO or a
// pipe, a device or a directory named like a texture is not a picture, and opening a FIFO with
// no writer would block the program for good. The path is UTF-8. One implementation per
// platform: file_source_posix.cpp and file_source_windows.cpp.
class FileSource {
public:
    explicit FileSource(const char* path);
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const { return handle_ != kNoHandle; }
    std::size_t readAt(std::uint64_t offset, void* destination, std::size_t count);
    // The file's size when it was opened.
    std::uint64_t length() const { return size_; }

private:
    // A file descriptor, or a Windows HANDLE; both platforms mark "none" with -1.
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;
    std::uint64_t size_ = 0;
};
