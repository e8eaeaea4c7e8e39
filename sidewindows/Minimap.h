#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "game/GameControlIds.h"
#include "sidewindows/MinimapChunk.h"
#include "sidewindows/MinimapFiles.h"
#include "sidewindows/SideWindow.h"
#include "world/Position.h"

class GUIButton;

// The minimap window: the explored world around the player, recorded tile by
// tile as the map view receives it, kept in chunks of 256 x 256 tiles of one
// floor and stored in one area file per chunk. The world map reads the same
// chunks and markers.
//
// Chunk lifetime: a chunk is made only by recording (SetTile) and by the
// conversion of the old file; a look-up or a draw of land never explored
// finds no chunk and answers the defaults (colour 0, speed 100) without
// making one, so panning over unexplored land does not grow memory. A chunk
// with an area file is loaded on first look-up and kept. Every chunk lives
// until the window is destroyed at the end of the game, which writes the
// changed ones once.
class Minimap : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kMinimapWindow;
    static constexpr int kFirstTooltipKey = 201;
    static constexpr int kLastTooltipKey = 219;

    Minimap();
    // Writes every changed chunk, then releases the textures through the back
    // end that made them.
    ~Minimap() override;

    // The chunk of a tile, loaded from its area file on first look-up; null
    // when there is neither a chunk nor a file, and for coordinates outside
    // 0..65535 (x, y) or 0..255 (z), which are skipped rather than wrapped.
    MinimapChunk* GetChunk(int x, int y, int z);
    // The chunk of a tile, made (and loaded) when missing; null only outside
    // the world's coordinates.
    MinimapChunk* MakeChunk(int x, int y, int z);
    // Takes a new chunk in under its key, first saving and letting go of the
    // least recently looked-up ones while kMaxChunks are held.
    MinimapChunk* Hold(uint32_t key, std::unique_ptr<MinimapChunk> chunk);
    // Records one tile; only a colour or speed that differs marks the chunk.
    void SetTile(uint16_t x, uint16_t y, uint8_t z, uint8_t colour, uint8_t speed);
    // 0 (unexplored) and 100 where nothing is recorded.
    uint8_t GetColor(uint16_t x, uint16_t y, uint8_t z);
    uint8_t GetSpeed(uint16_t x, uint16_t y, uint8_t z);
    // A new back end: every chunk makes its texture again at its next draw.
    void InvalidateTextures();

    // The tile under a screen point, or (0, 0, 0) when minimised or outside the map area.
    Position PositionAt(int px, int py);
    // Right button: starts, follows and ends dragging the map.
    void OnMouseDown(int px, int py);
    void OnDrag(int px, int py);
    void OnMouseUp();

    void Update() override;
    void SetMinimized(bool minimized) override;
    void Draw() override;

    static void OnFloorUp(void* minimap);
    static void OnFloorDown(void* minimap);
    static void OnZoomOut(void* minimap);
    static void OnZoomIn(void* minimap);
    static void OnLarge(void* minimap);

    // Area files: the working directory's "minimap/" first, then the user's
    // folder. Only SaveChunk writes them, from the destructor.
    void LoadChunk(MinimapChunk& chunk);
    void SaveChunk(const MinimapChunk& chunk);
    void LoadMarkers();
    // Writes the marker list (after every change by the world map).
    bool SaveMarkers();
    // Asks about the old single file "minimap.map" and converts it on Yes.
    // The question is a modal box, so it is asked from the game screen's
    // first update (ConvertOldFormatOnce), never while the enter-game message
    // is still building the screen.
    void ConvertOldFormat();
    void ConvertOldFormatOnce();

    // The map area: (x + 8, y + 26), w - 16 by h - 69.
    struct Area {
        int x, y, w, h;
    };
    Area MapArea() const;

    // The chunks held, at most kMaxChunks: past it the one looked up longest
    // ago is saved and let go (a server that sends areas all over the world
    // would fill the memory). The widest world map shows 14 x 8 chunks.
    std::map<uint32_t, std::unique_ptr<MinimapChunk>> chunks;
    static constexpr size_t kMaxChunks = 128;
    uint64_t lookups = 0;  // the clock of MinimapChunk::lastUse
    // Keys of areas looked up that have no file, so that a look-up does not
    // try the two files again every frame; bounded, cleared when full.
    std::set<uint32_t> noFile;
    static constexpr size_t kMaxNoFile = 4096;

    MinimapFolders folders;
    std::string oldFilePath = "minimap.map";

    float zoom = 2.0f;  // 0.25 .. 4.0
    int32_t centreX = 327;
    int32_t centreY = 346;
    int32_t floor = 6;
    int32_t playerX = 0;
    int32_t playerY = 0;
    int32_t playerZ = 0;
    int32_t dragStartX = 0;
    int32_t dragStartY = 0;
    int32_t dragStartCentreX = 0;
    int32_t dragStartCentreY = 0;
    bool dragging = false;
    bool conversionAsked = false;

    GUIButton* floorUpButton = nullptr;
    GUIButton* floorDownButton = nullptr;
    GUIButton* zoomOutButton = nullptr;
    GUIButton* zoomInButton = nullptr;
    GUIButton* worldMapButton = nullptr;

    // In the order loaded or added; the world map appends and removes.
    std::vector<MinimapMarker> markers;
};
