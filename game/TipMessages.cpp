#include "game/TipMessages.h"

TipMessages::TipMessages() : viewSource(&TipMessages::GameView) {}
TipMessages::~TipMessages() { Clear(); }
void TipMessages::Add(int, const std::string&, const std::string&, int, int, int) {}
void TipMessages::Draw() {}
bool TipMessages::HitTest(int, int) { return false; }
void TipMessages::Clear() {
    for (TipRecord* tip : tips)
        delete tip;
    tips.clear();
}
void TipMessages::ScreenPosition(const TipRecord&, int& x, int& y) const { x = y = 0; }
TipMessages::View TipMessages::GameView() { return View(); }
