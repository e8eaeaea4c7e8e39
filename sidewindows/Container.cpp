#include "sidewindows/Container.h"

#include "game/Lifecycle.h"

Container::Container(int id, int slot) : index(slot) {
    windowId = id;
    lifecycle::Note("Container");
}

Container::~Container() { lifecycle::Note("~Container"); }

void Container::SetMouse(int, int, bool) {}

ContainerSlot* Container::GetSlot(int) { return nullptr; }

ContainerSlot* Container::HitSlot(int, int) { return nullptr; }
