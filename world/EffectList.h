#pragma once

// The timed effects on the map (spell effects, projectiles).
class EffectList {
public:
    EffectList() = default;
    EffectList(const EffectList&) = delete;
    EffectList& operator=(const EffectList&) = delete;

    // Frees every effect.
    void Clear() {}
};
