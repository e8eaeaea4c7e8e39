#include "sidewindows/SideWindow.h"

SideWindow::~SideWindow() = default;

void SideWindow::Relayout() {}

void SideWindow::Update() {}

void SideWindow::Draw() {}

void SideWindow::SetMinimized(bool value) { minimized = value ? 1 : 0; }
