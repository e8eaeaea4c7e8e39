#include "platform/WholeFile.h"

#include <algorithm>
#include <cstdio>

#include "platform/Platform.h"

namespace platform {

namespace {

constexpr size_t kChunk = 65536;
// The file's size is only a hint for the first read: a folder may report any
// size natively.
constexpr size_t kLargestHint = size_t(64) << 20;

size_t SizeHint(FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0)
        return 0;
    const long length = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return 0;
    return length > 0 ? std::min(size_t(length), kLargestHint) : 0;
}

template <class Bytes>
bool ReadInto(const std::string& path, Bytes& bytes, size_t limit) {
    bytes.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    // One read of the whole file where its size can be told (one byte more,
    // so that it ends at the end of the file): far faster than many small
    // reads of a large file.
    const size_t hint = SizeHint(file);
    size_t want = hint > 0 ? hint + 1 : kChunk;
    for (;;) {
        if (limit != SIZE_MAX)
            want = std::min(want, limit + 1 - bytes.size());
        const size_t old = bytes.size();
        bytes.resize(old + want);
        const size_t got = std::fread(&bytes[old], 1, want, file);
        bytes.resize(old + got);
        if (got < want || bytes.size() > limit)
            break;
        want = kChunk;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

// The reader stops one byte past the limit; that byte goes.
template <class Bytes>
bool ReadStart(const std::string& path, Bytes& bytes, size_t limit) {
    if (!ReadInto(path, bytes, limit))
        return false;
    if (bytes.size() > limit)
        bytes.resize(limit);
    return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, size_t limit) { return ReadInto(path, bytes, limit); }

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit) {
    return ReadInto(path, bytes, limit);
}

bool ReadFileStart(const std::string& path, std::string& bytes, size_t limit) { return ReadStart(path, bytes, limit); }

bool ReadFileStart(const std::string& path, std::vector<uint8_t>& bytes, size_t limit) {
    return ReadStart(path, bytes, limit);
}

bool WriteFileSafely(const std::string& path, const void* data, size_t size) {
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    written = std::fflush(file) == 0 && written;
    // Only bytes that have reached the disk may take the old file's place:
    // after a power loss the file is the old one or the new one, never empty.
    written = written && FlushToDisk(file);
    written = std::fclose(file) == 0 && written;
    if (!written || !ReplaceFile(temporary, path)) {
        RemoveFile(temporary);
        return false;
    }
    return true;
}

}  // namespace platform
