#include "tools/gfxgen/GfxWriter.h"

#include <cstdio>

namespace {
void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}
std::vector<uint8_t> EmptyEntry() { return std::vector<uint8_t>(8, 0); }
}  // namespace

void GfxImage::Set(int x, int y, uint32_t rgba) {
    uint8_t* p = At(x, y);
    p[0] = uint8_t(rgba >> 16);
    p[1] = uint8_t(rgba >> 8);
    p[2] = uint8_t(rgba);
    p[3] = uint8_t(rgba >> 24);
}

std::vector<uint8_t> EncodeRunLength(const GfxImage& image) {
    std::vector<uint8_t> out;
    int run = 0;
    auto flush = [&] {
        if (run) {
            out.push_back(1);
            out.push_back(uint8_t(run));
            run = 0;
        }
    };
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = image.At(x, y);
            if (p[3] == 0) {
                if (++run == 255)
                    flush();
                continue;
            }
            flush();
            out.push_back(p[0] == 1 ? 0 : p[0]);
            out.push_back(p[1]);
            out.push_back(p[2]);
            out.push_back(p[3]);
        }
    }
    flush();
    return out;
}

void GfxWriter::Put(int id, const GfxImage& image) {
    if (id < 1)
        return;
    if (entries_.size() < size_t(id))
        entries_.resize(size_t(id), EmptyEntry());
    std::vector<uint8_t> data = EncodeRunLength(image);
    std::vector<uint8_t>& entry = entries_[size_t(id) - 1];
    entry.clear();
    PutU16(entry, uint32_t(image.width));
    PutU16(entry, uint32_t(image.height));
    PutU32(entry, uint32_t(data.size()));
    entry.insert(entry.end(), data.begin(), data.end());
}

std::vector<uint8_t> GfxWriter::Bytes(uint32_t stamp) const {
    std::vector<uint8_t> out;
    PutU32(out, stamp);
    PutU32(out, uint32_t(entries_.size() + 1));
    for (const std::vector<uint8_t>& entry : entries_)
        out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

bool GfxWriter::Write(const std::string& path, uint32_t stamp) const {
    const std::vector<uint8_t> bytes = Bytes(stamp);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}
