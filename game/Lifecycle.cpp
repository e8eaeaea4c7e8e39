#include "game/Lifecycle.h"

namespace lifecycle {

Sink sink = nullptr;

}  // namespace lifecycle
