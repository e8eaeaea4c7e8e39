// Files, directories, attributes and file times for code that unpacks or writes
// files byte by byte (the zip reader). The Windows build uses the kernel32 file
// calls (FilesWin32.cpp), the native build POSIX descriptors (FilesPosix.cpp),
// so the same code is tested natively on real files.
//
// Times are FILETIME values as 64-bit numbers: 100-nanosecond steps since
// 1601-01-01 UTC. Attributes are the Win32 attribute bits; natively only
// read-only and directory carry meaning.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// An open file: the Win32 HANDLE in the Windows build, a descriptor natively.
// kNoFile matches INVALID_HANDLE_VALUE.
using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;

constexpr uint32_t kFileReadOnly = 0x01;
constexpr uint32_t kFileHidden = 0x02;
constexpr uint32_t kFileSystem = 0x04;
constexpr uint32_t kFileDirectory = 0x10;
constexpr uint32_t kFileArchive = 0x20;
constexpr uint32_t kFileNormal = 0x80;
// What GetPathAttributes gives for a path that does not exist.
constexpr uint32_t kNoAttributes = 0xFFFFFFFF;

// Seconds between 1601-01-01 and 1970-01-01, in FILETIME steps.
constexpr uint64_t kUnixEpochFileTime = 116444736000000000ull;

// An existing file, opened for reading and shared for reading; kNoFile on failure.
FileHandle OpenFileForReading(const std::string& path);
// A new file (an old one is replaced), opened for writing and not shared, with
// the given attribute bits; kNoFile on failure.
FileHandle CreateFileForWriting(const std::string& path, uint32_t attributes);
// Reads up to `count` bytes at the file position; `done` is how many arrived
// (0 at the end of the file). False on a read error.
bool ReadFromFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done);
// Writes all `count` bytes or fails.
bool WriteToFile(FileHandle file, const void* buffer, uint32_t count);
// Moves the file position to `position` bytes from the start.
bool SeekFile(FileHandle file, uint64_t position);
// The file's size in bytes, or -1 when it cannot be told.
int64_t GetFileLength(FileHandle file);
void CloseFile(FileHandle file);
// Sets the file's times; a time of 0 leaves that one as it is.
bool SetFileTimes(FileHandle file, uint64_t creation, uint64_t access, uint64_t modification);

// GetFileAttributesA: the attribute bits, or kNoAttributes when the path does not exist.
uint32_t GetPathAttributes(const std::string& path);
bool SetPathAttributes(const std::string& path, uint32_t attributes);
// GetCurrentDirectoryA; empty when it cannot be told.
std::string GetWorkingDirectory();

// A calendar time in the machine's local time zone as a UTC FILETIME
// (SystemTimeToFileTime then LocalFileTimeToFileTime); 0 when the fields do
// not make a valid time.
uint64_t LocalTimeToFileTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace platform
