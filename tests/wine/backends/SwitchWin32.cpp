// Switching the back end at run time, 2 -> 1 -> 3 -> 2, in one process: the
// sprites are made again through the new engine from the records decoded
// once, the font is rebuilt, every image an engine made is freed by it
// before it goes (counted per engine, and checked on the texture or surface
// itself), and the engine after OpenGL draws into a new window.
#include <GL/gl.h>

#include <string>
#include <vector>

#include "engine/DirectDrawEngineWin32.h"
#include "engine/DirectXEngineWin32.h"
#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/OpenGLEngineWin32.h"
#include "engine/SpriteStore.h"
#include "tests/wine/backends/Harness.h"
#include "tests/wine/backends/Modes.h"

namespace {

Harness* g_harness = nullptr;

// A back end that counts the images it makes and frees. Its destructor runs
// before the back end's own, which frees whatever is left uncounted, so a
// sprite still holding an image at that point shows as a difference.
template <class Base>
class Counting : public Base {
public:
    explicit Counting(int type) : type_(type) {}
    ~Counting() override {
        g_harness->Check(made > 0 && made == released,
                         "engine " + std::to_string(type_) + " freed every image it made (" + std::to_string(made) +
                             " made, " + std::to_string(released) + " freed)");
    }

    void GenerateSprite(Sprite* sprite, SpriteRecord* record, bool nearest) override {
        Base::GenerateSprite(sprite, record, nearest);
        if (sprite && sprite->engine == this)
            ++made;
    }

    int made = 0;
    int released = 0;

protected:
    void ReleaseSpriteInternal(Sprite* sprite) override {
        ++released;
        Base::ReleaseSpriteInternal(sprite);
    }

private:
    int type_;
};

GraphicsEngine* MakeCountingEngine(int type) {
    switch (type) {
    case kEngineOpenGL:
        return new Counting<OpenGLEngine>(type);
    case kEngineDirect3D:
        return new Counting<DirectXEngine>(type);
    case kEngineDirectDraw:
        return new Counting<DirectDrawEngine>(type);
    default:
        return nullptr;
    }
}

bool HasImage(const Sprite* sprite, int type) {
    switch (type) {
    case kEngineOpenGL:
        return sprite->handle != 0;
    case kEngineDirect3D:
        return sprite->object != nullptr;
    default:
        return sprite->surface != 0;
    }
}

// Frees the sprites through the live engine and checks that the texture or
// surface lost the engine's reference: the test holds the only one left.
void CheckImagesAreFreed(Harness& h, int id, int type) {
    Sprite* sprite = h.app->sprites->GetSprite(id);
    const std::string what = "engine " + std::to_string(type) + " frees the image of sprite " + std::to_string(id);
    if (type == kEngineOpenGL) {
        const GLuint name = sprite->handle;
        h.app->sprites->ReleaseTextures();
        h.Check(name != 0 && glIsTexture(name) == GL_FALSE, what);
        return;
    }
    IUnknown* image = type == kEngineDirect3D ? static_cast<IUnknown*>(static_cast<IDirect3DTexture9*>(sprite->object))
                                              : reinterpret_cast<IUnknown*>(sprite->surface);
    image->AddRef();
    h.app->sprites->ReleaseTextures();
    h.Check(image->Release() == 0, what);
}

}  // namespace

int RunSwitch(Harness& h, const std::string& gfxPath) {
    g_harness = &h;
    KEngine2::engineFactory = &MakeCountingEngine;
    if (!h.Open(800, 600, "Velmora back-end switch"))
        return 2;
    h.Check(h.app->sprites->Load(gfxPath) != 0, "the generated graphics file loads");
    std::unique_ptr<SpriteRecord> font = MakeBlockFont();
    h.app->SetFont(font.get(), true);

    // A few sprites of the file, decoded once; their pixels must never be
    // decoded again.
    std::vector<int> ids;
    std::vector<const uint8_t*> pixels;
    for (int id = 1; id < SpriteStore::kMaxSprites && ids.size() < 6; ++id) {
        const SpriteRecord* raw = h.app->sprites->GetRecord(id);
        if (!raw || raw->width == 0 || raw->height == 0)
            continue;
        ids.push_back(id);
        pixels.push_back(h.app->sprites->DecodeSprite(uint32_t(id))->pixels.get());
    }
    h.Check(!ids.empty(), "the graphics file has sprites");

    const int order[] = {kEngineDirect3D, kEngineOpenGL, kEngineDirectDraw, kEngineDirect3D};
    for (size_t step = 0; step < 4; ++step) {
        const int type = order[step];
        const std::string name = "engine " + std::to_string(type) + " (step " + std::to_string(step + 1) + ")";
        if (step > 0)
            CheckImagesAreFreed(h, ids.front(), order[step - 1]);
        HWND before = static_cast<HWND>(h.app->window);
        h.Check(h.app->CreateGraphicsEngine(type) && h.app->engine, name + " starts");
        if (!h.app->engine)
            return 1;
        // OpenGL's pixel format stays with its window: leaving OpenGL, the
        // application puts a new window in its place, unnoticed by the
        // program (no lost window); otherwise the window stays.
        HWND after = static_cast<HWND>(h.app->window);
        if (step > 0 && order[step - 1] == kEngineOpenGL)
            h.Check(after != before && !::IsWindow(before) && ::IsWindowVisible(after) && !h.app->windowLost,
                    name + ": a new window replaces OpenGL's");
        else
            h.Check(after == before, name + ": the window stays");
        Graphics& g = *h.app->graphics;
        for (int frame = 0; frame < 2; ++frame) {
            if (!g.BeginScene())
                continue;
            g.ClearScene(0xFF202020u);
            int x = 10;
            for (int id : ids) {
                g.RenderSprite(h.app->sprites->GetSprite(id), x, 10);
                x += 40;
            }
            g.RenderText("HH", 10, 100, 0xFF30D0F0u, true);
            g.RenderText("HH", 10, 130, 0xFFE06010u, false);
            g.EndScene();
            h.Pump();
        }
        bool fresh = true;
        for (int id : ids) {
            const Sprite* sprite = h.app->sprites->GetSprite(id);
            fresh = fresh && sprite->engine == h.app->engine && HasImage(sprite, type);
        }
        h.Check(fresh, name + ": every sprite was made again by the new engine");
        h.Check(h.app->font && h.app->font->sheet && h.app->font->sheet->engine == h.app->engine &&
                    HasImage(h.app->font->sheet, type),
                name + ": the font was rebuilt");
        bool decodedOnce = true;
        for (size_t i = 0; i < ids.size(); ++i) {
            const SpriteRecord* record = h.app->sprites->GetRecord(ids[i]);
            decodedOnce = decodedOnce && !record->data && record->pixels.get() == pixels[i];
        }
        h.Check(decodedOnce, name + ": no sprite was decoded again");
    }
    // Deleting the application object deletes the last engine, which checks
    // its own count.
    delete h.app;
    h.app = nullptr;
    return h.failures ? 1 : 0;
}
