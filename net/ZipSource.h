#pragma once

#include <cstdint>
#include <string>

#include "platform/Files.h"

// Where an archive's bytes come from: a file the reader opened itself, or a
// block of memory that the caller keeps alive until the archive is closed.
//
// Reads are positional and clamped to the source: a position or a length
// taken from a broken archive can ask for anything, and the answer is then a
// short read, never a read outside the block.
class ZipSource {
public:
    // A file opened by name; IsOpen() tells whether that worked.
    explicit ZipSource(const std::string& path);
    ZipSource(const void* data, uint64_t length);
    ~ZipSource();
    ZipSource(const ZipSource&) = delete;
    ZipSource& operator=(const ZipSource&) = delete;

    bool IsOpen() const { return file_ != platform::kNoFile || data_ != nullptr; }
    uint64_t Size() const { return size_; }
    // Copies up to `count` bytes from `position` and returns how many arrived;
    // fewer than asked means the source ended or could not be read.
    uint32_t Read(uint64_t position, void* buffer, uint32_t count);
    // Reads exactly `count` bytes or fails.
    bool ReadAll(uint64_t position, void* buffer, uint32_t count) {
        return Read(position, buffer, count) == count;
    }

private:
    platform::FileHandle file_ = platform::kNoFile;
    const uint8_t* data_ = nullptr;
    uint64_t size_ = 0;
};
