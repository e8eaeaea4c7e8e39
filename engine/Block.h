#pragma once

class KEngine2;

// The small base shared by the parts the application object owns (the drawing
// engine, the facade, the sprite store, the font, the GUI manager): each keeps
// one pointer to its owner and reaches the rest of the engine through it.
class Block {
public:
    Block() = default;
    virtual ~Block() = default;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    void SetOwner(KEngine2* owner) { owner_ = owner; }
    KEngine2* GetOwner() const { return owner_; }

private:
    KEngine2* owner_ = nullptr;
};
