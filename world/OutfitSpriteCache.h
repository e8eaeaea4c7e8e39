#pragma once

struct Sprite;

// Where windows outside the map (the character list, the outfit dialog) get
// the coloured picture of an outfit. The outfit palette is the one that makes
// them; a test can hand those windows a stand-in.
class OutfitSpriteCache {
public:
    virtual ~OutfitSpriteCache() = default;

    // A new coloured picture of one outfit frame, which the caller owns and
    // deletes, or null. pose is the distance from the frame's sprite to its
    // colour mask (12 for standing and walking frames, 4 for the pose frames),
    // frame the facing group 0 to 3 (down, left, up, right), outfit the nine
    // outfit values as the server sent them.
    virtual Sprite* GetSprite(int spriteId, int pose, int frame, const int outfit[9]) = 0;
};
