// The shared scene, drawn by one back end in a real window: clear colour,
// opaque and translucent rectangles, a gradient triangle, sprites of the
// generated graphics file (whole, scaled, a sub-rectangle, clipped), a
// colour-keyed sprite, text in two colours with an outline, and the buffer
// stretched into the frame. It prints the pixels each shot must show; the
// driver compares them with X screenshots (and the ReadScreen blocks) and the
// three back ends with each other. Then the window is resized, and under
// DirectDraw the translucent-black rule is drawn with two skins.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/Graphics.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "tests/wine/backends/Harness.h"
#include "tests/wine/backends/Modes.h"

namespace {

const uint32_t kClear = 0xFF504030u;
const uint32_t kOpaque = 0xFF2040E0u;
const uint32_t kHalfWhite = 0x80FFFFFFu;
const uint32_t kHalfBlack = 0x80000000u;
const uint32_t kBufferOuter = 0xFF20A0F0u;
const uint32_t kBufferInner = 0xFFC03060u;
const uint32_t kTextA = 0xFF30D0F0u;
const uint32_t kTextB = 0xFFE06010u;
const uint32_t kMarker = 0xFF00C0FFu;
const uint32_t kKeyed = 0xFF60C020u;

// The generated sprites the scene draws: the one with the most even opaque
// areas, whatever the art is, and a second one for the sub-rectangle.
struct Chosen {
    int id = 0;
    SpriteRecord* record = nullptr;
    size_t smooth = 0;
};

void ChooseSprites(SpriteStore& store, Chosen& best, Chosen& second) {
    for (int id = 1; id < SpriteStore::kMaxSprites; ++id) {
        const SpriteRecord* raw = store.GetRecord(id);
        if (!raw || raw->width < 12 || raw->height < 12 || raw->width > 96 || raw->height > 96)
            continue;
        SpriteRecord* record = store.DecodeSprite(uint32_t(id));
        const size_t smooth = SmoothPoints(*record, 0, 0, record->width, record->height, 24, 100000).size();
        const Chosen candidate = {id, record, smooth};
        if (smooth > best.smooth) {
            second = best;
            best = candidate;
        } else if (smooth > second.smooth) {
            second = candidate;
        }
    }
    if (second.smooth < 4)
        second = best;
}

// The pixel a triangle with corner colours shows at a pixel centre.
uint32_t TriangleColor(const float p[6], const uint32_t colors[3], float x, float y) {
    const float d = (p[3] - p[5]) * (p[0] - p[4]) + (p[4] - p[2]) * (p[1] - p[5]);
    const float w0 = ((p[3] - p[5]) * (x - p[4]) + (p[4] - p[2]) * (y - p[5])) / d;
    const float w1 = ((p[5] - p[1]) * (x - p[4]) + (p[0] - p[4]) * (y - p[5])) / d;
    const float w[3] = {w0, w1, 1 - w0 - w1};
    uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
        float value = 0;
        for (int i = 0; i < 3; ++i)
            value += w[i] * float((colors[i] >> (8 * c)) & 0xFF);
        out |= uint32_t(value + 0.5f) << (8 * c);
    }
    return out;
}

class Scene {
public:
    Scene(Harness& harness, int type) : h(harness), type(type) {}

    bool Prepare() {
        ChooseSprites(*h.app->sprites, sprite, subSprite);
        h.Check(sprite.smooth >= 4, "the graphics file has a sprite with even opaque areas (chose " +
                                        std::to_string(sprite.id) + " and " + std::to_string(subSprite.id) + ")");
        if (sprite.smooth < 4)
            return false;
        keyed = MakeRecord(16, 16, [](int x, int y) -> uint32_t {
            if (x < 8)
                return 0xFFFF00FFu;  // opaque magenta
            if (y < 8)
                return 0;  // transparent
            return y < 12 ? (kKeyed & 0x00FFFFFFu) | 0x01000000u : kKeyed;  // alpha 1, then opaque
        });
        return true;
    }

    void Draw() {
        Graphics& g = *h.app->graphics;
        SpriteStore& store = *h.app->sprites;
        if (!g.BeginScene()) {
            h.Check(false, "BeginScene");
            return;
        }
        g.ClearScene(kClear);

        // The buffer first: under OpenGL it is filled from the window and the
        // window is cleared again afterwards.
        g.BeginBuffer();
        g.RenderRectangle(kBufferOuter, 0, 0, 64, 48);
        g.RenderRectangle(kBufferInner, 16, 12, 32, 24);
        g.EndBuffer();
        g.ClearScene(kClear);
        g.RenderBuffer(600, 400, 128, 96, 64, 48);

        g.RenderRectangle(kOpaque, 10, 10, 100, 60);
        g.RenderRectangle(kHalfWhite, 60, 30, 80, 60);
        g.RenderRectangle(kHalfBlack, 10, 100, 80, 40);
        g.RenderTriangle(150, 10, 270, 10, 150, 130, 0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u);

        Sprite* s = store.GetSprite(sprite.id);
        const int w = sprite.record->width;
        const int hh = sprite.record->height;
        g.RenderSprite(s, 300, 10);
        g.RenderSprite(s, 300, 120, 2 * w, 2 * hh);
        Sprite* sub = store.GetSprite(subSprite.id);
        const int sw = subSprite.record->width;
        const int sh = subSprite.record->height;
        g.RenderSprite(sub, 420, 10, sw / 2, sh / 2, 0, 0, float(sw / 4), float(sh / 4), float(sw / 2),
                       float(sh / 2));
        g.EnableClipper(ClipRect{420, 120, float(420 + w / 2), float(120 + hh / 2)});
        g.RenderSprite(s, 420, 120);
        g.DisableClipper();

        if (!keyedSprite.engine) {
            keyedSprite.width = keyed->width;
            keyedSprite.height = keyed->height;
            h.app->engine->GenerateSprite(&keyedSprite, keyed.get(), false);
        }
        g.RenderSprite(&keyedSprite, 650, 10);

        g.RenderText("H", 20, 200, kTextA, true);
        g.RenderText("H", 60, 200, kTextB, false);
    }

    void ExpectScene(const std::string& shot) {
        const bool blends = type != kEngineDirectDraw;
        auto common = [&](int x, int y, uint32_t c, int tol, const std::string& label) {
            h.Expect(shot, x, y, c, tol, "common", label);
        };
        auto own = [&](int x, int y, uint32_t c, int tol, const std::string& label) {
            h.Expect(shot, x, y, c, tol, blends ? "blend" : "dd", label);
        };
        common(780, 560, kClear, 2, "background");
        common(500, 500, kClear, 2, "background");
        common(30, 20, kOpaque, 2, "opaque-rectangle");
        common(100, 20, kOpaque, 2, "opaque-rectangle");
        common(30, 60, kOpaque, 2, "opaque-rectangle");
        common(610, 410, kBufferOuter, 4, "buffer-outer");
        common(720, 488, kBufferOuter, 4, "buffer-outer");
        common(664, 448, kBufferInner, 4, "buffer-inner");
        // Without blending the translucent white is opaque and the
        // translucent black is left out.
        own(85, 50, blends ? Blend(kHalfWhite, kOpaque) : 0xFFFFFFFFu, 3, "translucent-over-rectangle");
        own(125, 80, blends ? Blend(kHalfWhite, kClear) : 0xFFFFFFFFu, 3, "translucent-over-background");
        own(50, 120, blends ? Blend(kHalfBlack, kClear) : kClear, 3, "translucent-black");

        const float triangle[6] = {150, 10, 270, 10, 150, 130};
        const uint32_t corners[3] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u};
        const int points[4][2] = {{190, 50}, {160, 20}, {240, 20}, {160, 100}};
        for (const auto& p : points)
            own(p[0], p[1], blends ? TriangleColor(triangle, corners, p[0] + 0.5f, p[1] + 0.5f) : kClear, 6,
                "triangle");

        const int w = sprite.record->width;
        const int hh = sprite.record->height;
        for (const SmoothPoint& p : SmoothPoints(*sprite.record, 0, 0, w, hh, 24, 8)) {
            common(300 + p.x, 10 + p.y, p.color, 4 + p.spread, "sprite-whole");
            common(300 + 2 * p.x, 120 + 2 * p.y, p.color, 4 + p.spread, "sprite-scaled");
        }
        const int sw = subSprite.record->width;
        const int sh = subSprite.record->height;
        for (const SmoothPoint& p :
             SmoothPoints(*subSprite.record, sw / 4, sh / 4, sw / 4 + sw / 2, sh / 4 + sh / 2, 24, 6))
            common(420 + p.x - sw / 4, 10 + p.y - sh / 4, p.color, 4 + p.spread, "sprite-subrectangle");
        for (const SmoothPoint& p : SmoothPoints(*sprite.record, 0, 0, w, hh, 24, 40)) {
            const bool inside = p.x <= w / 2 - 3 && p.y <= hh / 2 - 3;
            const bool outside = p.x >= w / 2 + 3 || p.y >= hh / 2 + 3;
            if (inside)
                common(420 + p.x, 120 + p.y, p.color, 4 + p.spread, "sprite-clipped-inside");
            else if (outside)
                common(420 + p.x, 120 + p.y, kClear, 2, "sprite-clipped-outside");
        }

        // Magenta is the DirectDraw colour key; alpha 1 is opaque there.
        own(652, 14, blends ? 0xFFFF00FFu : kClear, 3, "keyed-magenta");
        common(660, 14, kClear, 2, "keyed-transparent");
        own(660, 20, blends ? Blend((kKeyed & 0x00FFFFFFu) | 0x01000000u, kClear) : kKeyed, 3, "keyed-alpha-1");
        common(660, 24, kKeyed, 3, "keyed-opaque");

        // 'H' is ink in columns 1 to 8 and rows 3 to 12 of its cell, drawn 2
        // pixels down; the outline adds black one pixel around it.
        common(24, 209, kTextA, 3, "text-outlined");
        common(27, 212, kTextA, 3, "text-outlined");
        common(20, 209, 0xFF000000u, 3, "text-outline-left");
        common(29, 209, 0xFF000000u, 3, "text-outline-right");
        common(24, 204, 0xFF000000u, 3, "text-outline-top");
        common(64, 209, kTextB, 3, "text-plain");
        common(60, 209, kClear, 2, "text-plain-no-outline");
        common(69, 209, kClear, 2, "text-plain-no-outline");
    }

    Harness& h;
    int type;
    Chosen sprite;
    Chosen subSprite;
    std::unique_ptr<SpriteRecord> keyed;
    Sprite keyedSprite;
};

// Ends the frame; OpenGL reads its back buffer before the swap, Direct3D
// reads the front buffer after the present.
void EndAndRead(Harness& h, int type, const std::string& shot, bool read) {
    if (read && type == kEngineOpenGL)
        h.WriteReadScreen(shot);
    h.app->graphics->EndScene();
    if (read && type == kEngineDirect3D)
        h.WriteReadScreen(shot);
}

void DirectDrawSkins(Harness& h) {
    Graphics& g = *h.app->graphics;
    SpriteRecord* shade = h.app->sprites->DecodeSprite(1862);
    for (int skin : {5764, 1373}) {
        h.app->gui->root->skin = skin;  // the skin in use: the root control's style
        const std::string shot = "skin" + std::to_string(skin);
        for (int frame = 0; frame < 2; ++frame) {
            if (!g.BeginScene())
                continue;
            g.ClearScene(kClear);
            g.RenderRectangle(kHalfBlack, 100, 300, 100, 60);
            g.RenderRectangle(0xFF000000u, 250, 300, 20, 20);  // opaque black still fills
            g.EndScene();
        }
        h.Expect(shot, 260, 310, 0xFF000000u, 2, "dd", "opaque-black");
        if (skin != 1373 || !shade) {
            for (int y = 305; y < 360; y += 18)
                for (int x = 105; x < 200; x += 30)
                    h.Expect(shot, x, y, kClear, 2, "dd", "no-shade");
            h.Shot(shot);
            continue;
        }
        // Sprite 1862 tiled from the rectangle's corner, drawn opaque where
        // it is not transparent and not the colour key.
        for (int y = 300; y < 360; y += 7) {
            for (int x = 100; x < 200; x += 9) {
                const uint32_t p = RecordPixel(*shade, (x - 100) % shade->width, (y - 300) % shade->height);
                const bool shown = (p >> 24) != 0 && (p & 0xFFFFFF) != 0xFF00FF;
                h.Expect(shot, x, y, shown ? (p | 0xFF000000u) : kClear, 2, "dd", "shade-tile");
            }
        }
        h.Shot(shot);
    }
    h.app->gui->root->skin = 0;
}

}  // namespace

int RunScene(Harness& h, int type, const std::string& gfxPath) {
    if (!h.Open(800, 600, "Velmora back-end scene"))
        return 2;
    h.Check(h.app->CreateGraphicsEngine(type), "engine " + std::to_string(type) + " starts");
    if (!h.app->engine)
        return 1;
    h.Check(h.app->sprites->Load(gfxPath) != 0, "the generated graphics file loads");
    std::unique_ptr<SpriteRecord> font = MakeBlockFont();
    h.app->SetFont(font.get(), true);

    Scene scene(h, type);
    if (!scene.Prepare())
        return 1;
    for (int frame = 0; frame < 3; ++frame) {
        scene.Draw();
        EndAndRead(h, type, "scene", frame == 2);
        h.Pump();
    }
    scene.ExpectScene("scene");
    h.Shot("scene");

    if (type == kEngineDirectDraw)
        DirectDrawSkins(h);

    // After a resize the next frame fills the new client area. An odd width
    // makes rows of 3-byte pixels that are not a multiple of 4 bytes long.
    h.Check(h.Resize("resize", 1001, 701), "the application object sees the new client size");
    const int w = h.app->clientWidth;
    const int hh = h.app->clientHeight;
    for (int frame = 0; frame < 3; ++frame) {
        Graphics& g = *h.app->graphics;
        if (!g.BeginScene())
            continue;
        g.ClearScene(kClear);
        g.RenderRectangle(kMarker, 0, 0, 20, 20);
        g.RenderRectangle(kMarker, w - 30, hh - 30, 30, 30);
        EndAndRead(h, type, "resized", frame == 2);
        h.Pump();
    }
    for (const auto& p : {std::make_pair(2, 2), std::make_pair(w - 1, hh - 1), std::make_pair(w - 25, hh - 25)})
        h.Expect("resized", p.first, p.second, kMarker, 2, "common", "corner-marker");
    h.Expect("resized", w / 2, hh / 2, kClear, 2, "common", "background");
    h.Expect("resized", w - 40, hh - 1, kClear, 2, "common", "left-of-marker");
    h.Shot("resized");
    return h.failures ? 1 : 0;
}
