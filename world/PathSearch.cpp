#include "world/PathSearch.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <queue>
#include <vector>

namespace pathsearch {

namespace {

constexpr int kNeighbours[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

struct Node {
    int f, g;
    int parent;  // grid index, -1 for the start
    uint32_t order;  // when the node entered the open list or was last improved
    uint32_t stamp;  // the search that last touched the node; older values mean "neither open nor closed"
    uint8_t open, closed;
};

// Instead of the sorted list, a heap keyed (f, order): the same expansion
// order, since re-sorting a list stably after each insertion or improvement
// puts a node behind every node of equal f that was there before it. An
// improved node leaves its old entry behind, which is skipped when it comes up.
struct OpenEntry {
    int f;
    uint32_t order;
    int index;
    bool operator>(const OpenEntry& other) const {
        return f != other.f ? f > other.f : order > other.order;
    }
};

// The grid is kept between searches and marked with the number of the search,
// so a search touches only the nodes it reaches instead of clearing 160 000.
struct Grid {
    std::unique_ptr<Node[]> nodes{new Node[kGridSize * kGridSize]()};
    uint32_t search = 0;
};

Grid& SharedGrid() {
    static Grid grid;
    return grid;
}

}  // namespace

int Estimate(int dx, int dy) {
    dx = std::abs(dx);
    dy = std::abs(dy);
    const int low = std::min(dx, dy);
    const int high = std::max(dx, dy);
    return kDiagonalCost * low + kStraightCost * (high - low);
}

int StepCost(bool diagonal, int speed) {
    if (speed <= 0)
        return -1;
    // base / (speed / 100) truncated, in exact integer arithmetic.
    return (diagonal ? kDiagonalCost : kStraightCost) * 100 / speed;
}

int StepDirection(int dx, int dy) {
    static const int codes[3][3] = {
        {6, 2, 5},  // dx -1: dy -1, 0, +1
        {3, 0, 1},  // dx 0
        {7, 4, 8},  // dx +1
    };
    if (dx < -1 || dx > 1 || dy < -1 || dy > 1)
        return 0;
    return codes[dx + 1][dy + 1];
}

bool FindPath(int startX, int startY, int goalX, int goalY, int limit, const SquareQuery& query,
              std::list<int>* out) {
    // A goal 200 or more squares away, in any direction, is too far.
    if (std::abs(goalX - startX) >= kGridHalf || std::abs(goalY - startY) >= kGridHalf)
        return false;
    const int originX = startX - kGridHalf;
    const int originY = startY - kGridHalf;
    const int goalGX = goalX - originX;
    const int goalGY = goalY - originY;

    Grid& grid = SharedGrid();
    if (++grid.search == 0) {
        // After 2^32 searches the stamps could match again: start afresh.
        std::fill(grid.nodes.get(), grid.nodes.get() + kGridSize * kGridSize, Node{});
        grid.search = 1;
    }
    const uint32_t search = grid.search;
    Node* nodes = grid.nodes.get();
    auto touch = [&](int index) -> Node& {
        Node& node = nodes[index];
        if (node.stamp != search) {
            node.stamp = search;
            node.open = 0;
            node.closed = 0;
        }
        return node;
    };

    std::priority_queue<OpenEntry, std::vector<OpenEntry>, std::greater<OpenEntry>> open;
    uint32_t order = 0;
    const int startIndex = kGridHalf * kGridSize + kGridHalf;
    Node& start = touch(startIndex);
    start.g = 0;
    start.f = Estimate(goalX - startX, goalY - startY);
    start.parent = -1;
    start.order = order++;
    start.open = 1;
    open.push({start.f, start.order, startIndex});

    const int goalIndex = goalGY * kGridSize + goalGX;
    int closedCount = 0;
    int found = -1;
    while (!open.empty() && closedCount < limit) {
        const OpenEntry entry = open.top();
        open.pop();
        Node& current = nodes[entry.index];
        if (!current.open || current.order != entry.order)
            continue;  // an entry left behind by an improvement
        current.open = 0;
        if (entry.index == goalIndex) {
            found = entry.index;
            break;
        }
        current.closed = 1;
        ++closedCount;

        const int cx = entry.index % kGridSize;
        const int cy = entry.index / kGridSize;
        for (const auto& step : kNeighbours) {
            const int nx = cx + step[0];
            const int ny = cy + step[1];
            if (nx < 0 || nx >= kGridSize || ny < 0 || ny >= kGridSize)
                continue;
            const int index = ny * kGridSize + nx;
            Node& neighbour = touch(index);
            if (neighbour.closed)
                continue;
            const int x = originX + nx;
            const int y = originY + ny;
            int speed = 100;
            if (!query(x, y, index == goalIndex, &speed))
                continue;
            const int cost = StepCost(step[0] != 0 && step[1] != 0, speed);
            if (cost < 0)
                continue;
            const int g = current.g + cost;
            if (neighbour.open && g >= neighbour.g)
                continue;
            neighbour.g = g;
            neighbour.f = g + Estimate(goalX - x, goalY - y);
            neighbour.parent = entry.index;
            neighbour.order = order++;
            neighbour.open = 1;
            open.push({neighbour.f, neighbour.order, index});
        }
    }
    if (found < 0)
        return false;

    bool any = false;
    for (int index = found; nodes[index].parent >= 0; index = nodes[index].parent) {
        const int parent = nodes[index].parent;
        out->push_front(StepDirection(index % kGridSize - parent % kGridSize, index / kGridSize - parent / kGridSize));
        any = true;
    }
    return any;
}

}  // namespace pathsearch
