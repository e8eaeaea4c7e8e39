#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "net/ZipArchive.h"
#include "net/ZipSource.h"

// The state of one open archive behind a ZipHandle: the source, what the end
// record says, the central header of the current entry, the cached entry and
// the entry open for reading. The ZipArchive functions check the handle and
// keep the last result; everything about the format lives here.
class ZipReader {
public:
    explicit ZipReader(const char* password);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Takes the source and reads the end record and the first central header.
    uint32_t Open(std::unique_ptr<ZipSource> source);

    int32_t Count() const { return count_; }
    uint32_t GetItem(int32_t index, ZipEntry* entry);
    uint32_t FindItem(const std::string& name, bool ignoreCase, int32_t* index, ZipEntry* entry);
    // Exactly one of `file` and `path` is given.
    uint32_t Unzip(int32_t index, platform::FileHandle file, const std::string* path);
    uint32_t UnzipToMemory(int32_t index, void* buffer, uint32_t length);
    void SetBaseDir(const std::string& directory);
    void SetUnpackLimit(uint64_t bytes) { unpackLimit_ = bytes; }

    // True when an entry of this (cleaned) name may be written to a path.
    static bool IsSafeName(const std::string& name);
    // The stored name with drive letters, leading slashes and the parts up to
    // a parent-folder step removed.
    static std::string CleanName(const std::string& name);

private:
    struct CentralHeader {
        uint16_t versionMadeBy = 0;
        uint16_t flags = 0;
        uint16_t method = 0;
        uint32_t dosTime = 0;  // time in the low 16 bits, date in the high
        uint32_t crc = 0;
        uint32_t compressedSize = 0;
        uint32_t uncompressedSize = 0;
        uint16_t extraLength = 0;
        uint16_t commentLength = 0;
        uint32_t externalAttributes = 0;
        uint32_t localOffset = 0;
        std::string name;
    };

    // Where a checked local header says the entry's parts are.
    struct LocalParts {
        uint64_t extraPosition = 0;
        uint16_t extraLength = 0;
        uint64_t dataPosition = 0;
    };

    // The entry open for reading.
    struct Stream {
        std::vector<uint8_t> input;
        uint32_t inputPos = 0;
        uint32_t inputEnd = 0;
        z_stream inflater{};
        bool inflating = false;
        bool inflateEnded = false;
        uint64_t readPosition = 0;  // the next compressed byte in the source
        uint64_t compressedLeft = 0;
        uint64_t uncompressedLeft = 0;
        uint32_t crc = 0;
        uint32_t storedCrc = 0;
        uint16_t method = 0;
        bool encrypted = false;
        uint32_t keys[3] = {0, 0, 0};
        int headerLeft = 0;
        uint8_t checkByte = 0;
    };

    // Read failures of an open entry.
    enum ReadError : int { kReadFailed = -1, kReadPassword = -2, kReadInflate = -3 };

    bool GoToEntry(int32_t index);
    bool ReadCentralHeader();
    bool CheckLocalHeader(LocalParts* parts);
    uint32_t ProduceEntry(int32_t index, ZipEntry* entry);
    void FillEntry(const std::vector<uint8_t>& extra, ZipEntry* entry) const;

    uint32_t OpenEntry();
    // Delivers up to `count` bytes of the open entry's data; a negative
    // ReadError on failure. `end` tells that the entry's data is complete.
    int64_t ReadEntry(uint8_t* buffer, uint32_t count, bool* end);
    bool FillInput();
    // Ends the open entry; true when all its data came out and matched its CRC-32.
    bool CloseEntry();
    void CloseStreaming();

    uint32_t WriteEntry(platform::FileHandle file);
    void EnsureBase() const;
    void MakeDirectories(const std::string& base, const std::string& path) const;

    std::unique_ptr<ZipSource> source_;
    std::string password_;
    bool hasPassword_ = false;
    std::string baseDir_;
    uint64_t unpackLimit_ = kZipUnpackLimit;
    uint64_t unpacked_ = 0;

    int32_t count_ = 0;
    uint64_t centralStart_ = 0;
    uint64_t centralEnd_ = 0;
    uint64_t bytesBefore_ = 0;

    int32_t current_ = 0;
    uint64_t centralPosition_ = 0;
    bool currentOk_ = false;
    CentralHeader header_;

    ZipEntry cached_;
    int32_t cachedIndex_ = -1;
    int32_t streamingIndex_ = -1;
    std::unique_ptr<Stream> stream_;
    std::vector<uint8_t> output_;
};
