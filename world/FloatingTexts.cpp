#include "world/FloatingTexts.h"

void FloatingTexts::Draw() {}

void FloatingTexts::Clear() { records.clear(); }
