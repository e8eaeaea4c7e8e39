#pragma once

#include <cstdint>

// The hotkey bar: twelve slots of spells, item uses and general actions in
// two sets, docked at one side of the game field.
class HotkeyBar {
public:
    static constexpr int kMinThickness = 52;
    static constexpr int kMaxThickness = 94;

    HotkeyBar();
    ~HotkeyBar();
    HotkeyBar(const HotkeyBar&) = delete;
    HotkeyBar& operator=(const HotkeyBar&) = delete;

    // Performs the action of a slot (1 .. 12) of the normal or the fight set.
    void TriggerSlot(int slot, bool fightSet);
    void Layout();
    void Draw();
    // The chat area's height changed.
    void OnResize(int chatHeight);
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    void OnMouseMove(int x, int y);
    // Right release on a slot box: opens the editor for that slot.
    void OnClick(int x, int y);
    // The point lies on the resize grip.
    bool HitGrip(int x, int y);

    int thickness = kMinThickness;  // pixels
    int side = 0;                   // 0 .. 3; 2 top, 3 bottom
    int page = 1;
    int actionGroups = 1;           // 1 .. 10
};
