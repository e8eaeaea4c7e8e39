#pragma once

// The arithmetic of the Direct3D 9 back end: vertex lists, colours, the buffer
// stretch rectangles and the screen-read copy. Portable, so it is tested
// natively; DirectXEngineWin32.cpp feeds the results to the device.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/BackEndMath.h"
#include "engine/GraphicsEngine.h"

// The one vertex format of the Direct3D back end, pre-transformed
// (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1). The light map builds these
// and hands them to DirectXEngine::RenderBatch.
struct ScreenVertex {
    float x;
    float y;
    float z;        // always 0
    float rhw;      // always 1
    uint32_t color; // D3DCOLOR, 0xAARRGGBB
    float u;
    float v;
};
static_assert(sizeof(ScreenVertex) == 28, "the device reads vertices with a stride of 28 bytes");

// Vertices the RenderBatch vertex buffer holds: 420 000 bytes. A multiple of 3,
// so a chunk never splits a triangle.
constexpr int kBatchVertices = 15000;
// The side of the square off-screen buffer the game screen is drawn into.
constexpr int kDirect3DBufferSize = 1024;

// An interface colour (0xAABBGGRR) as a D3DCOLOR (0xAARRGGBB).
uint32_t ToD3DColor(uint32_t rgba);

// "<message> (error code 0x<code>)", the code in lower-case hex without leading zeros.
std::string D3DErrorText(const std::string& message, uint32_t code);

// A filled rectangle as a triangle strip, without the half-pixel shift.
void RectangleStrip(uint32_t d3dColor, float x, float y, float w, float h, ScreenVertex out[4]);

// A triangle with one colour per corner, shifted by half a pixel so that
// pixel centres land on whole coordinates.
void TriangleVertices(const uint32_t d3dColors[3], const float points[6], ScreenVertex out[3]);

// A sprite quad as a triangle strip (top-left, top-right, bottom-left,
// bottom-right), shifted by half a pixel, with one colour per corner in the
// same order.
void SpriteStrip(float x, float y, float w, float h, const TexCoords& coords, const uint32_t d3dColors[4],
                 ScreenVertex out[4]);

// The quads of a sprite batch as one triangle list (six vertices a quad), so
// that a whole batch, a line of text, is one draw call.
void BatchTriangles(const BatchQuad* quads, int count, uint32_t d3dColor, std::vector<ScreenVertex>& out);

// The vertex counts RenderBatch draws, in order: whole triangles only (a count
// that is not a multiple of 3 drops its last vertices), at most
// kBatchVertices at a time so that the vertex buffer is never overrun.
std::vector<int> BatchChunks(int count);

// Copies x, y and colour of the light-map vertices and fills in the rest
// (z 0, rhw 1, no texture coordinates).
void CopyBatchVertices(const ScreenVertex* in, int count, ScreenVertex* out);

// The window rectangle the buffer is stretched onto: each term truncated
// before adding, right and bottom clamped to the client area.
IntRect BufferDestination(float x, float y, float w, float h, int clientWidth, int clientHeight);
// True when stretching the buffer is worth a StretchRect call: the clamped
// destination and the source both have room. An empty or inverted one (a view
// placed right of or below a small window) would make the call fail, and a
// failed stretch ends the program.
bool IsStretchable(const IntRect& destination, int sourceWidth, int sourceHeight);

// Copies a rectangle of a screen image (B, G, R, A per pixel, `pitch` bytes a
// row) into a block of w x h pixels of R, G, B, bottom row first. The block is
// zero-filled first: pixels that lie off the display stay black instead of
// holding whatever the allocation held.
void CopyScreenPixels(const uint8_t* screen, int pitch, int displayWidth, int displayHeight, int x, int y, int w,
                      int h, uint8_t* block);
