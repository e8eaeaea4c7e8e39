// The OpenGL floor: the client's context (double-buffered RGBA, 24-bit colour,
// 16-bit depth, a pixel-unit orthographic projection, blending and texturing
// on) drawing the backdrop as one textured quad per frame.
#include <GL/gl.h>

#include "bench/floor/Floor.h"

namespace {

class OpenGLFloor : public FloorDrawer {
public:
    bool Init(HWND window, int width, int height, const FloorPicture& picture) override {
        width_ = width;
        height_ = height;
        PIXELFORMATDESCRIPTOR descriptor = {};
        descriptor.nSize = sizeof(descriptor);
        descriptor.nVersion = 1;
        descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        descriptor.iPixelType = PFD_TYPE_RGBA;
        descriptor.cColorBits = 24;
        descriptor.cDepthBits = 16;
        descriptor.iLayerType = PFD_MAIN_PLANE;
        deviceContext_ = ::GetDC(window);
        const int format = deviceContext_ ? ::ChoosePixelFormat(deviceContext_, &descriptor) : 0;
        if (format == 0 || !::SetPixelFormat(deviceContext_, format, &descriptor))
            return false;
        HGLRC context = wglCreateContext(deviceContext_);
        if (!context || !wglMakeCurrent(deviceContext_, context))
            return false;
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, width, height, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glDisable(GL_DITHER);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_TEXTURE_2D);

        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, FloorPicture::kWidth, FloorPicture::kHeight, 0, GL_BGRA_EXT,
                     GL_UNSIGNED_BYTE, picture.pixels.data());
        return true;
    }

    void Frame() override {
        glClearColor(0x19 / 255.0f, 0x19 / 255.0f, 0x19 / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        const RECT to = CoverRect(width_, height_);
        const float uRight = float(FloorPicture::kUsedWidth) / FloorPicture::kWidth;
        const float vBottom = 1.0f - float(FloorPicture::kUsedHeight) / FloorPicture::kHeight;
        glBegin(GL_QUADS);
        glTexCoord2f(0, vBottom);
        glVertex2f(float(to.left), float(to.bottom));
        glTexCoord2f(0, 1);
        glVertex2f(float(to.left), float(to.top));
        glTexCoord2f(uRight, 1);
        glVertex2f(float(to.right), float(to.top));
        glTexCoord2f(uRight, vBottom);
        glVertex2f(float(to.right), float(to.bottom));
        glEnd();
        ::SwapBuffers(deviceContext_);
    }

private:
    HDC deviceContext_ = nullptr;
    GLuint texture_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    OpenGLFloor floor;
    return RunFloor(floor, "OpenGL", argc, argv);
}
