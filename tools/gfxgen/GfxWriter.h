#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes graphics files in the format the sprite store reads. Shared by the
// generator and the tests, which build small files of their own.
struct GfxImage {
    int width = 0;
    int height = 0;
    // Blue, green, red, alpha per pixel, top row first (as one draws them);
    // the writer turns them bottom-up. A pixel with alpha 0 is transparent.
    std::vector<uint8_t> bgra;

    GfxImage() = default;
    GfxImage(int w, int h) : width(w), height(h), bgra(size_t(w) * size_t(h) * 4, 0) {}
    uint8_t* At(int x, int y) { return &bgra[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
    const uint8_t* At(int x, int y) const { return &bgra[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
    void Set(int x, int y, uint32_t rgba);  // colour as the drawing layer takes it: red lowest, alpha highest
};

// Run-length data of an image: transparent pixels become runs (byte 1, count),
// others 4 bytes; a pixel whose blue is 1 is stored with blue 0, since its first
// byte would read as a run.
std::vector<uint8_t> EncodeRunLength(const GfxImage& image);

class GfxWriter {
public:
    // Sprite ids run from 1; ids without an image are written as empty entries.
    void Put(int id, const GfxImage& image);
    // Writes "stamp, count, entries"; false when the file cannot be written.
    bool Write(const std::string& path, uint32_t stamp) const;
    std::vector<uint8_t> Bytes(uint32_t stamp) const;

private:
    std::vector<std::vector<uint8_t>> entries_;  // index id - 1: the whole entry
};
