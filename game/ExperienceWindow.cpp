#include "game/ExperienceWindow.h"

#include "game/Lifecycle.h"

ExperienceWindow::ExperienceWindow() { lifecycle::Note("ExperienceWindow"); }

ExperienceWindow::~ExperienceWindow() { lifecycle::Note("~ExperienceWindow"); }

bool ExperienceWindow::OnMouseDown(int, int) { return false; }

void ExperienceWindow::Draw() {}

void ExperienceWindow::SetStartExperience(uint64_t) {}
