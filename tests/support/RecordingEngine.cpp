#include "tests/support/RecordingEngine.h"

#include <cstdio>
#include <cstring>

RecordingEngine* RecordingEngine::last = nullptr;
std::set<int> RecordingEngine::failingTypes;
std::vector<EngineEvent> RecordingEngine::history;

namespace {
int g_nextSerial = 1;
}

void RecordingEngine::ResetHistory() {
    failingTypes.clear();
    history.clear();
    g_nextSerial = 1;
}

GraphicsEngine* MakeRecordingEngine(int type) {
    if (type < 1 || type > 3)
        return nullptr;
    RecordingEngine::last = new RecordingEngine(type);
    RecordingEngine::last->initResult = RecordingEngine::failingTypes.count(type) == 0;
    return RecordingEngine::last;
}

RecordingEngine::RecordingEngine(int type) : type(type), serial(g_nextSerial++) {}

RecordingEngine::~RecordingEngine() {
    ReleaseAllSprites();
    history.push_back({serial, EngineEvent::Destroyed, 0});
    if (last == this)
        last = nullptr;
}

RecordedCall& RecordingEngine::Record(const std::string& op, std::initializer_list<Arg> args,
                                      const Sprite* sprite) {
    RecordedCall call;
    call.op = op;
    call.sprite = sprite;
    call.text = op + "(";
    bool first = true;
    if (sprite) {
        call.text += "sprite " + std::to_string(sprite->handle);
        first = false;
    }
    for (const Arg& arg : args) {
        char number[32];
        if (arg.color)
            std::snprintf(number, sizeof number, "0x%08x", unsigned(uint32_t(arg.value)));
        else
            std::snprintf(number, sizeof number, "%.9g", arg.value);
        call.text += (first ? "" : ", ") + std::string(number);
        call.args.push_back(arg.value);
        first = false;
    }
    call.text += ")";
    calls.push_back(std::move(call));
    return calls.back();
}

std::vector<std::string> RecordingEngine::Log() const {
    std::vector<std::string> log;
    for (const RecordedCall& call : calls)
        log.push_back(call.text);
    return log;
}

std::vector<const RecordedCall*> RecordingEngine::Calls(const std::string& op) const {
    std::vector<const RecordedCall*> found;
    for (const RecordedCall& call : calls)
        if (call.op == op)
            found.push_back(&call);
    return found;
}

size_t RecordingEngine::Count(const std::string& op) const { return Calls(op).size(); }

bool RecordingEngine::SetSettings() {
    Record("SetSettings", {});
    return true;
}

void RecordingEngine::GenerateSprite(Sprite* sprite, SpriteRecord* record, bool nearest) {
    ReleaseOldImage(sprite);
    sprite->handle = nextHandle++;
    AdoptSprite(sprite);
    ++spritesGenerated;
    history.push_back({serial, EngineEvent::Generated, sprite->handle});
    if (keepPixels && record->pixels)
        lastPixels.assign(record->pixels.get(), record->pixels.get() + size_t(record->width) * record->height * 4);
    Record("GenerateSprite", {N(record->width), N(record->height), N(nearest)}, sprite);
}

void RecordingEngine::SetColor(uint32_t color) { Record("SetColor", {C(color)}); }

bool RecordingEngine::InitInternal() {
    Record("Init", {});
    return initResult;
}

void RecordingEngine::ClearSceneInternal(uint32_t color) { Record("ClearScene", {C(color)}); }

bool RecordingEngine::BeginSceneInternal() {
    Record("BeginScene", {});
    return beginSceneResult;
}

void RecordingEngine::EndSceneInternal() { Record("EndScene", {}); }

void RecordingEngine::RenderRectangleInternal(uint32_t color, float x, float y, float w, float h, float angle,
                                              bool rotate) {
    if (rotate)
        Record("RenderRectangle", {C(color), N(x), N(y), N(w), N(h), N(angle), N(1)});
    else
        Record("RenderRectangle", {C(color), N(x), N(y), N(w), N(h)});
}

void RecordingEngine::RenderTriangleInternal(uint32_t color1, uint32_t color2, uint32_t color3, float x1, float y1,
                                             float x2, float y2, float x3, float y3) {
    Record("RenderTriangle", {C(color1), C(color2), C(color3), N(x1), N(y1), N(x2), N(y2), N(x3), N(y3)});
}

void RecordingEngine::RenderSpriteInternal(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                                           float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                           float sourceHeight, float angle, bool rotate) {
    Record("RenderSprite",
           {N(x), N(y), N(w), N(h), N(textureWidth), N(textureHeight), N(sourceX), N(sourceY), N(sourceWidth),
            N(sourceHeight), N(angle), N(rotate)},
           sprite);
}

void RecordingEngine::RenderSpriteGradientInternal(Sprite* sprite, float x, float y, float w, float h,
                                                   float textureWidth, float textureHeight, float sourceX,
                                                   float sourceY, float sourceWidth, float sourceHeight,
                                                   uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                                                   uint32_t bottomRight) {
    Record("RenderSpriteGradient",
           {N(x), N(y), N(w), N(h), N(textureWidth), N(textureHeight), N(sourceX), N(sourceY), N(sourceWidth),
            N(sourceHeight), C(topLeft), C(topRight), C(bottomLeft), C(bottomRight)},
           sprite);
}

void RecordingEngine::RenderSpriteBatchInternal(Sprite* sprite, const BatchQuad* quads, int count) {
    RecordedCall& call = Record("RenderSpriteBatch", {N(count)}, sprite);
    if (quads && count > 0)
        call.quads.assign(quads, quads + count);
}

void RecordingEngine::RenderBatch(const ScreenVertex* vertices, int count) {
    RecordedCall& call = Record("RenderBatch", {N(count)});
    if (vertices && count > 0)
        call.vertices.assign(vertices, vertices + count);
}

void RecordingEngine::EnableClipperInternal(ClipRect clip) {
    Record("EnableClipper", {N(clip.left), N(clip.top), N(clip.right), N(clip.bottom)});
}

void RecordingEngine::DisableClipperInternal() { Record("DisableClipper", {}); }
void RecordingEngine::BeginBufferInternal() { Record("BeginBuffer", {}); }
void RecordingEngine::EndBufferInternal() { Record("EndBuffer", {}); }

void RecordingEngine::RenderBufferInternal(float x, float y, float w, float h, float sourceWidth,
                                           float sourceHeight) {
    Record("RenderBuffer", {N(x), N(y), N(w), N(h), N(sourceWidth), N(sourceHeight)});
}

void RecordingEngine::SetNearestFilteringInternal(bool nearest) { Record("SetNearestFiltering", {N(nearest)}); }

uint8_t* RecordingEngine::ReadScreenInternal(int x, int y, int w, int h) {
    Record("ReadScreen", {N(x), N(y), N(w), N(h)});
    if (w <= 0 || h <= 0)
        return nullptr;
    // A recognisable picture: red = column, green = row (bottom-up), blue = 7.
    uint8_t* block = new uint8_t[size_t(w) * size_t(h) * 3];
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column) {
            uint8_t* p = block + (size_t(row) * size_t(w) + size_t(column)) * 3;
            p[0] = uint8_t(column);
            p[1] = uint8_t(row);
            p[2] = 7;
        }
    return block;
}

void RecordingEngine::ReleaseSpriteInternal(Sprite* sprite) {
    ++spritesReleased;
    history.push_back({serial, EngineEvent::Released, sprite->handle});
    Record("ReleaseSprite", {}, sprite);
}
