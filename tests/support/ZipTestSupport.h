#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/ZipArchive.h"

// Helpers of the zip reader's tests: the archives made at build time, the
// tree of files they were made from, and scratch folders to extract into.

// A file of the fixtures folder (under Wine the Unix path, seen through drive Z:).
std::string FixturePath(const std::string& name);
// A file of the tree the archives were made from, by its entry name.
std::string TreeFile(const std::string& entryName);
// A fresh, empty folder for one test, ending without a slash.
std::string ScratchFolder(const std::string& name);

// The whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string* bytes);
bool PathIsDirectory(const std::string& path);
bool PathExists(const std::string& path);
// The file's modification time in Unix seconds, or -1.
int64_t ModificationSeconds(const std::string& path);
// A Unix time as a FILETIME.
uint64_t FileTimeOf(int64_t unixSeconds);

// The reader's last result (the codes it returns).
uint32_t LastResult();

// An archive opened from memory (whose bytes it keeps alive) or from its file.
class Archive {
public:
    static std::unique_ptr<Archive> Open(const std::string& fixture, bool fromFile = false,
                                         const char* password = nullptr);
    ~Archive();
    ZipHandle* handle = nullptr;
    uint32_t openResult = 0;

private:
    std::string bytes_;
};

// Extracts the entry into memory in pieces of `piece` bytes until the reader
// stops answering kZipMore. Returns the last answer; `bytes` gets what arrived
// and `more` how many kZipMore answers there were.
uint32_t ExtractToMemory(ZipHandle* zip, int32_t index, uint32_t piece, std::string* bytes, int* more = nullptr);
// The index of the entry with this stored name, or -1.
int32_t IndexOf(ZipHandle* zip, const std::string& name);
