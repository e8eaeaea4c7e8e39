#include "net/ZipReader.h"

#include <algorithm>
#include <cstring>

#include "platform/LittleEndian.h"
#include "platform/Platform.h"

namespace {

constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint8_t kEndSignature[4] = {0x50, 0x4B, 0x05, 0x06};
constexpr uint32_t kEndRecordSize = 22;
constexpr uint32_t kCentralHeaderSize = 46;
constexpr uint32_t kLocalHeaderSize = 30;
// The end record sits before a comment of at most 65535 bytes.
constexpr uint32_t kEndSearchLimit = 0xFFFF + kEndRecordSize;
constexpr uint32_t kChunk = 16384;
constexpr int kEncryptionHeader = 12;
constexpr uint16_t kExtendedTimestampId = 0x5455;  // "UT"
// Destination paths longer than this are refused before any folder is made:
// no system takes them, and a crafted name of thousands of folder levels
// would otherwise cost a call per level.
constexpr size_t kMaxPathLength = 4096;

using platform::ReadU16;
using platform::ReadU32;

bool IsSlash(char c) { return c == '/' || c == '\\'; }

// The traditional zip encryption: three keys stirred with every plain byte.
uint32_t CrcStep(uint32_t crc, uint8_t byte) {
    static const z_crc_t* table = get_crc_table();
    return static_cast<uint32_t>(table[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}

void UpdateKeys(uint32_t keys[3], uint8_t plain) {
    keys[0] = CrcStep(keys[0], plain);
    keys[1] = (keys[1] + (keys[0] & 0xFF)) * 134775813u + 1;
    keys[2] = CrcStep(keys[2], static_cast<uint8_t>(keys[1] >> 24));
}

uint8_t Decrypt(uint32_t keys[3], uint8_t cipher) {
    const uint32_t temp = (keys[2] & 0xFFFF) | 2;
    const uint8_t plain = cipher ^ static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
    UpdateKeys(keys, plain);
    return plain;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b, bool ignoreCase) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ignoreCase ? LowerAscii(a[i]) != LowerAscii(b[i]) : a[i] != b[i])
            return false;
    return true;
}

// Windows opens a device instead of a file for these names, whatever the
// folder and the extension ("nul.txt" is NUL).
bool IsDeviceName(const std::string& component) {
    std::string stem = component.substr(0, component.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    for (char& c : stem)
        c = LowerAscii(c);
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul" || stem == "conin$" ||
        stem == "conout$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

// "..", and what Windows reads as ".." because it drops trailing dots and blanks.
bool IsParentStep(const std::string& component) {
    return component.size() >= 2 && component.find_first_not_of(". ") == std::string::npos &&
           std::count(component.begin(), component.end(), '.') >= 2;
}

}  // namespace

ZipReader::ZipReader(const char* password) {
    if (password) {
        password_ = password;
        hasPassword_ = true;
    }
    SetBaseDir(platform::GetWorkingDirectory());
}

ZipReader::~ZipReader() { CloseEntry(); }

void ZipReader::SetBaseDir(const std::string& directory) {
    baseDir_ = directory.empty() ? std::string(".") : directory;
    if (!IsSlash(baseDir_.back()))
        baseDir_ += '/';
}

// ---------------------------------------------------------------------------
// The end record and the central directory

uint32_t ZipReader::Open(std::unique_ptr<ZipSource> source) {
    source_ = std::move(source);
    const uint64_t size = source_->Size();
    if (size < kEndRecordSize)
        return kZipNoFile;

    // Search backwards for the end record; a signature with fewer than 22
    // bytes behind it is a stray in the comment or the data, not the record.
    const uint32_t window = static_cast<uint32_t>(std::min<uint64_t>(size, kEndSearchLimit));
    const uint64_t windowStart = size - window;
    std::vector<uint8_t> tail(window);
    if (!source_->ReadAll(windowStart, tail.data(), window))
        return kZipNoFile;
    int64_t found = -1;
    for (int64_t at = static_cast<int64_t>(window) - kEndRecordSize; at >= 0; --at) {
        if (std::memcmp(&tail[static_cast<size_t>(at)], kEndSignature, 4) == 0) {
            found = at;
            break;
        }
    }
    if (found < 0)
        return kZipNoFile;
    const uint8_t* record = &tail[static_cast<size_t>(found)];
    const uint64_t recordPosition = windowStart + static_cast<uint64_t>(found);
    const uint16_t disk = ReadU16(record + 4);
    const uint16_t centralDisk = ReadU16(record + 6);
    const uint16_t entriesHere = ReadU16(record + 8);
    const uint16_t entriesTotal = ReadU16(record + 10);
    const uint64_t centralSize = ReadU32(record + 12);
    const uint64_t centralOffset = ReadU32(record + 16);
    if (entriesHere != entriesTotal || disk != 0 || centralDisk != 0)
        return kZipNoFile;
    if (recordPosition < centralOffset + centralSize)
        return kZipNoFile;

    // Bytes in front of the archive (a self-extractor stub) shift every offset.
    bytesBefore_ = recordPosition - (centralOffset + centralSize);
    count_ = entriesTotal;
    centralStart_ = centralOffset + bytesBefore_;
    centralEnd_ = recordPosition;

    current_ = 0;
    centralPosition_ = centralStart_;
    currentOk_ = count_ > 0 && ReadCentralHeader();
    // Nothing at all can be read from an archive whose first header is broken.
    if (count_ > 0 && !currentOk_)
        return kZipNoFile;
    return kZipSuccess;
}

// Reads the central header at centralPosition_. It and its name, extra field
// and comment must lie inside the central directory.
bool ZipReader::ReadCentralHeader() {
    uint8_t raw[kCentralHeaderSize];
    if (centralPosition_ + kCentralHeaderSize > centralEnd_ ||
        !source_->ReadAll(centralPosition_, raw, kCentralHeaderSize) || ReadU32(raw) != kCentralSignature)
        return false;
    CentralHeader header;
    header.versionMadeBy = ReadU16(raw + 4);
    header.flags = ReadU16(raw + 8);
    header.method = ReadU16(raw + 10);
    header.dosTime = ReadU32(raw + 12);
    header.crc = ReadU32(raw + 16);
    header.compressedSize = ReadU32(raw + 20);
    header.uncompressedSize = ReadU32(raw + 24);
    const uint16_t nameLength = ReadU16(raw + 28);
    header.extraLength = ReadU16(raw + 30);
    header.commentLength = ReadU16(raw + 32);
    header.externalAttributes = ReadU32(raw + 38);
    header.localOffset = ReadU32(raw + 42);
    const uint64_t total =
        uint64_t{kCentralHeaderSize} + nameLength + header.extraLength + header.commentLength;
    if (centralPosition_ + total > centralEnd_)
        return false;
    header.name.resize(nameLength);
    if (nameLength && !source_->ReadAll(centralPosition_ + kCentralHeaderSize, &header.name[0], nameLength))
        return false;
    header_ = std::move(header);
    return true;
}

// Steps through the central directory to the entry. A directory that ends
// before the end record's count is reached stops the walk.
bool ZipReader::GoToEntry(int32_t index) {
    if (index < 0 || index >= count_)
        return false;
    if (index < current_) {
        current_ = 0;
        centralPosition_ = centralStart_;
        currentOk_ = ReadCentralHeader();
    }
    while (currentOk_ && current_ < index) {
        centralPosition_ += uint64_t{kCentralHeaderSize} + header_.name.size() + header_.extraLength +
                            header_.commentLength;
        ++current_;
        currentOk_ = ReadCentralHeader();
    }
    return currentOk_ && current_ == index;
}

// The local header must agree with the central one about the method, the
// name's length and (unless they follow the data) the CRC-32 and sizes.
bool ZipReader::CheckLocalHeader(LocalParts* parts) {
    const uint64_t local = uint64_t{header_.localOffset} + bytesBefore_;
    uint8_t raw[kLocalHeaderSize];
    if (!source_->ReadAll(local, raw, kLocalHeaderSize) || ReadU32(raw) != kLocalSignature)
        return false;
    const uint16_t flags = ReadU16(raw + 6);
    const uint16_t method = ReadU16(raw + 8);
    if (method != header_.method || (method != 0 && method != 8))
        return false;
    if (!(flags & 8) && (ReadU32(raw + 14) != header_.crc || ReadU32(raw + 18) != header_.compressedSize ||
                         ReadU32(raw + 22) != header_.uncompressedSize))
        return false;
    if (ReadU16(raw + 26) != header_.name.size())
        return false;
    parts->extraPosition = local + kLocalHeaderSize + header_.name.size();
    parts->extraLength = ReadU16(raw + 28);
    parts->dataPosition = parts->extraPosition + parts->extraLength;
    return true;
}

// ---------------------------------------------------------------------------
// Entry information

// The rules apply again and again until none does, each cutting the front of
// the name. Only a start position moves, and each parent-step pattern's next
// occurrence is remembered until the start passes it, so that a crafted name
// of thousands of steps costs one pass, not one pass per step.
std::string ZipReader::CleanName(const std::string& name) {
    static const char* const kParentSteps[] = {"\\..\\", "\\../", "/../", "/..\\"};
    constexpr size_t kUnknown = std::string::npos - 1;
    size_t next[4] = {kUnknown, kUnknown, kUnknown, kUnknown};
    size_t start = 0;
    for (;;) {
        if (name.size() - start >= 2 && name[start + 1] == ':') {
            start += 2;  // a drive letter
            continue;
        }
        if (start < name.size() && IsSlash(name[start])) {
            ++start;
            continue;
        }
        bool cut = false;
        for (int i = 0; i < 4; ++i) {
            if (next[i] == kUnknown || (next[i] != std::string::npos && next[i] < start))
                next[i] = name.find(kParentSteps[i], start);
            if (next[i] != std::string::npos) {
                start = next[i] + 4;
                cut = true;
                break;
            }
        }
        if (!cut)
            return name.substr(start);
    }
}

bool ZipReader::IsSafeName(const std::string& name) {
    if (name.empty() || IsSlash(name[0]) || name.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = name.size();
        const std::string component = name.substr(start, end - start);
        if (IsParentStep(component) || IsDeviceName(component))
            return false;
        start = end + 1;
    }
    return true;
}

uint32_t ZipReader::GetItem(int32_t index, ZipEntry* entry) {
    CloseStreaming();
    if (index == -1) {
        *entry = ZipEntry();
        entry->index = count_;
        return kZipSuccess;
    }
    if (index < -1 || index >= count_)
        return kZipArguments;
    return ProduceEntry(index, entry);
}

uint32_t ZipReader::ProduceEntry(int32_t index, ZipEntry* entry) {
    if (index == cachedIndex_) {
        *entry = cached_;
        return kZipSuccess;
    }
    LocalParts parts;
    if (!GoToEntry(index) || !CheckLocalHeader(&parts))
        return kZipCorrupt;
    std::vector<uint8_t> extra(parts.extraLength);
    if (parts.extraLength && !source_->ReadAll(parts.extraPosition, extra.data(), parts.extraLength))
        return kZipReadError;

    ZipEntry made;
    made.index = index;
    FillEntry(extra, &made);
    cached_ = made;
    cachedIndex_ = index;
    *entry = std::move(made);
    return kZipSuccess;
}

void ZipReader::FillEntry(const std::vector<uint8_t>& extra, ZipEntry* entry) const {
    entry->name = CleanName(header_.name);

    // Attributes: archives made on DOS, NTFS, VFAT or a Macintosh carry DOS
    // bits; the others (Unix) a mode whose owner-write bit says writable.
    const uint32_t a = header_.externalAttributes;
    const unsigned host = header_.versionMadeBy >> 8;
    bool directory, readOnly, archive, hidden, system;
    if (header_.versionMadeBy < 256 || host == 7 || host == 11 || host == 14) {
        readOnly = a & 0x01;
        hidden = a & 0x02;
        system = a & 0x04;
        directory = a & 0x10;
        archive = a & 0x20;
    } else {
        directory = a & 0x40000000u;
        readOnly = !(a & 0x00800000u);
        archive = true;
        hidden = system = false;
    }
    entry->attributes = (directory ? platform::kFileDirectory : 0) | (archive ? platform::kFileArchive : 0) |
                        (hidden ? platform::kFileHidden : 0) | (readOnly ? platform::kFileReadOnly : 0) |
                        (system ? platform::kFileSystem : 0);
    entry->compressedSize = header_.compressedSize;
    entry->uncompressedSize = header_.uncompressedSize;

    // The DOS time is local time.
    const uint32_t date = header_.dosTime >> 16;
    const uint32_t time = header_.dosTime & 0xFFFF;
    const uint64_t dosTime = platform::LocalTimeToFileTime(
        1980 + static_cast<int>(date >> 9), static_cast<int>((date >> 5) & 0x0F), static_cast<int>(date & 0x1F),
        static_cast<int>(time >> 11), static_cast<int>((time >> 5) & 0x3F), static_cast<int>(time & 0x1F) * 2);
    entry->accessTime = entry->creationTime = entry->modificationTime = dosTime;

    // The extended timestamp ("UT") holds Unix times, each read only when it
    // lies inside both its block and the field.
    if (extra.size() <= 4)
        return;
    size_t offset = 0;
    while (offset + 4 <= extra.size()) {
        const uint16_t id = ReadU16(&extra[offset]);
        const size_t size = ReadU16(&extra[offset + 2]);
        const size_t blockEnd = std::min(offset + 4 + size, extra.size());
        if (id == kExtendedTimestampId) {
            size_t at = offset + 4;
            if (at >= blockEnd)
                return;
            const uint8_t flags = extra[at++];
            uint64_t* const times[3] = {&entry->modificationTime, &entry->accessTime, &entry->creationTime};
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1 << bit)))
                    continue;
                if (at + 4 > blockEnd)
                    return;
                *times[bit] = uint64_t{ReadU32(&extra[at])} * 10000000ull + platform::kUnixEpochFileTime;
                at += 4;
            }
            return;
        }
        offset += 4 + size;
    }
}

uint32_t ZipReader::FindItem(const std::string& name, bool ignoreCase, int32_t* index, ZipEntry* entry) {
    CloseStreaming();
    const int32_t was = current_;
    *index = -1;
    if (name.size() <= 255) {
        for (int32_t i = 0; i < count_ && GoToEntry(i); ++i) {
            if (SameName(header_.name, name, ignoreCase)) {
                *index = i;
                break;
            }
        }
    }
    if (*index < 0) {
        GoToEntry(was);
        if (entry) {
            *entry = ZipEntry();
            entry->index = -1;
        }
        return kZipNotFound;
    }
    if (!entry)
        return kZipSuccess;
    return ProduceEntry(*index, entry);
}

// ---------------------------------------------------------------------------
// Reading an entry's data

// Opens the current entry for reading. Its data must lie inside the archive
// and its size inside what the archive may still unpack.
uint32_t ZipReader::OpenEntry() {
    CloseEntry();
    LocalParts parts;
    if (!CheckLocalHeader(&parts))
        return kZipCorrupt;
    const bool encrypted = header_.flags & 1;
    if (parts.dataPosition + header_.compressedSize > source_->Size() ||
        (encrypted && header_.compressedSize < kEncryptionHeader))
        return kZipCorrupt;
    if (unpacked_ > unpackLimit_ || header_.uncompressedSize > unpackLimit_ - unpacked_)
        return kZipCorrupt;

    auto stream = std::make_unique<Stream>();
    if (header_.method == 8) {
        if (inflateInit2(&stream->inflater, -MAX_WBITS) != Z_OK)
            return kZipFlate;
        stream->inflating = true;
    }
    stream->input.resize(kChunk);
    stream->readPosition = parts.dataPosition;
    stream->compressedLeft = header_.compressedSize;
    stream->uncompressedLeft = header_.uncompressedSize;
    stream->storedCrc = header_.crc;
    stream->method = header_.method;
    if (encrypted) {
        stream->encrypted = true;
        stream->headerLeft = kEncryptionHeader;
        // With the CRC written after the data, the check byte is the time's high byte.
        stream->checkByte = static_cast<uint8_t>((header_.flags & 8) ? (header_.dosTime >> 8) : (header_.crc >> 24));
        stream->keys[0] = 0x12345678;
        stream->keys[1] = 0x23456789;
        stream->keys[2] = 0x34567890;
        for (char c : password_)
            UpdateKeys(stream->keys, static_cast<uint8_t>(c));
    }
    stream_ = std::move(stream);
    return kZipSuccess;
}

// Reads the next chunk of compressed bytes into the empty input buffer.
bool ZipReader::FillInput() {
    Stream& s = *stream_;
    const uint32_t want = static_cast<uint32_t>(std::min<uint64_t>(kChunk, s.compressedLeft));
    if (want == 0 || !source_->ReadAll(s.readPosition, s.input.data(), want))
        return false;
    if (s.encrypted)
        for (uint32_t i = 0; i < want; ++i)
            s.input[i] = Decrypt(s.keys, s.input[i]);
    s.readPosition += want;
    s.compressedLeft -= want;
    s.inputPos = 0;
    s.inputEnd = want;
    return true;
}

int64_t ZipReader::ReadEntry(uint8_t* buffer, uint32_t count, bool* end) {
    *end = false;
    if (!stream_)
        return kReadFailed;
    Stream& s = *stream_;

    // The encryption header comes first, even for an empty entry, so that a
    // wrong password is always told.
    while (s.headerLeft > 0) {
        if (s.inputPos == s.inputEnd && !FillInput())
            return kReadFailed;
        const uint8_t byte = s.input[s.inputPos++];
        if (--s.headerLeft == 0 && byte != s.checkByte)
            return kReadPassword;
    }

    const uint32_t wanted = static_cast<uint32_t>(std::min<uint64_t>(count, s.uncompressedLeft));
    uint32_t delivered = 0;
    while (delivered < wanted && !s.inflateEnded) {
        if (s.inputPos == s.inputEnd && s.compressedLeft > 0 && !FillInput())
            return kReadFailed;
        const uint32_t available = s.inputEnd - s.inputPos;
        uint32_t produced = 0;
        if (s.method == 0) {
            if (available == 0)
                return kReadFailed;  // the data ends before its size
            produced = std::min(available, wanted - delivered);
            std::memcpy(buffer + delivered, &s.input[s.inputPos], produced);
            s.inputPos += produced;
        } else {
            s.inflater.next_in = &s.input[s.inputPos];
            s.inflater.avail_in = available;
            s.inflater.next_out = buffer + delivered;
            s.inflater.avail_out = wanted - delivered;
            const int result = inflate(&s.inflater, Z_SYNC_FLUSH);
            produced = (wanted - delivered) - s.inflater.avail_out;
            const uint32_t consumed = available - s.inflater.avail_in;
            s.inputPos += consumed;
            if (result == Z_STREAM_END)
                s.inflateEnded = true;
            else if (result != Z_OK && result != Z_BUF_ERROR)
                return kReadInflate;
            else if (produced == 0 && consumed == 0)
                return kReadFailed;  // the compressed data ends inside the stream
        }
        s.crc = static_cast<uint32_t>(crc32(s.crc, buffer + delivered, produced));
        delivered += produced;
        s.uncompressedLeft -= produced;
        unpacked_ += produced;
    }
    *end = s.uncompressedLeft == 0 || s.inflateEnded;
    return delivered;
}

bool ZipReader::CloseEntry() {
    if (!stream_)
        return false;
    const bool whole = stream_->uncompressedLeft == 0 && stream_->headerLeft == 0 &&
                       stream_->crc == stream_->storedCrc;
    if (stream_->inflating)
        inflateEnd(&stream_->inflater);
    stream_.reset();
    return whole;
}

void ZipReader::CloseStreaming() {
    if (streamingIndex_ != -1) {
        CloseEntry();
        streamingIndex_ = -1;
    }
}

// ---------------------------------------------------------------------------
// Extraction

uint32_t ZipReader::UnzipToMemory(int32_t index, void* buffer, uint32_t length) {
    if (!buffer || length == 0)
        return kZipArguments;
    if (streamingIndex_ != index || !stream_) {
        CloseStreaming();
        CloseEntry();
        if (index < 0 || index >= count_)
            return kZipArguments;
        if (!GoToEntry(index))
            return kZipCorrupt;
        const uint32_t opened = OpenEntry();
        if (opened != kZipSuccess)
            return opened;
        streamingIndex_ = index;
    }
    bool end = false;
    const int64_t got = ReadEntry(static_cast<uint8_t*>(buffer), length, &end);
    if (got > 0) {
        if (!end)
            return kZipMore;
        // The last chunk: the entry stays open, so a further call reads
        // nothing and closes it, rather than starting over.
        const Stream& s = *stream_;
        const bool whole = s.uncompressedLeft == 0 && s.headerLeft == 0 && s.crc == s.storedCrc;
        return whole ? kZipSuccess : kZipCorrupt;
    }
    // Nothing read or a failure: the entry is done with; the next call starts over.
    const bool whole = CloseEntry();
    streamingIndex_ = -1;
    if (got == kReadPassword)
        return kZipPassword;
    if (got < 0 || !end)
        return kZipFlate;
    return whole ? kZipSuccess : kZipCorrupt;
}

uint32_t ZipReader::Unzip(int32_t index, platform::FileHandle file, const std::string* path) {
    CloseStreaming();
    CloseEntry();
    if (index < 0 || index >= count_)
        return kZipArguments;
    ZipEntry entry;
    const uint32_t produced = ProduceEntry(index, &entry);
    if (produced != kZipSuccess)
        return produced;
    // A cached entry leaves the central directory where it was.
    if (!GoToEntry(index))
        return kZipCorrupt;
    if (path && (!IsSafeName(entry.name) || path->size() > kMaxPathLength))
        return kZipNoFile;

    const bool absolute =
        path && ((!path->empty() && IsSlash((*path)[0])) || (path->size() > 1 && (*path)[1] == ':'));
    if (entry.attributes & platform::kFileDirectory) {
        if (!path)
            return kZipSuccess;
        if (absolute) {
            MakeDirectories(std::string(), *path);
        } else {
            EnsureBase();
            if (!path->empty())
                MakeDirectories(baseDir_, *path);
        }
        return kZipSuccess;
    }

    const uint32_t opened = OpenEntry();
    if (opened != kZipSuccess)
        return opened;
    if (!path)
        return WriteEntry(file);

    const size_t slash = path->find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string() : path->substr(0, slash + 1);
    const std::string fileName = path->substr(folder.size());
    const bool folderAbsolute = !folder.empty() && (IsSlash(folder[0]) || (folder.size() > 1 && folder[1] == ':'));
    std::string fullName;
    if (folderAbsolute) {
        fullName = folder + fileName;
        MakeDirectories(std::string(), folder);
    } else {
        fullName = baseDir_ + folder + fileName;
        EnsureBase();
        if (!folder.empty())
            MakeDirectories(baseDir_, folder);
    }
    const uint32_t fileAttributes = entry.attributes & ~platform::kFileDirectory;
    const platform::FileHandle created = platform::CreateFileForWriting(fullName, fileAttributes);
    if (created == platform::kNoFile) {
        CloseEntry();
        return kZipNoFile;
    }
    const uint32_t written = WriteEntry(created);
    if (written == kZipSuccess)
        platform::SetFileTimes(created, entry.creationTime, entry.accessTime, entry.modificationTime);
    platform::CloseFile(created);
    if (written != kZipSuccess) {
        // A part of a file, or one whose bytes do not match the archive, must
        // not be taken for the real thing.
        platform::SetPathAttributes(fullName, platform::kFileNormal);
        platform::RemoveFile(fullName);
    }
    return written;
}

// Copies the open entry's data to the file and closes the entry.
uint32_t ZipReader::WriteEntry(platform::FileHandle file) {
    output_.resize(kChunk);
    for (;;) {
        bool end = false;
        const int64_t got = ReadEntry(output_.data(), kChunk, &end);
        if (got < 0 || (got == 0 && !end)) {
            CloseEntry();
            return got == kReadPassword ? kZipPassword : kZipFlate;
        }
        if (got > 0 && !platform::WriteToFile(file, output_.data(), static_cast<uint32_t>(got))) {
            CloseEntry();
            return kZipWriteError;
        }
        if (end)
            break;
    }
    return CloseEntry() ? kZipSuccess : kZipCorrupt;
}

// The base directory itself, without its trailing slash.
void ZipReader::EnsureBase() const {
    const std::string base = baseDir_.substr(0, baseDir_.size() - 1);
    if (!base.empty() && !platform::FileExists(base))
        platform::MakeDirectory(base);
}

// Makes base + path and every folder on the way below the base. Failures
// show later, when the file cannot be created.
void ZipReader::MakeDirectories(const std::string& base, const std::string& path) const {
    for (size_t at = 1; at < path.size(); ++at) {
        if (!IsSlash(path[at]) || IsSlash(path[at - 1]))
            continue;
        const std::string folder = base + path.substr(0, at);
        if (!platform::FileExists(folder))
            platform::MakeDirectory(folder);
    }
    const std::string full = base + path;
    if (!platform::FileExists(full))
        platform::MakeDirectory(full);
}
