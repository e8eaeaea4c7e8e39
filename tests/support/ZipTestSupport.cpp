#include "tests/support/ZipTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    std::string path = value ? value : "";
#ifdef _WIN32
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
#endif
    return path;
}

}  // namespace

std::string FixturePath(const std::string& name) { return FromEnvironment("VELMORA_ZIP_FIXTURES") + "/" + name; }

std::string TreeFile(const std::string& entryName) { return FixturePath("tree/" + entryName); }

std::string ScratchFolder(const std::string& name) {
    const fs::path folder = fs::u8path(FromEnvironment("VELMORA_ZIP_SCRATCH") + "/" + name);
    std::error_code error;
    // Extracted read-only files must become writable before they can go.
    if (fs::exists(folder, error))
        for (const auto& item : fs::recursive_directory_iterator(folder, error))
            fs::permissions(item.path(), fs::perms::owner_write, fs::perm_options::add, error);
    fs::remove_all(folder, error);
    fs::create_directories(folder, error);
    return folder.generic_string();
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    *bytes = all.str();
    return true;
}

bool PathIsDirectory(const std::string& path) {
    std::error_code error;
    return fs::is_directory(fs::u8path(path), error);
}

bool PathExists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::u8path(path), error);
}

int64_t ModificationSeconds(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return -1;
    return static_cast<int64_t>(info.st_mtime);
}

uint64_t FileTimeOf(int64_t unixSeconds) {
    return platform::kUnixEpochFileTime + static_cast<uint64_t>(unixSeconds) * 10000000ull;
}

std::unique_ptr<Archive> Archive::Open(const std::string& fixture, bool fromFile, const char* password) {
    std::unique_ptr<Archive> archive(new Archive());
    if (fromFile) {
        archive->handle = ZipOpenFile(FixturePath(fixture), password);
    } else {
        ReadWholeFile(FixturePath(fixture), &archive->bytes_);
        // An empty file still gives a valid (zero-length) block.
        archive->bytes_.reserve(1);
        archive->handle = ZipOpen(archive->bytes_.data(), static_cast<uint32_t>(archive->bytes_.size()), password);
    }
    archive->openResult = archive->handle ? kZipSuccess : LastResult();
    return archive;
}

uint32_t LastResult() {
    // The reader tells its last result only as text: find the code with that text.
    static const uint32_t codes[] = {kZipSuccess, kZipNoFile,   kZipWriteError, kZipNotFound,  kZipMore,
                                     kZipCorrupt, kZipReadError, kZipPassword,  kZipArguments, kZipMixed,
                                     kZipFlate};
    char last[64];
    ZipFormatMessage(kZipLastResult, last, sizeof last);
    for (uint32_t code : codes) {
        char text[64];
        ZipFormatMessage(code, text, sizeof text);
        if (std::string(text) == last)
            return code;
    }
    return 0xFFFFFFFF;
}

Archive::~Archive() {
    if (handle)
        ZipClose(handle);
}

uint32_t ExtractToMemory(ZipHandle* zip, int32_t index, uint32_t piece, std::string* bytes, int* more) {
    bytes->clear();
    if (more)
        *more = 0;
    ZipEntry entry;
    if (ZipGetItem(zip, index, &entry) != kZipSuccess)
        entry.uncompressedSize = 0;
    std::vector<char> buffer(piece);
    for (;;) {
        const uint32_t result = ZipUnzipItemToMemory(zip, index, buffer.data(), piece);
        if (result == kZipMore) {
            bytes->append(buffer.data(), piece);
            if (more)
                ++*more;
            continue;
        }
        if (result == kZipSuccess) {
            const size_t rest = entry.uncompressedSize - bytes->size();
            bytes->append(buffer.data(), rest < piece ? rest : piece);
        }
        return result;
    }
}

int32_t IndexOf(ZipHandle* zip, const std::string& name) {
    int32_t index = -1;
    ZipFindItem(zip, name, false, &index, nullptr);
    return index;
}
