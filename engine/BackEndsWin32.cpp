// The drawing back ends of the Windows build, by engine type.
#include "engine/DirectDrawEngineWin32.h"
#include "engine/DirectXEngineWin32.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/OpenGLEngineWin32.h"

GraphicsEngine* MakeBackEnd(int type) {
    switch (type) {
    case kEngineOpenGL:
        return new OpenGLEngine();
    case kEngineDirect3D:
        return new DirectXEngine();
    case kEngineDirectDraw:
        return new DirectDrawEngine();
    default:
        return nullptr;
    }
}
