// POSIX implementation of the file services, for the native build.
#include "platform/Files.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

int Descriptor(FileHandle file) { return static_cast<int>(file); }

timespec ToTimespec(uint64_t fileTime) {
    timespec out{};
    if (fileTime == 0) {
        out.tv_nsec = UTIME_OMIT;
        return out;
    }
    // Times before 1970 cannot come from a zip archive; they become 1970.
    const uint64_t since1970 = fileTime > kUnixEpochFileTime ? fileTime - kUnixEpochFileTime : 0;
    out.tv_sec = static_cast<time_t>(since1970 / 10000000ull);
    out.tv_nsec = static_cast<long>(since1970 % 10000000ull) * 100;
    return out;
}

}  // namespace

FileHandle OpenFileForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return kNoFile;
    struct stat info{};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        return kNoFile;
    }
    return fd;
}

FileHandle CreateFileForWriting(const std::string& path, uint32_t attributes) {
    // As with Win32, a read-only file is created read-only and still written
    // through the handle that created it.
    const mode_t mode = (attributes & kFileReadOnly) ? 0444 : 0666;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    return fd < 0 ? kNoFile : fd;
}

bool ReadFromFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done) {
    *done = 0;
    char* out = static_cast<char*>(buffer);
    while (*done < count) {
        const ssize_t got = ::read(Descriptor(file), out + *done, count - *done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        *done += static_cast<uint32_t>(got);
    }
    return true;
}

bool WriteToFile(FileHandle file, const void* buffer, uint32_t count) {
    const char* in = static_cast<const char*>(buffer);
    uint32_t written = 0;
    while (written < count) {
        const ssize_t put = ::write(Descriptor(file), in + written, count - written);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<uint32_t>(put);
    }
    return true;
}

bool SeekFile(FileHandle file, uint64_t position) {
    if (position > static_cast<uint64_t>(INT64_MAX))
        return false;
    return ::lseek(Descriptor(file), static_cast<off_t>(position), SEEK_SET) >= 0;
}

int64_t GetFileLength(FileHandle file) {
    struct stat info{};
    if (::fstat(Descriptor(file), &info) != 0)
        return -1;
    return static_cast<int64_t>(info.st_size);
}

void CloseFile(FileHandle file) {
    if (file != kNoFile)
        ::close(Descriptor(file));
}

bool SetFileTimes(FileHandle file, uint64_t creation, uint64_t access, uint64_t modification) {
    // The file system keeps no creation time that can be set.
    const timespec times[2] = {ToTimespec(access), ToTimespec(modification)};
    return ::futimens(Descriptor(file), times) == 0;
}

uint32_t GetPathAttributes(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return kNoAttributes;
    uint32_t attributes = S_ISDIR(info.st_mode) ? kFileDirectory : kFileArchive;
    if (!(info.st_mode & S_IWUSR))
        attributes |= kFileReadOnly;
    return attributes;
}

bool SetPathAttributes(const std::string& path, uint32_t attributes) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    mode_t mode = info.st_mode & 07777;
    if (attributes & kFileReadOnly)
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    return ::chmod(path.c_str(), mode) == 0;
}

std::string GetWorkingDirectory() {
    char path[4096];
    return ::getcwd(path, sizeof path) ? std::string(path) : std::string();
}

uint64_t LocalTimeToFileTime(int year, int month, int day, int hour, int minute, int second) {
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59 ||
        year < 1601 || hour < 0 || minute < 0 || second < 0)
        return 0;
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const time_t seconds = std::mktime(&local);
    // mktime moves 31 April to 1 May; Win32 refuses such a day, and so do we.
    if (seconds == static_cast<time_t>(-1) || local.tm_mday != day)
        return 0;
    const int64_t fileTime = static_cast<int64_t>(kUnixEpochFileTime) + static_cast<int64_t>(seconds) * 10000000;
    return fileTime > 0 ? static_cast<uint64_t>(fileTime) : 0;
}

}  // namespace platform
