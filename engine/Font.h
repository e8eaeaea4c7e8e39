#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Block.h"
#include "engine/GraphicsEngine.h"
#include "engine/Sprite.h"

// The one bitmap font of the client: a glyph sheet of 32 x 8 cells of 16 x 16
// pixels for the codes 32 to 255 (sprite 2 of the graphics file) and a table
// of advance widths. The sheet is a coverage mask: ink strength in red.
//
// Under Direct3D and OpenGL a string is drawn as one batch of its glyphs;
// under DirectDraw, which cannot tint, every text colour gets its own
// pre-tinted sheet, made once and kept in a cache that owns it.
class Font : public Block {
public:
    static constexpr int kAdvanceCount = 256;
    // Lines above this y are skipped; Graphics::RenderText passes it.
    static constexpr int kTopLimit = -128;

    Font();
    ~Font() override;

    // Makes a new sheet from the decoded glyph image and returns it; the sheet
    // becomes the font's. Ink becomes opaque white, or the colour when tint is
    // set. Unless keepWidths is set the advances are measured from the image.
    Sprite* Build(SpriteRecord* image, uint32_t color, bool tint, bool keepWidths);
    // Selects the colour of the glyphs drawn next.
    void SetTint(uint32_t color);
    void ResetColor();
    // Draws the w x h cell at (sourceX, sourceY) of the sheet at (x, y), or
    // adds it to the open batch.
    void RenderGlyph(float x, float y, float w, float h, float sourceX, float sourceY);
    void DrawText(const std::string& text, float x, float y, uint32_t color, int topLimit);

    // Between BeginBatch and EndBatch the glyphs of RenderGlyph are gathered
    // and drawn with one engine call per run, where the back end draws batches
    // (Direct3D, OpenGL); elsewhere each glyph is drawn at once. A run is drawn
    // in the colour current when it is flushed: SetTint and ResetColor flush
    // it first, and a caller that draws anything else between glyphs calls
    // FlushBatch before, so the order of drawing stays as written.
    void BeginBatch(size_t glyphs);
    void FlushBatch();
    void EndBatch();
    // The advance at index (code - 32) for 0 to 223, otherwise 5.
    int GetCharWidth(uint16_t index) const;
    int GetTextWidth(const std::string& text) const;

    Sprite* sheet = nullptr;
    int advances[kAdvanceCount];
    int cellWidth = 16;
    int cellHeight = 16;

    struct CachedSheet {
        Sprite* sheet;
        uint32_t color;
    };
    std::vector<CachedSheet> colorCache;  // DirectDraw only; owns its sheets

private:
    int EngineType() const;
    GraphicsEngine* Engine() const;
    bool IsCached(const Sprite* sprite) const;
    // The back ends that draw a batch in one call.
    bool EngineBatches() const;
    // Draws the open run, also an empty one, and empties it.
    void DrawRun();

    bool batching_ = false;
    // The open run; its capacity is kept from string to string.
    std::vector<BatchQuad> batch_;
};

// The built-in advance widths of the codes 32 to 287 (the last 32 entries exist
// only for measuring an eight-row sheet).
extern const int kBuiltInAdvances[Font::kAdvanceCount];
