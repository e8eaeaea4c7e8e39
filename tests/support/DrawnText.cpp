#include "tests/support/DrawnText.h"

#include "engine/Sprite.h"

namespace {
char GlyphCode(float sourceX, float sourceY) { return char(32 + int(sourceX) / 16 + int(sourceY) / 16 * 32); }
}  // namespace

std::vector<DrawnText> DrawnTexts(const RecordingEngine& engine, const Sprite* sheet) {
    std::vector<DrawnText> texts;
    uint32_t color = 0xFFFFFFFF;
    bool joinable = false;  // the last text was made of single glyphs
    for (const RecordedCall& call : engine.calls) {
        if (call.op == "SetColor") {
            color = uint32_t(call.args[0]);
            joinable = false;
            continue;
        }
        if (call.op == "RenderSpriteBatch" && call.sprite == sheet) {
            // A batch may hold several lines: each line is a text of its own.
            for (size_t i = 0; i < call.quads.size(); ++i) {
                const BatchQuad& quad = call.quads[i];
                if (i == 0 || quad.y != call.quads[i - 1].y)
                    texts.push_back({std::string(), quad.x, quad.y - 2, color});
                texts.back().text.push_back(GlyphCode(quad.sourceX, quad.sourceY));
            }
            joinable = false;
            continue;
        }
        if (call.op == "RenderSprite" && call.sprite == sheet) {
            const float x = float(call.args[0]);
            const float y = float(call.args[1]) - 2;
            const char code = GlyphCode(float(call.args[6]), float(call.args[7]));
            if (joinable && texts.back().y == y && texts.back().color == color) {
                texts.back().text.push_back(code);
            } else {
                texts.push_back({std::string(1, code), x, y, color});
                joinable = true;
            }
            continue;
        }
        joinable = false;
    }
    return texts;
}

std::vector<DrawnText> VisibleTexts(const RecordingEngine& engine, const Sprite* sheet) {
    const std::vector<DrawnText> all = DrawnTexts(engine, sheet);
    std::vector<DrawnText> visible;
    for (size_t i = 0; i < all.size(); ++i) {
        // An outline pass: black with the text's alpha, followed (after the other
        // passes) by the same text in its own colour.
        bool outlinePass = false;
        if ((all[i].color & 0x00FFFFFF) == 0) {
            for (size_t j = i + 1; j < all.size() && j <= i + 4 && all[j].text == all[i].text; ++j) {
                if (all[j].color != all[i].color) {
                    outlinePass = true;
                    break;
                }
            }
        }
        if (!outlinePass)
            visible.push_back(all[i]);
    }
    return visible;
}
