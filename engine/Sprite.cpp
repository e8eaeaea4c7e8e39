#include "engine/Sprite.h"

#include "engine/GraphicsEngine.h"

Sprite::~Sprite() {
    if (engine)
        engine->ReleaseSprite(this);
}
