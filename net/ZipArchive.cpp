#include "net/ZipArchive.h"

#include <cstring>

#include "net/ZipReader.h"

namespace {

constexpr uint32_t kReadingKind = 1;

// One word for the whole process, overwritten by every call.
uint32_t g_lastResult = kZipSuccess;

uint32_t Result(uint32_t code) {
    g_lastResult = code;
    return code;
}

// Checks the handle; kZipSuccess when it is an archive open for reading.
uint32_t CheckHandle(const ZipHandle* handle) {
    if (!handle)
        return kZipArguments;
    if (handle->kind != kReadingKind || !handle->reader)
        return kZipMixed;
    return kZipSuccess;
}

ZipHandle* OpenSource(std::unique_ptr<ZipSource> source, const char* password) {
    if (!source->IsOpen()) {
        Result(kZipNoFile);
        return nullptr;
    }
    auto reader = std::make_unique<ZipReader>(password);
    const uint32_t opened = reader->Open(std::move(source));
    if (opened != kZipSuccess) {
        Result(opened);
        return nullptr;
    }
    Result(kZipSuccess);
    return new ZipHandle{kReadingKind, reader.release()};
}

const char* MessageText(uint32_t code) {
    switch (code) {
    case kZipSuccess: return "Success";
    case kZipDuplicateHandle: return "Culdn't duplicate handle";
    case kZipNoFile: return "Couldn't create/open file";
    case kZipNoMemory: return "Failed to allocate memory";
    case kZipWriteError: return "Error writing to file";
    case kZipNotFound: return "File not found in the zipfile";
    case kZipMore: return "Still more data to unzip";
    case kZipCorrupt: return "Zipfile is corrupt or not a zipfile";
    case kZipReadError: return "Error reading file";
    case kZipPassword: return "Correct password required";
    case kZipArguments: return "Caller: faulty arguments";
    case kZipNotMemory: return "Caller: can only get memory of a memory zipfile";
    case kZipMemorySize: return "Caller: not enough space allocated for memory zipfile";
    case kZipPreviousError: return "Caller: there was a previous error";
    case kZipEnded: return "Caller: additions to the zip have already been ended";
    case kZipMissize: return "Zip-bug: the anticipated size turned out wrong";
    case kZipPartlyUnzipped: return "Caller: the file had already been partially unzipped";
    case kZipMixed: return "Caller: mixing creation and opening of zip";
    case kZipNotInitialised: return "Zip-bug: internal initialisation not completed";
    case kZipSeek: return "Zip-bug: trying to seek the unseekable";
    case kZipNoChange: return "Zip-bug: tried to change mind, but not allowed";
    case kZipFlate: return "Zip-bug: an internal error during flation";
    default: return "unknown zip result code";
    }
}

}  // namespace

ZipHandle* ZipOpen(const void* data, uint32_t length, const char* password) {
    if (!data) {
        Result(kZipArguments);
        return nullptr;
    }
    return OpenSource(std::make_unique<ZipSource>(data, length), password);
}

ZipHandle* ZipOpenFile(const std::string& name, const char* password) {
    return OpenSource(std::make_unique<ZipSource>(name), password);
}

uint32_t ZipGetItem(ZipHandle* handle, int32_t index, ZipEntry* entry) {
    const uint32_t checked = CheckHandle(handle);
    if (checked != kZipSuccess)
        return Result(checked);
    if (!entry)
        return Result(kZipArguments);
    return Result(handle->reader->GetItem(index, entry));
}

uint32_t ZipFindItem(ZipHandle* handle, const std::string& name, bool ignoreCase, int32_t* index,
                     ZipEntry* entry) {
    const uint32_t checked = CheckHandle(handle);
    if (checked != kZipSuccess)
        return Result(checked);
    if (!index)
        return Result(kZipArguments);
    return Result(handle->reader->FindItem(name, ignoreCase, index, entry));
}

uint32_t ZipUnzipItem(ZipHandle* handle, int32_t index, void* destination, uint32_t length, int kind) {
    const uint32_t checked = CheckHandle(handle);
    if (checked != kZipSuccess)
        return Result(checked);
    switch (kind) {
    case kZipToHandle:
        if (!destination)
            return Result(kZipArguments);
        return Result(handle->reader->Unzip(index, *static_cast<platform::FileHandle*>(destination), nullptr));
    case kZipToFile:
        if (!destination)
            return Result(kZipArguments);
        return Result(handle->reader->Unzip(index, platform::kNoFile, static_cast<std::string*>(destination)));
    case kZipToMemory:
        return Result(handle->reader->UnzipToMemory(index, destination, length));
    default:
        return Result(kZipArguments);
    }
}

uint32_t ZipUnzipItemToHandle(ZipHandle* handle, int32_t index, platform::FileHandle file) {
    return ZipUnzipItem(handle, index, &file, 0, kZipToHandle);
}

uint32_t ZipUnzipItemToFile(ZipHandle* handle, int32_t index, const std::string& path) {
    std::string copy = path;
    return ZipUnzipItem(handle, index, &copy, 0, kZipToFile);
}

uint32_t ZipUnzipItemToMemory(ZipHandle* handle, int32_t index, void* buffer, uint32_t length) {
    return ZipUnzipItem(handle, index, buffer, length, kZipToMemory);
}

uint32_t ZipSetBaseDir(ZipHandle* handle, const std::string& directory) {
    const uint32_t checked = CheckHandle(handle);
    if (checked != kZipSuccess)
        return Result(checked);
    handle->reader->SetBaseDir(directory);
    return Result(kZipSuccess);
}

uint32_t ZipSetUnpackLimit(ZipHandle* handle, uint64_t bytes) {
    const uint32_t checked = CheckHandle(handle);
    if (checked != kZipSuccess)
        return Result(checked);
    handle->reader->SetUnpackLimit(bytes);
    return Result(kZipSuccess);
}

uint32_t ZipFormatMessage(uint32_t code, char* buffer, uint32_t length) {
    const char* text = MessageText(code == kZipLastResult ? g_lastResult : code);
    const uint32_t size = static_cast<uint32_t>(std::strlen(text));
    if (buffer && length) {
        const uint32_t copied = size < length ? size : length - 1;
        std::memcpy(buffer, text, copied);
        buffer[copied] = '\0';
    }
    return size;
}

uint32_t ZipClose(ZipHandle* handle) {
    const uint32_t checked = CheckHandle(handle);
    if (checked != kZipSuccess)
        return Result(checked);
    delete handle->reader;
    delete handle;
    return Result(kZipSuccess);
}
