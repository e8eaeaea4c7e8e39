#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/Direct3DMath.h"
#include "engine/GraphicsEngine.h"

// One call that reached the recording engine: its name, its numeric arguments
// (colours as their u32 value) and a readable form such as
// "RenderRectangle(0xff000000, 1, 2, 3, 4)".
struct RecordedCall {
    std::string op;
    std::vector<double> args;
    std::string text;
    const Sprite* sprite = nullptr;
    std::vector<BatchQuad> quads;  // RenderSpriteBatch only
    std::vector<ScreenVertex> vertices;  // RenderBatch only
};

// What happened to sprite images in every recording engine of a test, kept
// after the engines are gone, so a test can check that an engine switch
// released each image of the old engine exactly once.
struct EngineEvent {
    enum Kind { Generated, Released, Destroyed };
    int engine;  // RecordingEngine::serial
    Kind kind;
    uint32_t handle;  // the sprite's handle; 0 for Destroyed
};

// A back end for tests: draws nothing, logs every call with its arguments.
// GUI and drawing tests assert on what reached it.
class RecordingEngine : public GraphicsEngine {
public:
    explicit RecordingEngine(int type = kEngineDirect3D);
    ~RecordingEngine() override;

    bool SetSettings() override;
    void GenerateSprite(Sprite* sprite, SpriteRecord* record, bool nearest) override;
    void SetColor(uint32_t color) override;
    void RenderBatch(const ScreenVertex* vertices, int count) override;

    // The readable form of every call, in order.
    std::vector<std::string> Log() const;
    // Calls of one operation, in order.
    std::vector<const RecordedCall*> Calls(const std::string& op) const;
    size_t Count(const std::string& op) const;
    void Clear() { calls.clear(); }

    int type;
    int serial;  // 1 for the first engine made since ResetHistory, and so on
    bool initResult = true;
    bool beginSceneResult = true;
    std::vector<RecordedCall> calls;
    int spritesGenerated = 0;
    int spritesReleased = 0;
    uint32_t nextHandle = 1;
    // When set, GenerateSprite keeps a copy of the pixels it was given.
    bool keepPixels = false;
    std::vector<uint8_t> lastPixels;

    // The recording engine made most recently by MakeRecordingEngine.
    static RecordingEngine* last;
    // Engine types whose Init fails in engines made by MakeRecordingEngine.
    static std::set<int> failingTypes;
    // Sprite images made and released by every engine, and engine ends.
    static std::vector<EngineEvent> history;
    // Clears the failing types and the history and restarts the serials.
    static void ResetHistory();

protected:
    bool InitInternal() override;
    void ClearSceneInternal(uint32_t color) override;
    bool BeginSceneInternal() override;
    void EndSceneInternal() override;
    void RenderRectangleInternal(uint32_t color, float x, float y, float w, float h, float angle,
                                 bool rotate) override;
    void RenderTriangleInternal(uint32_t color1, uint32_t color2, uint32_t color3, float x1, float y1, float x2,
                                float y2, float x3, float y3) override;
    void RenderSpriteInternal(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                              float textureHeight, float sourceX, float sourceY, float sourceWidth,
                              float sourceHeight, float angle, bool rotate) override;
    void RenderSpriteGradientInternal(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                                      float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                      float sourceHeight, uint32_t topLeft, uint32_t topRight,
                                      uint32_t bottomLeft, uint32_t bottomRight) override;
    void RenderSpriteBatchInternal(Sprite* sprite, const BatchQuad* quads, int count) override;
    void EnableClipperInternal(ClipRect clip) override;
    void DisableClipperInternal() override;
    void BeginBufferInternal() override;
    void EndBufferInternal() override;
    void RenderBufferInternal(float x, float y, float w, float h, float sourceWidth, float sourceHeight) override;
    void SetNearestFilteringInternal(bool nearest) override;
    uint8_t* ReadScreenInternal(int x, int y, int w, int h) override;
    void ReleaseSpriteInternal(Sprite* sprite) override;

private:
    // A number argument, or a colour (printed in hex).
    struct Arg {
        double value;
        bool color;
    };
    RecordedCall& Record(const std::string& op, std::initializer_list<Arg> args, const Sprite* sprite = nullptr);
    static Arg C(uint32_t color) { return {double(color), true}; }
    static Arg N(double value) { return {value, false}; }
};

// An engine factory for KEngine2::engineFactory: a recording engine of the
// type for types 1 to 3, none otherwise.
GraphicsEngine* MakeRecordingEngine(int type);
