#include "sidewindows/WorldMapDialog.h"

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/Lifecycle.h"

namespace {

const int kChatInputId = 25;

}  // namespace

WorldMapDialog::WorldMapDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("WorldMapDialog");
}

WorldMapDialog::~WorldMapDialog() { lifecycle::Note("~WorldMapDialog"); }

void WorldMapDialog::Open() {}

void WorldMapDialog::Close() {
    lifecycle::Note("WorldMapDialog::Close");
    dragging = false;
    gui->focus = gui->FindControl(kChatInputId);
}

void WorldMapDialog::OnMouseMove(int, int) {}

void WorldMapDialog::OnMouseDown(int, int) {}

void WorldMapDialog::OnMouseUp(int, int) { dragging = false; }

void WorldMapDialog::OpenMenu(int, int) {}

void WorldMapDialog::OnMouseWheel(int, int, int) {}
