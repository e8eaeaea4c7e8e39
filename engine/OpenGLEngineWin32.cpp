#include "engine/OpenGLEngineWin32.h"

#include <GL/gl.h>

#include <vector>

#include "engine/BackEndMath.h"

namespace {

// The side of the buffer texture; the game screen's 544 x 416 fits in it.
const int kBufferSize = 1024;

void SetGlColor(uint32_t color) {
    float rgba[4];
    ColorToFloats(color, rgba);
    glColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void SetTextureParameters(GLint filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
}

}  // namespace

OpenGLEngine::~OpenGLEngine() {
    // Texture names belong to the context: free them while it is current.
    ReleaseAllSprites();
    if (bufferSprite_) {
        if (renderingContext_)
            DeleteTexture(bufferSprite_->handle);
        delete bufferSprite_;
        bufferSprite_ = nullptr;
    }
    ReleaseContext();
}

HWND OpenGLEngine::Window() const { return Host() ? static_cast<HWND>(Host()->WindowHandle()) : nullptr; }
int OpenGLEngine::ClientHeight() const { return Host() ? Host()->ClientHeight() : 0; }

void OpenGLEngine::BindTexture(GLuint name) {
    if (name == boundTexture_)
        return;
    glBindTexture(GL_TEXTURE_2D, name);
    boundTexture_ = name;
}

void OpenGLEngine::DeleteTexture(GLuint name) {
    glDeleteTextures(1, &name);
    // Deleting the bound name binds 0.
    if (name == boundTexture_)
        boundTexture_ = 0;
}

void OpenGLEngine::ReleaseContext() {
    if (renderingContext_) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(renderingContext_);
        renderingContext_ = nullptr;
    }
    if (deviceContext_) {
        ::ReleaseDC(Window(), deviceContext_);
        deviceContext_ = nullptr;
    }
}

// Every WGL step is checked: a failed start must say so, so that the caller
// can fall back to Direct3D 9 instead of drawing into nothing.
bool OpenGLEngine::InitInternal() {
    HWND window = Window();
    if (!window)
        return false;
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof(descriptor);
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 24;
    descriptor.cDepthBits = 16;
    descriptor.iLayerType = PFD_MAIN_PLANE;

    deviceContext_ = ::GetDC(window);
    if (!deviceContext_)
        return false;
    const int format = ::ChoosePixelFormat(deviceContext_, &descriptor);
    if (format == 0 || !::SetPixelFormat(deviceContext_, format, &descriptor)) {
        ReleaseContext();
        return false;
    }
    renderingContext_ = wglCreateContext(deviceContext_);
    if (!renderingContext_) {
        ReleaseContext();
        return false;
    }
    if (!wglMakeCurrent(deviceContext_, renderingContext_)) {
        ReleaseContext();
        return false;
    }
    return SetSettings();
}

bool OpenGLEngine::SetSettings() {
    const BackEndHost* host = Host();
    if (!renderingContext_ || !host)
        return false;
    const int width = host->ClientWidth();
    const int height = host->ClientHeight();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // y grows downwards and one unit is one pixel.
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(128 / 255.0f, 128 / 255.0f, 128 / 255.0f, 1.0f);
    glClearDepth(1.0);
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    // Only glDrawArrays reads them (batches); immediate mode does not.
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    return true;
}

bool OpenGLEngine::BeginSceneInternal() { return renderingContext_ != nullptr; }

void OpenGLEngine::EndSceneInternal() { ::SwapBuffers(deviceContext_); }

// The colour also stays the clear colour for EndBufferInternal's clear.
void OpenGLEngine::ClearSceneInternal(uint32_t color) {
    float rgba[4];
    ColorToFloats(color, rgba);
    glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    glClear(GL_COLOR_BUFFER_BIT);
}

void OpenGLEngine::SetColor(uint32_t color) { SetGlColor(color); }

// With rotate the rectangle turns by angle degrees about its top-left corner.
// Afterwards the current colour is opaque white.
void OpenGLEngine::RenderRectangleInternal(uint32_t color, float x, float y, float w, float h, float angle,
                                           bool rotate) {
    BindTexture(0);
    SetGlColor(color);
    if (rotate) {
        glPushMatrix();
        glTranslatef(x, y, 0);
        glRotatef(angle, 0, 0, 1);
        x = 0;
        y = 0;
    }
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
    if (rotate)
        glPopMatrix();
    glColor4f(1, 1, 1, 1);
}

void OpenGLEngine::RenderTriangleInternal(uint32_t color1, uint32_t color2, uint32_t color3, float x1, float y1,
                                          float x2, float y2, float x3, float y3) {
    BindTexture(0);
    glBegin(GL_TRIANGLES);
    SetGlColor(color1);
    glVertex2f(x1, y1);
    SetGlColor(color2);
    glVertex2f(x2, y2);
    SetGlColor(color3);
    glVertex2f(x3, y3);
    glEnd();
    glColor4f(1, 1, 1, 1);
}

// No colour is set: the sprite is multiplied by the current colour. With
// rotate, (x, y) is the sprite's centre and it turns about it.
void OpenGLEngine::RenderSpriteInternal(Sprite* sprite, float x, float y, float w, float h, float textureWidth,
                                        float textureHeight, float sourceX, float sourceY, float sourceWidth,
                                        float sourceHeight, float angle, bool rotate) {
    if (!sprite || !sprite->handle)
        return;
    const TexCoords c = SourceTexCoords(textureWidth, textureHeight, sourceX, sourceY, sourceWidth, sourceHeight);
    BindTexture(sprite->handle);
    if (rotate) {
        glPushMatrix();
        glTranslatef(x, y, 0);
        glRotatef(angle, 0, 0, 1);
        x = -w / 2;
        y = -h / 2;
    }
    QuadCorner corners[4];
    SpriteQuadCorners(x, y, w, h, c, corners);
    glBegin(GL_QUADS);
    for (const QuadCorner& corner : corners) {
        glTexCoord2f(corner.u, corner.v);
        glVertex2f(corner.x, corner.y);
    }
    glEnd();
    if (rotate)
        glPopMatrix();
}

void OpenGLEngine::RenderSpriteGradientInternal(Sprite* sprite, float x, float y, float w, float h,
                                                float textureWidth, float textureHeight, float sourceX,
                                                float sourceY, float sourceWidth, float sourceHeight,
                                                uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                                                uint32_t bottomRight) {
    if (!sprite || !sprite->handle)
        return;
    const TexCoords c = SourceTexCoords(textureWidth, textureHeight, sourceX, sourceY, sourceWidth, sourceHeight);
    BindTexture(sprite->handle);
    QuadCorner corners[4];
    SpriteQuadCorners(x, y, w, h, c, corners);
    const uint32_t colors[4] = {bottomLeft, topLeft, topRight, bottomRight};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        SetGlColor(colors[i]);
        glTexCoord2f(corners[i].u, corners[i].v);
        glVertex2f(corners[i].x, corners[i].y);
    }
    glEnd();
    glColor4f(1, 1, 1, 1);
}

// The quads of a batch (a line of text) are the very corners single sprites
// get, sent in one vertex array: one draw call and one bound texture however
// long the text is.
void OpenGLEngine::RenderSpriteBatchInternal(Sprite* sprite, const BatchQuad* quads, int count) {
    if (!sprite || !sprite->handle || count <= 0)
        return;
    BatchQuadCorners(quads, count, batchCorners_);
    BindTexture(sprite->handle);
    glTexCoordPointer(2, GL_FLOAT, sizeof(QuadCorner), &batchCorners_[0].u);
    glVertexPointer(2, GL_FLOAT, sizeof(QuadCorner), &batchCorners_[0].x);
    glDrawArrays(GL_QUADS, 0, count * 4);
}

// The planes are given while the model-view matrix is the identity, so they
// lie in window pixels.
void OpenGLEngine::EnableClipperInternal(ClipRect clip) {
    double planes[4][4];
    ClipPlanes(clip, planes);
    for (int i = 0; i < 4; ++i) {
        glClipPlane(GL_CLIP_PLANE0 + i, planes[i]);
        glEnable(GL_CLIP_PLANE0 + i);
    }
}

void OpenGLEngine::DisableClipperInternal() {
    for (int i = 0; i < 4; ++i)
        glDisable(GL_CLIP_PLANE0 + i);
}

// Drawing keeps going to the window; EndBufferInternal copies it into the
// buffer texture, made here the first time.
void OpenGLEngine::BeginBufferInternal() {
    if (bufferSprite_)
        return;
    bufferSprite_ = new Sprite(kBufferSize, kBufferSize);
    glGenTextures(1, &bufferSprite_->handle);
    BindTexture(bufferSprite_->handle);
    SetTextureParameters(GL_LINEAR);
    std::vector<uint8_t> zeros(size_t(kBufferSize) * kBufferSize * 4, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, kBufferSize, kBufferSize, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, zeros.data());
}

// Copies the 1024 x 1024 window area whose top edge is the window's top edge
// (window y counts upwards), then clears the window for the stretched copy.
void OpenGLEngine::EndBufferInternal() {
    if (!bufferSprite_)
        return;
    BindTexture(bufferSprite_->handle);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, ClientHeight() - kBufferSize, kBufferSize, kBufferSize);
    glClear(GL_COLOR_BUFFER_BIT);
}

void OpenGLEngine::RenderBufferInternal(float x, float y, float w, float h, float sourceWidth, float sourceHeight) {
    if (bufferSprite_)
        RenderSpriteInternal(bufferSprite_, x, y, w, h, float(kBufferSize), float(kBufferSize), 0, 0, sourceWidth,
                             sourceHeight, 0, false);
}

// Each texture's filter is chosen once, by the nearest flag of GenerateSprite.
void OpenGLEngine::SetNearestFilteringInternal(bool) {}

uint8_t* OpenGLEngine::ReadScreenInternal(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0 || !renderingContext_)
        return nullptr;
    // Zeroed, since pixels outside the window are not defined by the read.
    uint8_t* block = new uint8_t[size_t(w) * size_t(h) * 3]();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, ClientHeight() - y - h, w, h, GL_RGB, GL_UNSIGNED_BYTE, block);
    return block;
}

void OpenGLEngine::GenerateSprite(Sprite* sprite, SpriteRecord* record, bool nearest) {
    if (!sprite || !record || !record->pixels || !renderingContext_)
        return;
    ReleaseOldImage(sprite);
    glGenTextures(1, &sprite->handle);
    BindTexture(sprite->handle);
    SetTextureParameters(nearest ? GL_NEAREST : GL_LINEAR);
    // Row 0 of the texture is the record's first row, the picture's bottom.
    glTexImage2D(GL_TEXTURE_2D, 0, 4, record->width, record->height, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE,
                 record->pixels.get());
    AdoptSprite(sprite);
}

void OpenGLEngine::ReleaseSpriteInternal(Sprite* sprite) {
    if (sprite->handle)
        DeleteTexture(sprite->handle);
}
