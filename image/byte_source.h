// Where BMP bytes come from: a file on disk or a buffer in memory, read at absolute offsets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Both sources answer short reads at the end of their data with the count actually read.
struct MemorySource {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    std::size_t readAt(std::uint64_t offset, void* destination, std::size_t count);
    std::uint64_t length() const { return size; }
};

class FileSource {
public:
    explicit FileSource(const char* path);
    ~FileSource();
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    std::size_t readAt(std::uint64_t offset, void* destination, std::size_t count);
    // The file's size as the system reports it now; 0 when it cannot tell (a pipe, say).
    std::uint64_t length() const;

private:
    std::FILE* file_ = nullptr;
    std::uint64_t position_ = 0; // lets consecutive reads skip the seek
};
