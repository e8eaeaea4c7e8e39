#include "tests/support/Scratch.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/TestApp.h"

namespace fs = std::filesystem;

ScratchDir::ScratchDir(const std::string& name) {
    path = fs::absolute(TempPath(name)).generic_string();
    std::error_code ignored;
    fs::remove_all(path, ignored);
    fs::create_directories(path);
    previous_ = fs::current_path().string();
    fs::current_path(path);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    fs::remove_all(path, ignored);
}

std::string ScratchDir::Path(const std::string& name) const { return path + "/" + name; }

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}
