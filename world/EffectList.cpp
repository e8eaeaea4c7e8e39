#include "world/EffectList.h"

void EffectList::Clear() { records.clear(); }
