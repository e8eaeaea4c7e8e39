// The drawing back ends of the Windows build, by engine type.
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"

GraphicsEngine* MakeBackEnd(int) {
    return nullptr;
}
