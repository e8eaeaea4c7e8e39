#include "game/PagedTextWindow.h"

PagedTextWindow::PagedTextWindow(KEngine2* app, Map* map) : app(app), map(map) {}
void PagedTextWindow::Show(const std::string&) {}
void PagedTextWindow::Draw() {}
bool PagedTextWindow::OnMouse(int, int) { return false; }
void PagedTextWindow::Hide() {}
void PagedTextWindow::Reset() {}
