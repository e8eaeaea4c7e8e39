// Reading a whole file and writing one safely: the two ways the program loads
// and stores its own files (options, login-server file, graphics file, items
// cache, minimap files).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Reads the whole file into bytes (replacing what they held). False when it
// cannot be opened or a read fails (a folder opens on some systems but cannot
// be read). Reading stops once more than `limit` bytes have arrived, so a
// caller that refuses files above a size never reads a huge one whole.
bool ReadWholeFile(const std::string& path, std::string& bytes, size_t limit = SIZE_MAX);
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit = SIZE_MAX);

// The first `limit` bytes of the file, or all of a shorter one: for formats
// that can put no more to use, so that a huge file costs no more than the
// largest sound one. False as for ReadWholeFile.
bool ReadFileStart(const std::string& path, std::string& bytes, size_t limit);
bool ReadFileStart(const std::string& path, std::vector<uint8_t>& bytes, size_t limit);

// Writes the bytes to path + ".tmp", flushes it to the disk and closes it,
// and only then swaps it in for the file (ReplaceFile): a crash, a power loss
// or a full disk in the middle never costs the old file. On any failure the
// temporary file is removed, the old file stays as it was and the result is
// false.
bool WriteFileSafely(const std::string& path, const void* data, size_t size);
inline bool WriteFileSafely(const std::string& path, const std::string& bytes) {
    return WriteFileSafely(path, bytes.data(), bytes.size());
}
inline bool WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteFileSafely(path, bytes.data(), bytes.size());
}

}  // namespace platform
