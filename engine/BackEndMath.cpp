#include "engine/BackEndMath.h"

TexCoords SourceTexCoords(float textureWidth, float textureHeight, float sourceX, float sourceY, float sourceWidth,
                          float sourceHeight) {
    TexCoords coords;
    coords.uLeft = sourceX / textureWidth;
    coords.uRight = (sourceX + sourceWidth) / textureWidth;
    coords.vTop = 1.0f - sourceY / textureHeight;
    coords.vBottom = 1.0f - (sourceY + sourceHeight) / textureHeight;
    return coords;
}

void SpriteQuadCorners(float x, float y, float w, float h, const TexCoords& c, QuadCorner out[4]) {
    out[0] = {c.uLeft, c.vBottom, x, y + h};
    out[1] = {c.uLeft, c.vTop, x, y};
    out[2] = {c.uRight, c.vTop, x + w, y};
    out[3] = {c.uRight, c.vBottom, x + w, y + h};
}

void BatchQuadCorners(const BatchQuad* quads, int count, std::vector<QuadCorner>& out) {
    out.clear();
    if (!quads || count <= 0)
        return;
    out.resize(size_t(count) * 4);
    for (int i = 0; i < count; ++i) {
        const BatchQuad& q = quads[i];
        SpriteQuadCorners(q.x, q.y, q.w, q.h,
                          SourceTexCoords(q.textureWidth, q.textureHeight, q.sourceX, q.sourceY, q.sourceWidth,
                                          q.sourceHeight),
                          &out[size_t(i) * 4]);
    }
}

void ColorToFloats(uint32_t color, float out[4]) {
    for (int channel = 0; channel < 4; ++channel)
        out[channel] = float((color >> (8 * channel)) & 0xFF) / 255.0f;
}

void ClipPlanes(const ClipRect& clip, double planes[4][4]) {
    const double keep[4][4] = {
        {1, 0, 0, -double(clip.left)},
        {0, 1, 0, -double(clip.top)},
        {-1, 0, 0, double(clip.right)},
        {0, -1, 0, double(clip.bottom)},
    };
    for (int plane = 0; plane < 4; ++plane)
        for (int i = 0; i < 4; ++i)
            planes[plane][i] = keep[plane][i];
}
