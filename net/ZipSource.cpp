#include "net/ZipSource.h"

#include <cstring>

ZipSource::ZipSource(const std::string& path) {
    file_ = platform::OpenFileForReading(path);
    if (file_ == platform::kNoFile)
        return;
    const int64_t size = platform::GetFileLength(file_);
    if (size < 0) {
        platform::CloseFile(file_);
        file_ = platform::kNoFile;
        return;
    }
    size_ = static_cast<uint64_t>(size);
}

ZipSource::ZipSource(const void* data, uint64_t length)
    : data_(static_cast<const uint8_t*>(data)), size_(data ? length : 0) {}

ZipSource::~ZipSource() { platform::CloseFile(file_); }

uint32_t ZipSource::Read(uint64_t position, void* buffer, uint32_t count) {
    if (position >= size_ || count == 0)
        return 0;
    const uint64_t available = size_ - position;
    const uint32_t wanted = available < count ? static_cast<uint32_t>(available) : count;
    if (data_) {
        std::memcpy(buffer, data_ + position, wanted);
        return wanted;
    }
    uint32_t done = 0;
    if (!platform::SeekFile(file_, position) || !platform::ReadFromFile(file_, buffer, wanted, &done))
        return 0;
    return done;
}
