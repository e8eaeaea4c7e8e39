#include "game/HotkeyBar.h"

#include <string>

#include "game/Lifecycle.h"

HotkeyBar::HotkeyBar() { lifecycle::Note("HotkeyBar"); }

HotkeyBar::~HotkeyBar() { lifecycle::Note("~HotkeyBar"); }

void HotkeyBar::TriggerSlot(int slot, bool fightSet) {
    lifecycle::Note("HotkeyBar::TriggerSlot " + std::to_string(slot) + (fightSet ? " fight" : ""));
}

void HotkeyBar::Layout() {}

void HotkeyBar::Draw() {}

void HotkeyBar::OnResize(int) {}

void HotkeyBar::OnMouseDown(int, int) {}

void HotkeyBar::OnMouseUp(int, int) {}

void HotkeyBar::OnMouseMove(int, int) {}

void HotkeyBar::OnClick(int, int) {}

bool HotkeyBar::HitGrip(int, int) { return false; }
