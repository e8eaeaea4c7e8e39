#include "engine/Direct3DMath.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

uint32_t ToD3DColor(uint32_t rgba) {
    const uint32_t red = rgba & 0xFF;
    const uint32_t blue = (rgba >> 16) & 0xFF;
    return (rgba & 0xFF00FF00u) | red << 16 | blue;
}

std::string D3DErrorText(const std::string& message, uint32_t code) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%x", unsigned(code));
    return message + " (error code 0x" + digits + ")";
}

namespace {
ScreenVertex Vertex(float x, float y, uint32_t color, float u, float v) { return {x, y, 0.0f, 1.0f, color, u, v}; }
}  // namespace

void RectangleStrip(uint32_t d3dColor, float x, float y, float w, float h, ScreenVertex out[4]) {
    out[0] = Vertex(x, y, d3dColor, 0, 0);
    out[1] = Vertex(x + w, y, d3dColor, 1, 0);
    out[2] = Vertex(x, y + h, d3dColor, 0, 1);
    out[3] = Vertex(x + w, y + h, d3dColor, 1, 1);
}

void TriangleVertices(const uint32_t d3dColors[3], const float points[6], ScreenVertex out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = Vertex(points[2 * i] - 0.5f, points[2 * i + 1] - 0.5f, d3dColors[i], 0, 0);
}

void SpriteStrip(float x, float y, float w, float h, const TexCoords& coords, const uint32_t d3dColors[4],
                 ScreenVertex out[4]) {
    const float left = x - 0.5f;
    const float top = y - 0.5f;
    out[0] = Vertex(left, top, d3dColors[0], coords.uLeft, coords.vTop);
    out[1] = Vertex(left + w, top, d3dColors[1], coords.uRight, coords.vTop);
    out[2] = Vertex(left, top + h, d3dColors[2], coords.uLeft, coords.vBottom);
    out[3] = Vertex(left + w, top + h, d3dColors[3], coords.uRight, coords.vBottom);
}

void BatchTriangles(const BatchQuad* quads, int count, uint32_t d3dColor, std::vector<ScreenVertex>& out) {
    out.clear();
    if (!quads || count <= 0)
        return;
    out.reserve(size_t(count) * 6);
    for (int i = 0; i < count; ++i) {
        const BatchQuad& q = quads[i];
        const TexCoords c = SourceTexCoords(q.textureWidth, q.textureHeight, q.sourceX, q.sourceY, q.sourceWidth,
                                            q.sourceHeight);
        const float left = q.x - 0.5f;
        const float top = q.y - 0.5f;
        const ScreenVertex topLeft = Vertex(left, top, d3dColor, c.uLeft, c.vTop);
        const ScreenVertex topRight = Vertex(left + q.w, top, d3dColor, c.uRight, c.vTop);
        const ScreenVertex bottomRight = Vertex(left + q.w, top + q.h, d3dColor, c.uRight, c.vBottom);
        const ScreenVertex bottomLeft = Vertex(left, top + q.h, d3dColor, c.uLeft, c.vBottom);
        // The two triangles of a fan over the corners in this order.
        out.insert(out.end(), {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft});
    }
}

std::vector<int> BatchChunks(int count) {
    std::vector<int> chunks;
    for (int left = count > 0 ? count - count % 3 : 0; left > 0; left -= kBatchVertices)
        chunks.push_back(std::min(left, kBatchVertices));
    return chunks;
}

void CopyBatchVertices(const ScreenVertex* in, int count, ScreenVertex* out) {
    for (int i = 0; i < count; ++i)
        out[i] = Vertex(in[i].x, in[i].y, in[i].color, 0, 0);
}

IntRect BufferDestination(float x, float y, float w, float h, int clientWidth, int clientHeight) {
    IntRect rect;
    rect.left = Truncate(x);
    rect.top = Truncate(y);
    rect.right = std::min(Truncate(x) + Truncate(w), clientWidth);
    rect.bottom = std::min(Truncate(y) + Truncate(h), clientHeight);
    return rect;
}

void CopyScreenPixels(const uint8_t* screen, int pitch, int displayWidth, int displayHeight, int x, int y, int w,
                      int h, uint8_t* block) {
    if (w <= 0 || h <= 0)
        return;
    std::memset(block, 0, size_t(w) * size_t(h) * 3);
    for (int row = 0; row < h; ++row) {
        const int screenY = y + row;
        if (screenY < 0 || screenY >= displayHeight)
            continue;
        uint8_t* out = block + size_t(h - 1 - row) * size_t(w) * 3;
        const uint8_t* line = screen + size_t(screenY) * size_t(pitch);
        for (int column = 0; column < w; ++column) {
            const int screenX = x + column;
            if (screenX < 0 || screenX >= displayWidth)
                continue;
            const uint8_t* pixel = line + size_t(screenX) * 4;
            out[column * 3 + 0] = pixel[2];
            out[column * 3 + 1] = pixel[1];
            out[column * 3 + 2] = pixel[0];
        }
    }
}

bool IsStretchable(const IntRect& destination, int sourceWidth, int sourceHeight) {
    return destination.right > destination.left && destination.bottom > destination.top && sourceWidth > 0 &&
           sourceHeight > 0;
}
