#include "tools/gfxgen/Preview.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/Cursor.h"
#include "engine/Font.h"
#include "engine/SpriteStore.h"
#include "lodepng.h"
#include "tools/gfxgen/Paint.h"
#include "tools/gfxgen/SpriteTable.h"

namespace {

// A decoded record as a top-row-first image.
GfxImage FromRecord(const SpriteRecord& record) {
    GfxImage image(record.width, record.height);
    for (int y = 0; y < record.height; ++y)
        for (int x = 0; x < record.width; ++x) {
            const uint8_t* p = record.Pixel(x, record.height - 1 - y);
            std::copy(p, p + 4, image.At(x, y));
        }
    return image;
}

bool SavePng(const GfxImage& image, const std::string& path) {
    std::vector<unsigned char> rgba(image.bgra.size());
    for (size_t i = 0; i < image.bgra.size(); i += 4) {
        rgba[i] = image.bgra[i + 2];
        rgba[i + 1] = image.bgra[i + 1];
        rgba[i + 2] = image.bgra[i];
        rgba[i + 3] = image.bgra[i + 3];
    }
    if (lodepng::encode(path, rgba, unsigned(image.width), unsigned(image.height)) != 0) {
        std::fprintf(stderr, "gfxgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

void Fill(GfxImage& image, int x, int y, int w, int h, uint32_t rgba) {
    const float a = (rgba >> 24) / 255.0f;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            BlendPixel(image, i, j, float(rgba & 0xFF), float((rgba >> 8) & 0xFF), float((rgba >> 16) & 0xFF), a);
}

// The frame the GUI draws: top and left edges light, bottom and right dark.
void Frame(GfxImage& image, int x, int y, int w, int h, uint32_t light, uint32_t dark) {
    Fill(image, x, y, w, 1, light);
    Fill(image, x, y, 1, h, light);
    Fill(image, x, y + h - 1, w, 1, dark);
    Fill(image, x + w - 1, y, 1, h, dark);
}

// Draws the source rectangle of a picture scaled into the destination, with
// linear filtering as the back ends do.
void DrawScaled(GfxImage& target, const GfxImage& source, int dx, int dy, int dw, int dh, int sw, int sh) {
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            const float sx = Clamp((x + 0.5f) * sw / dw - 0.5f, 0, float(sw - 1));
            const float sy = Clamp((y + 0.5f) * sh / dh - 0.5f, 0, float(sh - 1));
            const int x0 = int(sx), y0 = int(sy);
            const int x1 = std::min(x0 + 1, sw - 1), y1 = std::min(y0 + 1, sh - 1);
            const float fx = sx - x0, fy = sy - y0;
            float c[4];
            for (int k = 0; k < 4; ++k)
                c[k] = Mix(Mix(source.At(x0, y0)[k], source.At(x1, y0)[k], fx),
                           Mix(source.At(x0, y1)[k], source.At(x1, y1)[k], fx), fy);
            BlendPixel(target, dx + x, dy + y, c[2], c[1], c[0], c[3] / 255.0f);
        }
    }
}

void DrawTiled(GfxImage& target, const GfxImage& tile, int x, int y, int w, int h) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const uint8_t* p = tile.At(i % tile.width, j % tile.height);
            BlendPixel(target, x + i, y + j, p[2], p[1], p[0], p[3] / 255.0f);
        }
}

// Text as the font draws it: each glyph cell at the pen, 2 pixels down, the
// sheet's red as the strength of the colour.
struct PreviewFont {
    GfxImage sheet;
    const int* advances;

    int Width(const std::string& text) const {
        int width = 0;
        for (unsigned char c : text)
            width += c >= 32 ? advances[c - 32] : 5;
        return width;
    }
    void Draw(GfxImage& target, const std::string& text, int x, int y, uint32_t rgba, int scale = 1) const {
        int pen = 0;
        for (unsigned char c : text) {
            if (c < 32)
                continue;
            const int cell = c - 32;
            for (int row = 0; row < 16; ++row)
                for (int column = 0; column < 16; ++column) {
                    const uint8_t* p = sheet.At((cell % 32) * 16 + column, (cell / 32) * 16 + row);
                    if (!p[0] && !p[1] && !p[2])
                        continue;
                    for (int sy = 0; sy < scale; ++sy)
                        for (int sx = 0; sx < scale; ++sx)
                            BlendPixel(target, x + (pen + column) * scale + sx, y + (row + 2) * scale + sy,
                                       float(rgba & 0xFF), float((rgba >> 8) & 0xFF), float((rgba >> 16) & 0xFF),
                                       p[2] / 255.0f);
                }
            pen += advances[cell];
        }
    }
};

std::string Codes(int from, int to) {
    std::string text;
    for (int c = from; c <= to; ++c)
        text += char(c);
    return text;
}

GfxImage FontPage(const PreviewFont& font, const SpriteRecord* skin) {
    const std::vector<std::string> lines = {
        "The quick brown fox jumps over the lazy dog. 0123456789",
        "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG!? Login name: Password:",
        "Character List  Enter Game  New Character  Cancel  Options  About  Website",
        "You see a wooden shield (Def:14). It weighs 40.00 oz.",
        Codes(33, 80),
        Codes(81, 127),
        Codes(128, 175),
        Codes(176, 215),
        Codes(216, 255),
    };
    GfxImage page(1100, 16 * int(lines.size()) * 4 + 24);
    if (skin)
        DrawTiled(page, FromRecord(*skin), 0, 0, page.width, page.height);
    else
        Fill(page, 0, 0, page.width, page.height, Rgba(30, 30, 30));
    int y = 4;
    for (const std::string& line : lines) {
        font.Draw(page, line, 8, y, Rgba(200, 200, 200));
        y += 16;
    }
    y += 8;
    for (size_t i = 0; i < 4 && i < lines.size(); ++i) {
        font.Draw(page, i < 2 ? lines[i] : lines[i + 4], 8, y, Rgba(255, 255, 255), 3);
        y += 48;
    }
    return page;
}

// The drag cursor as the cursor planes give it, upright, on a checkered ground
// (transparent), 4 times enlarged.
GfxImage CursorPage(const SpriteRecord& record) {
    uint8_t andPlane[kCursorPlaneBytes];
    uint8_t xorPlane[kCursorPlaneBytes];
    BuildCursorPlanes(record, andPlane, xorPlane);
    GfxImage page(kCursorSize * 4, kCursorSize * 4);
    for (int r = 0; r < kCursorSize; ++r)
        for (int c = 0; c < kCursorSize; ++c) {
            const int bit = 0x80 >> (c % 8);
            const bool transparent = andPlane[r * 4 + c / 8] & bit;
            const bool white = xorPlane[r * 4 + c / 8] & bit;
            const int checker = ((r / 2 + c / 2) % 2) ? 90 : 140;
            const int v = transparent ? checker : (white ? 255 : 0);
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    page.Set(c * 4 + sx, r * 4 + sy, transparent ? Rgba(v, v / 2 + 40, v) : Rgba(v, v, v));
        }
    return page;
}

// The login screen at 1000 x 700 with a skin, laid out as the menu draws it.
GfxImage LoginPage(SpriteStore& store, const PreviewFont& font, int skinId, int light, int dark) {
    const int W = 1000, H = 700, cx = W / 2, cy = H / 2;
    GfxImage page(W, H);
    Fill(page, 0, 0, W, H, Rgba(25, 25, 25));
    const SpriteRecord* backdrop = store.DecodeSprite(3);
    const SpriteRecord* logo = store.DecodeSprite(6540);
    const SpriteRecord* skinRecord = store.DecodeSprite(uint32_t(skinId));
    if (!backdrop || !logo || !skinRecord)
        return page;
    int w = W >= 1920 ? 1920 : W, h = W >= 1920 ? 1024 : int(W / 1.875);
    if (h < H) {
        w = int(1.875 * H);
        h = H;
    }
    DrawScaled(page, FromRecord(*backdrop), (W - w) / 2, (H - h) / 2, w, h, 1920, 1024);
    const GfxImage logoImage = FromRecord(*logo);
    DrawScaled(page, logoImage, (W - 400) / 2, cy - 190, 400, 100, logoImage.width, logoImage.height);
    const GfxImage skin = FromRecord(*skinRecord);
    const uint32_t lightColor = Rgba(light, light, light), darkColor = Rgba(dark, dark, dark);
    DrawTiled(page, skin, cx - 195, cy - 120, 390, 197);
    Frame(page, cx - 195, cy - 120, 390, 197, lightColor, darkColor);
    Frame(page, cx - 194, cy - 119, 388, 195, lightColor, darkColor);
    Frame(page, cx - 175, cy - 20, 350, 27, darkColor, lightColor);
    Frame(page, cx - 175, cy + 30, 350, 27, darkColor, lightColor);
    Fill(page, cx - 175, cy + 17, 350, 1, darkColor);
    Fill(page, cx - 175, cy + 18, 350, 1, lightColor);
    const uint32_t text = Rgba(200, 200, 200);
    struct Button {
        int x, y, w, h;
        const char* caption;
    };
    for (const Button& b : {Button{cx - 174, cy - 19, 348, 25, "Login"}, Button{cx - 58, cy + 31, 116, 25, "About"},
                            Button{cx - 174, cy + 31, 116, 25, "Options"},
                            Button{cx + 58, cy + 31, 116, 25, "Website"}}) {
        DrawTiled(page, skin, b.x, b.y, b.w, b.h);
        Frame(page, b.x, b.y, b.w, b.h, lightColor, darkColor);
        font.Draw(page, b.caption, b.x + (b.w - font.Width(b.caption)) / 2, b.y + 4, text);
    }
    font.Draw(page, "Login name:", cx - 174, cy - 93, text);
    font.Draw(page, "Password:", cx - 174, cy - 53, text);
    Frame(page, cx - 85, cy - 100, 260, 30, darkColor, lightColor);
    Frame(page, cx - 85, cy - 60, 260, 30, darkColor, lightColor);
    font.Draw(page, "wanderer", cx - 80, cy - 93, text);
    font.Draw(page, "********", cx - 80, cy - 53, text);
    return page;
}

}  // namespace

bool WritePreviews(const std::string& gfxPath, const std::string& folder) {
    mkdir(folder.c_str(), 0755);
    SpriteStore store;
    if (store.Load(gfxPath) != kGfxStamp) {
        std::fprintf(stderr, "gfxgen: cannot read back %s\n", gfxPath.c_str());
        return false;
    }
    bool ok = true;
    for (size_t i = 0; i < kSpriteCount; ++i) {
        const SpriteEntry& entry = kSprites[i];
        const SpriteRecord* record = store.DecodeSprite(uint32_t(entry.id));
        if (!record) {
            std::fprintf(stderr, "gfxgen: sprite %d is missing from %s\n", entry.id, gfxPath.c_str());
            return false;
        }
        ok &= SavePng(FromRecord(*record), folder + "/" + std::to_string(entry.id) + "-" + entry.name + ".png");
    }

    SpriteRecord* sheet = store.DecodeSprite(2);
    if (!sheet)
        return ok;
    Font font;
    font.Build(sheet, 0xFFFFFFFF, false, false);
    const PreviewFont preview{FromRecord(*sheet), font.advances};
    ok &= SavePng(FontPage(preview, store.DecodeSprite(5764)), folder + "/preview-font.png");
    if (const SpriteRecord* cursor = store.DecodeSprite(403); IsCursorImage(cursor))
        ok &= SavePng(CursorPage(*cursor), folder + "/preview-cursor.png");
    const struct {
        int id, light, dark;
    } skins[] = {{1373, 82, 20}, {1374, 82, 20}, {5762, 60, 10}, {5763, 82, 20}, {5764, 60, 10}};
    for (const auto& skin : skins)
        if (store.DecodeSprite(uint32_t(skin.id)))
            ok &= SavePng(LoginPage(store, preview, skin.id, skin.light, skin.dark),
                          folder + "/preview-login-" + std::to_string(skin.id) + ".png");
    return ok;
}
