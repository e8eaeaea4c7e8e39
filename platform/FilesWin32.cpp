// Win32 implementation of the file services.
#include "platform/Files.h"
#include "platform/Win32.h"

namespace platform {

namespace {

HANDLE ToHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

FILETIME ToFileTime(uint64_t value) {
    FILETIME out;
    out.dwLowDateTime = static_cast<DWORD>(value);
    out.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return out;
}

}  // namespace

FileHandle OpenFileForReading(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    return reinterpret_cast<FileHandle>(file);
}

FileHandle CreateFileForWriting(const std::string& path, uint32_t attributes) {
    const DWORD flags = attributes & (kFileReadOnly | kFileHidden | kFileSystem | kFileArchive);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                flags ? flags : FILE_ATTRIBUTE_NORMAL, nullptr);
    return reinterpret_cast<FileHandle>(file);
}

bool ReadFromFile(FileHandle file, void* buffer, uint32_t count, uint32_t* done) {
    DWORD got = 0;
    const BOOL ok = ::ReadFile(ToHandle(file), buffer, count, &got, nullptr);
    *done = got;
    return ok != 0;
}

bool WriteToFile(FileHandle file, const void* buffer, uint32_t count) {
    DWORD put = 0;
    return ::WriteFile(ToHandle(file), buffer, count, &put, nullptr) && put == count;
}

bool SeekFile(FileHandle file, uint64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    return position <= static_cast<uint64_t>(INT64_MAX) &&
           ::SetFilePointerEx(ToHandle(file), to, nullptr, FILE_BEGIN) != 0;
}

int64_t GetFileLength(FileHandle file) {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(ToHandle(file), &size))
        return -1;
    return size.QuadPart;
}

void CloseFile(FileHandle file) {
    if (file != kNoFile)
        ::CloseHandle(ToHandle(file));
}

bool SetFileTimes(FileHandle file, uint64_t creation, uint64_t access, uint64_t modification) {
    const FILETIME c = ToFileTime(creation), a = ToFileTime(access), m = ToFileTime(modification);
    return ::SetFileTime(ToHandle(file), creation ? &c : nullptr, access ? &a : nullptr,
                         modification ? &m : nullptr) != 0;
}

uint32_t GetPathAttributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

bool SetPathAttributes(const std::string& path, uint32_t attributes) {
    return ::SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != 0;
}

std::string GetWorkingDirectory() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetCurrentDirectoryA(sizeof path, path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    return std::string(path, length);
}

uint64_t LocalTimeToFileTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME calendar = {};
    calendar.wYear = static_cast<WORD>(year);
    calendar.wMonth = static_cast<WORD>(month);
    calendar.wDay = static_cast<WORD>(day);
    calendar.wHour = static_cast<WORD>(hour);
    calendar.wMinute = static_cast<WORD>(minute);
    calendar.wSecond = static_cast<WORD>(second);
    FILETIME local, utc;
    if (year < 1601 || year > 30827 || !::SystemTimeToFileTime(&calendar, &local) ||
        !::LocalFileTimeToFileTime(&local, &utc))
        return 0;
    return (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

}  // namespace platform
