// Reading zip archives: the self-update package arrives as one.
//
// A plain function interface over an opaque handle. Every call returns a
// result code (the kZip... values below) and also leaves it in one
// process-wide word, the last result, which ZipFormatMessage(kZipLastResult)
// turns into text. The reader reads single-disk archives whose entries are
// stored or deflated, optionally with the traditional zip encryption.
//
// Everything in an archive is treated as hostile: offsets and sizes are
// checked against the archive before they are used, an entry whose name would
// leave the destination folder or name a device is never written to a path,
// the data of every extracted entry must match its CRC-32, and one archive
// unpacks at most kZipUnpackLimit bytes in all.
//
// Typical use (the patcher):
//   ZipHandle* zip = ZipOpen(body, length, nullptr);
//   ZipEntry entry{};
//   ZipGetItem(zip, -1, &entry);              // entry.index = number of entries
//   for (int i = 0, n = entry.index; i < n; ++i)
//       if (ZipGetItem(zip, i, &entry) == kZipSuccess)
//           ZipUnzipItemToFile(zip, i, folder + entry.name);
//   ZipClose(zip);
#pragma once

#include <cstdint>
#include <string>

#include "platform/Files.h"

enum : uint32_t {
    kZipSuccess = 0x0,
    kZipDuplicateHandle = 0x100,
    kZipNoFile = 0x200,           // "Couldn't create/open file"
    kZipNoMemory = 0x300,
    kZipWriteError = 0x400,       // "Error writing to file"
    kZipNotFound = 0x500,         // "File not found in the zipfile"
    kZipMore = 0x600,             // "Still more data to unzip"
    kZipCorrupt = 0x700,          // "Zipfile is corrupt or not a zipfile"
    kZipReadError = 0x800,        // "Error reading file"
    kZipPassword = 0x1000,        // "Correct password required"
    kZipArguments = 0x10000,      // "Caller: faulty arguments"
    kZipNotMemory = 0x20000,
    kZipMemorySize = 0x30000,
    kZipPreviousError = 0x40000,
    kZipEnded = 0x50000,
    kZipMissize = 0x60000,
    kZipPartlyUnzipped = 0x70000,
    kZipMixed = 0x80000,          // "Caller: mixing creation and opening of zip"
    kZipNotInitialised = 0x1000000,
    kZipSeek = 0x2000000,
    kZipNoChange = 0x4000000,
    kZipFlate = 0x5000000,        // "Zip-bug: an internal error during flation"
};

// Given to ZipFormatMessage in place of a code: the last result.
constexpr uint32_t kZipLastResult = 1;

// Destination kinds of ZipUnzipItem.
enum : int { kZipToHandle = 1, kZipToFile = 2, kZipToMemory = 3 };

// The most bytes one archive may unpack in all, unless ZipSetUnpackLimit says
// otherwise: far above any real package, far below what fills a disk.
constexpr uint64_t kZipUnpackLimit = 512ull * 1024 * 1024;

// What the caller holds; kind is 1 for an archive opened for reading.
class ZipReader;
struct ZipHandle {
    uint32_t kind;
    ZipReader* reader;
};

// One entry of the archive. Times are UTC FILETIME values (see platform/Files.h).
struct ZipEntry {
    int32_t index = 0;
    // The stored name with drive letters, leading slashes and parent-folder
    // steps cleaned away; an unsafe name can still come out of that (see
    // ZipUnzipItemToFile), and is reported as it is.
    std::string name;
    uint32_t attributes = 0;  // platform::kFile... bits
    uint64_t accessTime = 0;
    uint64_t creationTime = 0;
    uint64_t modificationTime = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
};

// Opens the archive held in memory (kept alive by the caller until ZipClose)
// or in the named file. The password may be null. Null on failure, with the
// last result set.
ZipHandle* ZipOpen(const void* data, uint32_t length, const char* password);
ZipHandle* ZipOpenFile(const std::string& name, const char* password);

// Fills `entry` for the entry at `index`; index -1 gives only the number of
// entries, in entry->index.
uint32_t ZipGetItem(ZipHandle* handle, int32_t index, ZipEntry* entry);
// Finds the first entry whose stored name is `name` (ignoring the case of
// ASCII letters when asked): its index goes to *index (-1 when not found) and,
// when `entry` is not null, its information to *entry.
uint32_t ZipFindItem(ZipHandle* handle, const std::string& name, bool ignoreCase, int32_t* index,
                     ZipEntry* entry);

// Extracts the entry at `index`: kind kZipToHandle writes to an open file
// (`destination` points to a platform::FileHandle), kZipToFile to the path
// (`destination` points to a std::string), kZipToMemory into the buffer of
// `length` bytes. The typed functions below are easier to call.
uint32_t ZipUnzipItem(ZipHandle* handle, int32_t index, void* destination, uint32_t length, int kind);
// Writes the entry's data to the caller's file; the handle stays open.
uint32_t ZipUnzipItemToHandle(ZipHandle* handle, int32_t index, platform::FileHandle file);
// Writes the entry to the path (relative paths lie under the base directory),
// creating the folders on the way; a folder entry creates only folders. The
// file gets the entry's attributes and times. An entry whose cleaned name is
// unsafe (a ".." step, a ':', a leading slash, an empty name or a device name
// such as "CON" or "nul.txt") is refused with kZipNoFile whatever the path.
// A failed extraction leaves no file behind.
uint32_t ZipUnzipItemToFile(ZipHandle* handle, int32_t index, const std::string& path);
// Extracts into memory piece by piece: kZipMore while data remains (call again
// with the same index for the next piece), kZipSuccess with the last piece.
uint32_t ZipUnzipItemToMemory(ZipHandle* handle, int32_t index, void* buffer, uint32_t length);

// The folder that relative destination paths lie under; at first the working
// directory. A '/' is added unless the text ends with a slash.
uint32_t ZipSetBaseDir(ZipHandle* handle, const std::string& directory);
// Changes how many bytes this archive may unpack in all (kZipUnpackLimit at first).
uint32_t ZipSetUnpackLimit(ZipHandle* handle, uint64_t bytes);

// Copies the text for `code` (kZipLastResult: for the last result) into the
// buffer, cut to length - 1 bytes and zero-terminated, unless the buffer is
// null or the length 0. Returns the text's full length.
uint32_t ZipFormatMessage(uint32_t code, char* buffer, uint32_t length);

// Closes the archive and frees the handle. Returns kZipSuccess.
uint32_t ZipClose(ZipHandle* handle);
