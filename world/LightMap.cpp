#include "world/LightMap.h"

#include <algorithm>
#include <cmath>

#include "engine/Graphics.h"
#include "engine/GraphicsEngine.h"

namespace {

uint8_t ClampByte(int value) { return uint8_t(std::min(255, std::max(0, value))); }

uint32_t Rgba(int red, int green, int blue, int alpha) {
    return uint32_t(ClampByte(red)) | uint32_t(ClampByte(green)) << 8 | uint32_t(ClampByte(blue)) << 16 |
           uint32_t(ClampByte(alpha)) << 24;
}

}  // namespace

LightMap* LightMap::Instance() {
    static LightMap* instance = new LightMap();
    return instance;
}

LightMap::LightMap() {
    for (int cx = 0; cx < kGrid; ++cx) {
        for (int cy = 0; cy < kGrid; ++cy) {
            staticDarkness[cx][cy] = frameDarkness[cx][cy] = outDarkness[cx][cy] = 1.0f;
            staticColor[cx][cy] = frameColor[cx][cy] = outColor[cx][cy] = 0xFF000000;
        }
    }
}

void LightMap::SetDarkness(int newLevel) {
    level = newLevel;
    dirty = 1;
}

void LightMap::SetLightSources(const std::vector<LightSource>& list) {
    sources = list;
    dirty = 1;
}

void LightMap::ComputeStaticLight() {
    staticLevel_ = frameLevel;
    const float base = float(frameLevel) / 100.0f;
    for (int cx = 0; cx < kGrid; ++cx) {
        for (int cy = 0; cy < kGrid; ++cy) {
            staticDarkness[cx][cy] = base;
            staticColor[cx][cy] = 0;
        }
    }
    for (const LightSource& source : sources) {
        if (source.radius <= 0)
            continue;  // a pool of no size: nothing to divide by
        const float centreX = float(source.dx * 32 + 16);
        const float centreY = float(source.dy * 32 + 16);
        const float reach = float(source.radius * 32);
        // The box of cells the source may touch, clipped to the grid.
        const int firstX = std::max(0, 2 * source.dx);
        const int lastX = std::min(kGrid - 1, 2 * (source.dx + 4 + source.radius) + 7);
        const int firstY = std::max(0, 2 * source.dy);
        const int lastY = std::min(kGrid - 1, 2 * (source.dy + 4 + source.radius) + 7);
        for (int cx = firstX; cx <= lastX; ++cx) {
            for (int cy = firstY; cy <= lastY; ++cy) {
                const float px = float((cx - 8) * kCellPixels) - centreX;
                const float py = float((cy - 8) * kCellPixels) - centreY;
                const float d = std::sqrt(px * px + py * py) / reach + 0.1f;
                if (d >= staticDarkness[cx][cy])
                    continue;
                staticDarkness[cx][cy] = d;
                const float f = 1.1f - 2.0f * d;
                staticColor[cx][cy] = Rgba(int(std::lround(f * source.red)), int(std::lround(f * source.green)),
                                           int(std::lround(f * source.blue)), 255);
            }
        }
    }
}

void LightMap::AddDynamicLight(const std::vector<DynamicLight>& lights) {
    for (const DynamicLight& light : lights) {
        if (!(light.radius > 0.0f))
            continue;  // a radius of 0 gives no light (and nothing to divide by)
        for (int cx = 0; cx < kDrawColumns; ++cx) {
            for (int cy = 0; cy < kDrawRows; ++cy) {
                const float px = float((cx - 8) * 8) - light.x;
                const float py = float((cy - 8) * 8) - light.y;
                const float d = std::sqrt(px * px + py * py) / light.radius;
                if (d < frameDarkness[cx][cy]) {
                    frameDarkness[cx][cy] = d;
                    frameColor[cx][cy] = 0xFF000000;
                }
            }
        }
    }
}

void LightMap::Smooth() {
    // Every cell a drawn corner reads: columns 0..50, rows 0..42.
    for (int cx = 0; cx <= kDrawColumns; ++cx) {
        for (int cy = 0; cy <= kDrawRows; ++cy) {
            float darkness = 0;
            int red = 0, green = 0, blue = 0;
            for (int nx = cx - 1; nx <= cx + 1; ++nx) {
                for (int ny = cy - 1; ny <= cy + 1; ++ny) {
                    if (nx < 0 || ny < 0 || nx >= kGrid || ny >= kGrid) {
                        darkness += 1.0f;  // beyond the grid it is dark
                        continue;
                    }
                    darkness += frameDarkness[nx][ny];
                    const uint32_t c = frameColor[nx][ny];
                    red += int(c & 0xFF);
                    green += int((c >> 8) & 0xFF);
                    blue += int((c >> 16) & 0xFF);
                }
            }
            outDarkness[cx][cy] = std::min(1.0f, std::max(0.0f, darkness / 9.0f));
            outColor[cx][cy] = Rgba(red / 9, green / 9, blue / 9, 255);
        }
    }
}

uint32_t LightMap::CornerColor(int cx, int cy) const {
    const int alpha = std::min(255, std::max(0, int(outDarkness[cx][cy] * 255.0f)));
    return (outColor[cx][cy] & 0x00FFFFFF) | uint32_t(alpha) << 24;
}

bool LightMap::Update(const LightFrame& frame, Graphics* graphics, GraphicsEngine* engine) {
    frameLevel = level;
    backEnd = frame.backEnd;
    stretched = frame.stretched ? 1 : 0;
    if (frame.cameraZ < 8) {
        if (frameLevel < 2)
            return false;  // daylight
    } else {
        frameLevel = 100;  // below ground it is always night
    }
    // The static grid holds the level it was computed for; going below ground
    // changes the level without a new level message.
    if (dirty || staticLevel_ != frameLevel) {
        ComputeStaticLight();
        dirty = 0;
    }
    std::copy(&staticDarkness[0][0], &staticDarkness[0][0] + kGrid * kGrid, &frameDarkness[0][0]);
    std::copy(&staticColor[0][0], &staticColor[0][0] + kGrid * kGrid, &frameColor[0][0]);
    AddDynamicLight(frame.lights);
    Smooth();
    if (graphics)
        Draw(frame, graphics, engine);
    return true;
}

void LightMap::Draw(const LightFrame& frame, Graphics* graphics, GraphicsEngine* engine) {
    vertexCount = 0;
    for (int cx = 0; cx < kDrawColumns; ++cx) {
        for (int cy = 0; cy < kDrawRows; ++cy) {
            const int x = (cx - 8) * kCellPixels + frame.originX;
            const int y = (cy - 8) * kCellPixels + frame.originY;
            const uint32_t topLeft = CornerColor(cx, cy);
            switch (frame.backEnd) {
            case 1: {
                const uint32_t topRight = CornerColor(cx + 1, cy);
                const uint32_t bottomLeft = CornerColor(cx, cy + 1);
                const uint32_t bottomRight = CornerColor(cx + 1, cy + 1);
                const int right = x + kCellPixels;
                const int bottom = y + kCellPixels;
                graphics->RenderTriangle(x, y, right, y, right, bottom, topLeft, topRight, bottomRight);
                graphics->RenderTriangle(x, y, right, bottom, x, bottom, topLeft, bottomRight, bottomLeft);
                break;
            }
            case 2: {
                if (vertexCount + 6 > kBatchLimit)
                    break;  // the cells beyond the batch are not drawn this frame
                const uint32_t c0 = ToD3DColor(topLeft);
                const uint32_t c1 = ToD3DColor(CornerColor(cx + 1, cy));
                const uint32_t c2 = ToD3DColor(CornerColor(cx, cy + 1));
                const uint32_t c3 = ToD3DColor(CornerColor(cx + 1, cy + 1));
                // Shifted by half a pixel like every triangle of this back end.
                const float left = float(x) - 0.5f;
                const float top = float(y) - 0.5f;
                const float right = left + kCellPixels;
                const float bottom = top + kCellPixels;
                ScreenVertex* v = vertices + vertexCount;
                v[0] = {left, top, 0, 1, c0, 0, 0};
                v[1] = {right, top, 0, 1, c1, 0, 0};
                v[2] = {right, bottom, 0, 1, c3, 0, 0};
                v[3] = {left, top, 0, 1, c0, 0, 0};
                v[4] = {right, bottom, 0, 1, c3, 0, 0};
                v[5] = {left, bottom, 0, 1, c2, 0, 0};
                vertexCount += 6;
                break;
            }
            case 3:
                if (int(topLeft >> 24) > kOpaqueAlpha)
                    graphics->RenderRectangle(0xFF000000, x, y, kCellPixels, kCellPixels);
                break;
            default:
                break;
            }
        }
    }
    if (frame.backEnd == 2 && vertexCount > 0 && engine)
        engine->RenderBatch(vertices, vertexCount);
}
