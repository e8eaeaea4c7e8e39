#include "engine/gui/GUIManager.h"

void GUIManager::OnMouseDown(int, int) {}
void GUIManager::OnMouseUp(int, int) {}

void GUIManager::OnMouseMove(int x, int y) {
    mouseX = float(x);
    mouseY = float(y);
}

void GUIManager::OnMouseWheel(int) {}
void GUIManager::OnKey(uint16_t, uint16_t, bool, bool) {}
void GUIManager::Update() {}
