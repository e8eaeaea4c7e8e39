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
