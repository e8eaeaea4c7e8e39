#include "world/Position.h"

namespace {

const int kOffsets[9][2] = {{0, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 0}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}};

}  // namespace

Position Position::Step(Position p, int direction, bool reverse) {
    if (unsigned(direction) - 1u >= 8u)
        return p;
    const int sign = reverse ? -1 : 1;
    p.x += sign * kOffsets[direction][0];
    p.y += sign * kOffsets[direction][1];
    return p;
}
