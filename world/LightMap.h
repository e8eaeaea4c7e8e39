#pragma once

#include <cstdint>
#include <vector>

#include "engine/Direct3DMath.h"

class EffectList;
class Graphics;
class GraphicsEngine;
class Map;

// One light of the view's tiles: the tile (view column and row, counted from
// the view's top-left tile), its radius in tiles and its colour.
struct LightSource {
    int dx = 0;
    int dy = 0;
    int radius = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
};

// A light that moves with the frame (a creature's, an effect's): centre and
// radius in units of 16 per tile, from the view's top-left tile.
struct DynamicLight {
    float x = 0;
    float y = 0;
    float radius = 0;
};

// What one frame of the light map needs of the world, gathered from the map by
// LightMap::Update (or by a test).
struct LightFrame {
    int cameraZ = 7;
    bool stretched = false;  // the view's tiles are not 32 pixels: drawn into the buffer at (0, 0)
    int backEnd = 0;         // 1 OpenGL, 2 Direct3D 9, 3 DirectDraw
    int originX = 0;         // screen position of the view's top-left tile, scroll offset applied
    int originY = 0;
    std::vector<DynamicLight> lights;
};

// The darkness over the game view, with pools of light cut into it. A grid of
// 60 x 60 cells half a tile apart; cell (8, 8) is the view's top-left corner,
// so the grid reaches four tiles beyond the view to the left and above. Each
// cell holds a darkness from 0 (lit) to 1 (dark) and a colour.
//
// The light of the tiles (static) is computed only when the level or the
// sources change; the lights of creatures and effects are added every frame,
// then the grid is smoothed over 3 x 3 cells and drawn: two triangles a cell
// under OpenGL, one batch of triangles under Direct3D 9, and under DirectDraw,
// which cannot blend, opaque black squares where it is darkest.
class LightMap {
public:
    static constexpr int kGrid = 60;
    static constexpr int kDrawColumns = 50;  // cells drawn: 0..49 by 0..41
    static constexpr int kDrawRows = 42;
    static constexpr int kCellPixels = 16;
    static constexpr int kMaxVertices = 21600;
    // The batch is drawn in one RenderBatch call, which takes at most this many.
    static constexpr int kBatchLimit = kMaxVertices < kBatchVertices ? kMaxVertices : kBatchVertices;
    // Under DirectDraw a cell is covered when its corner's alpha exceeds this.
    static constexpr int kOpaqueAlpha = 180;

    static LightMap* Instance();

    LightMap();
    LightMap(const LightMap&) = delete;
    LightMap& operator=(const LightMap&) = delete;

    // The darkness level from the server, 0 (day) to 100.
    void SetDarkness(int level);
    void SetLightSources(const std::vector<LightSource>& list);
    // Recomputes and draws the light over the map the game screen installed
    // (`map`); nothing without one or without an application object.
    void Update();
    // The same for a given frame, drawn through `graphics` (nothing drawn when
    // null). Returns false when nothing is drawn (daylight above ground).
    bool Update(const LightFrame& frame, Graphics* graphics, GraphicsEngine* engine);

    // Steps of the update, separate for tests.
    void ComputeStaticLight();
    void AddDynamicLight(const std::vector<DynamicLight>& lights);
    void Smooth();
    // The colour of a drawn corner: the smoothed colour with alpha
    // trunc(darkness x 255).
    uint32_t CornerColor(int cx, int cy) const;

    Map* map = nullptr;  // borrowed; installed by the game screen while it exists

    std::vector<LightSource> sources;
    uint8_t dirty = 1;
    uint8_t stretched = 0;
    int level = 0;
    int frameLevel = 0;
    int backEnd = 0;
    float staticDarkness[kGrid][kGrid];  // [cx][cy]
    uint32_t staticColor[kGrid][kGrid];
    float frameDarkness[kGrid][kGrid];
    uint32_t frameColor[kGrid][kGrid];
    float outDarkness[kGrid][kGrid];
    uint32_t outColor[kGrid][kGrid];
    ScreenVertex vertices[kMaxVertices];
    int vertexCount = 0;

private:
    int staticLevel_ = -1;  // the level the static grid was computed for
    void Draw(const LightFrame& frame, Graphics* graphics, GraphicsEngine* engine);
};
