#include "tools/gfxgen/Logo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/gfxgen/Fonts.h"
#include "tools/gfxgen/FreeTypeFace.h"
#include "tools/gfxgen/Paint.h"

namespace {

// The login panel covers the logo from 70 pixels below its top at every window
// size, so everything stays above that.
constexpr int kNameBaseline = 46;
constexpr int kOnlineBaseline = 63;

// Coverage in [0, 1] over the logo.
class Mask {
public:
    Mask(int width, int height) : width_(width), height_(height), values_(size_t(width) * height, 0.0f) {}
    int width() const { return width_; }
    int height() const { return height_; }
    float At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return 0;
        return values_[size_t(y) * width_ + size_t(x)];
    }
    void Add(int x, int y, float v) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return;
        float& p = values_[size_t(y) * width_ + size_t(x)];
        p = std::min(1.0f, p + v);
    }
    // The mask grown by a disc of the radius, with a soft rim.
    Mask Grown(float radius) const {
        Mask out(width_, height_);
        const int reach = int(std::ceil(radius)) + 1;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                float best = 0;
                for (int dy = -reach; dy <= reach; ++dy)
                    for (int dx = -reach; dx <= reach; ++dx) {
                        const float fall = Clamp(radius + 0.5f - std::hypot(float(dx), float(dy)), 0, 1);
                        best = std::max(best, At(x + dx, y + dy) * fall);
                    }
                out.values_[size_t(y) * width_ + size_t(x)] = best;
            }
        return out;
    }

private:
    int width_, height_;
    std::vector<float> values_;
};

// Letters of a text into the mask, with extra spacing, starting at the pen;
// returns the width the text took.
int DrawText(const FreeTypeFace& face, const std::string& text, float penX, int baseline, float spacing, Mask* mask) {
    float pen = penX;
    uint32_t previous = 0;
    for (unsigned char c : text) {
        if (previous)
            pen += float(face.Kerning(previous, c));
        const GlyphBitmap glyph = face.Render(c, false);
        if (mask)
            for (int y = 0; y < glyph.rows; ++y)
                for (int x = 0; x < glyph.width; ++x)
                    mask->Add(int(std::lround(pen)) + glyph.left + x, baseline - glyph.top + y, glyph.At(x, y) / 255.0f);
        pen += float(glyph.advance) + spacing;
        previous = c;
    }
    return int(std::lround(pen - penX - spacing));
}

int TextWidth(const FreeTypeFace& face, const std::string& text, float spacing) {
    return DrawText(face, text, 0, 0, spacing, nullptr);
}

// A thin rule ending in a small diamond at the end nearest the text.
void Rule(Mask& mask, int x0, int x1, int y, bool diamondRight) {
    for (int x = x0; x <= x1; ++x) {
        // Tapering towards the far end.
        const float t = diamondRight ? float(x - x0) / float(x1 - x0) : float(x1 - x) / float(x1 - x0);
        mask.Add(x, y, Clamp(t * 1.5f, 0, 1));
    }
    const int cx = diamondRight ? x1 + 4 : x0 - 4;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            mask.Add(cx + dx, y + dy, Clamp(3.5f - float(std::abs(dx) + std::abs(dy)), 0, 1));
}

}  // namespace

bool DrawLogo(GfxImage& image) {
    FreeTypeFace serif, sans;
    if (!serif.Open(kSerifBoldPath) || !sans.Open(kSansBoldPath)) {
        std::fprintf(stderr, "gfxgen: cannot open the logo's typefaces\n");
        return false;
    }
    const int W = image.width, H = image.height;
    Mask title(W, H), subtitle(W, H);

    const std::string name = "Velmora";
    serif.SetSize(50);
    const float nameSpacing = 1;
    const int nameWidth = TextWidth(serif, name, nameSpacing);
    DrawText(serif, name, (W - nameWidth) / 2.0f, kNameBaseline, nameSpacing, &title);

    const std::string online = "ONLINE";
    sans.SetSize(12);
    const float onlineSpacing = 6;
    const int onlineWidth = TextWidth(sans, online, onlineSpacing);
    const float onlineX = (W - onlineWidth) / 2.0f;
    DrawText(sans, online, onlineX, kOnlineBaseline, onlineSpacing, &subtitle);
    Rule(subtitle, int(onlineX) - 92, int(onlineX) - 16, kOnlineBaseline - 4, true);
    Rule(subtitle, int(onlineX) + onlineWidth + 16, int(onlineX) + onlineWidth + 92, kOnlineBaseline - 4, false);

    Mask letters(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            letters.Add(x, y, title.At(x, y) + subtitle.At(x, y));
    const Mask outline = letters.Grown(2.2f);
    const Mask shadow = letters.Grown(3.2f);

    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            // A soft shadow down and to the right; the faintest fringe is left
            // out, since a back end without blending would show it solid.
            const float s = shadow.At(x - 2, y - 3) * 0.6f;
            if (s > 0.12f)
                BlendPixel(image, x, y, 0, 0, 0, s);
            BlendPixel(image, x, y, 34, 18, 8, outline.At(x, y));

            // Gold from pale at the top of the letters to deep amber below,
            // with light on the upper-left edges and shade on the lower-right.
            const float t = Clamp((y - 10) / 38.0f, 0, 1);
            float r = t < 0.5f ? Mix(255, 246, t * 2) : Mix(246, 176, t * 2 - 1);
            float g = t < 0.5f ? Mix(242, 196, t * 2) : Mix(196, 104, t * 2 - 1);
            float b = t < 0.5f ? Mix(190, 86, t * 2) : Mix(86, 28, t * 2 - 1);
            const float lit = Clamp(title.At(x, y) - title.At(x - 1, y - 1), 0, 1);
            const float shade = Clamp(title.At(x, y) - title.At(x + 1, y + 1), 0, 1);
            r = Mix(Mix(r, 255, lit * 0.6f), r * 0.6f, shade * 0.5f);
            g = Mix(Mix(g, 250, lit * 0.6f), g * 0.6f, shade * 0.5f);
            b = Mix(Mix(b, 220, lit * 0.6f), b * 0.6f, shade * 0.5f);
            BlendPixel(image, x, y, r, g, b, title.At(x, y));

            // The subtitle and its rules in pale silver.
            const float u = Clamp((y - (kOnlineBaseline - 10)) / 12.0f, 0, 1);
            BlendPixel(image, x, y, Mix(240, 190, u), Mix(236, 182, u), Mix(226, 170, u), subtitle.At(x, y));
        }
    }
    return true;
}
