#pragma once

#include <string>

// A fresh folder of the test's own that is also the working directory while
// the object lives; removed with everything in it afterwards.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // path + "/" + name
    std::string Path(const std::string& name) const;

    std::string path;

private:
    std::string previous_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
