// The path search on small drawn maps, and the heap it uses against the plain
// stable-sorted open list it replaces, on random maps.
#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "world/PathSearch.h"

namespace {

// A map drawn in text: '.' open ground at speed 100, '#' blocked, '0' ground
// of speed 0, '5' ground of speed 50, 'S' start, 'G' goal. Squares off the
// drawing are blocked.
struct Drawn {
    std::vector<std::string> rows;
    int startX = 0, startY = 0, goalX = 0, goalY = 0;

    explicit Drawn(std::vector<std::string> r) : rows(std::move(r)) {
        for (int y = 0; y < int(rows.size()); ++y)
            for (int x = 0; x < int(rows[y].size()); ++x) {
                if (rows[y][x] == 'S')
                    startX = x, startY = y;
                if (rows[y][x] == 'G')
                    goalX = x, goalY = y;
            }
    }
    bool Query(int x, int y, bool, int* speed) const {
        if (y < 0 || y >= int(rows.size()) || x < 0 || x >= int(rows[y].size()))
            return false;
        switch (rows[y][x]) {
        case '#': return false;
        case '0': *speed = 0; return true;
        case '5': *speed = 50; return true;
        default: *speed = 100; return true;
        }
    }
    bool Find(std::list<int>* out, int limit = 5000) const {
        return pathsearch::FindPath(startX, startY, goalX, goalY, limit,
                                    [this](int x, int y, bool goal, int* speed) { return Query(x, y, goal, speed); },
                                    out);
    }
};

std::vector<int> V(const std::list<int>& l) { return {l.begin(), l.end()}; }

TEST(PathSearch, EqualRoutesGoTheWayTheFirstOpenedNeighbourLeads) {
    // North and south around the wall cost the same (40); north enters the
    // open list first, and every later tie keeps that order.
    const Drawn map({
        "...",
        "S#G",
        "...",
    });
    std::list<int> out;
    ASSERT_TRUE(map.Find(&out));
    EXPECT_EQ(V(out), (std::vector<int>{3, 4, 4, 1}));
}

TEST(PathSearch, OnOpenGroundTwoStraightStepsBeatOneDiagonal) {
    // A diagonal step costs 25, two straight ones 20: 3 east and 2 south
    // cost 50 in five straight steps (two diagonals and one straight would
    // be 60). The estimate, which prices diagonals at 25, draws the search
    // toward the diagonal; the route still comes out straight.
    const Drawn map({
        "S...",
        "....",
        "...G",
    });
    std::list<int> out;
    ASSERT_TRUE(map.Find(&out));
    int cost = 0;
    for (int step : out)
        cost += step > 4 ? 25 : 10;
    EXPECT_EQ(cost, 50);
    EXPECT_EQ(V(out), (std::vector<int>{1, 1, 4, 4, 4}));
}

TEST(PathSearch, SlowAndSpeedZeroGround) {
    // Ground of speed 50 costs twice as much but may be crossed.
    const Drawn slow({
        "S5G",
    });
    std::list<int> out;
    ASSERT_TRUE(slow.Find(&out));
    EXPECT_EQ(V(out), (std::vector<int>{4, 4}));

    // Speed 0 would divide by zero: such a square is never entered.
    const Drawn zero({
        "S0G",
    });
    out.clear();
    EXPECT_FALSE(zero.Find(&out));
    EXPECT_TRUE(out.empty());
    const Drawn around({
        "S0G",
        "...",
    });
    ASSERT_TRUE(around.Find(&out));
    EXPECT_EQ(V(out), (std::vector<int>{1, 4, 4, 3}));  // 40, cheaper than two diagonals
}

TEST(PathSearch, FailuresLeaveTheCallersListAlone) {
    std::list<int> out = {9, 9};
    const Drawn walled({
        "S#G",
    });
    EXPECT_FALSE(walled.Find(&out));
    const Drawn same({"G"});  // start and goal on one square: no steps
    EXPECT_FALSE(same.Find(&out));
    // 200 squares away lies outside the 400 x 400 square; 199 inside.
    auto open = [](int, int, bool, int* speed) {
        *speed = 100;
        return true;
    };
    EXPECT_FALSE(pathsearch::FindPath(1000, 1000, 1200, 1000, 100000, open, &out));
    EXPECT_FALSE(pathsearch::FindPath(1000, 1000, 1000, 800, 100000, open, &out));
    EXPECT_EQ(V(out), (std::vector<int>{9, 9}));
    EXPECT_TRUE(pathsearch::FindPath(1000, 1000, 1199, 1000, 100000, open, &out));
    EXPECT_EQ(out.size(), 2u + 199u);
    EXPECT_EQ(out.back(), 9);  // steps go to the front
}

TEST(PathSearch, TheClosedNodeLimitEndsTheSearch) {
    const Drawn map({
        "S.........G",
    });
    std::list<int> out;
    // The ten squares before the goal are closed first; the goal is taken
    // only while fewer than `limit` are closed.
    EXPECT_FALSE(map.Find(&out, 10));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(map.Find(&out, 11));
    EXPECT_EQ(out.size(), 10u);
}

// --- the heap against the list it replaces ---------------------------------

struct RefNode {
    int f = 0, g = 0, parent = -1;
    bool open = false, closed = false;
};

// The search as first written: an open list kept sorted by f with a stable
// sort after every insertion or improvement.
bool ReferenceFindPath(int sx, int sy, int gx, int gy, int limit, const pathsearch::SquareQuery& query,
                       std::list<int>* out) {
    const int n = pathsearch::kGridSize;
    const int ox = sx - pathsearch::kGridHalf, oy = sy - pathsearch::kGridHalf;
    if (gx - ox < 0 || gx - ox >= n || gy - oy < 0 || gy - oy >= n)
        return false;
    std::unordered_map<int, RefNode> grid;  // only the nodes the search reaches
    std::list<int> open;
    auto index = [&](int x, int y) { return (y - oy) * n + (x - ox); };
    const int start = index(sx, sy);
    grid[start].f = pathsearch::Estimate(gx - sx, gy - sy);
    grid[start].open = true;
    open.push_back(start);
    const int offsets[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    int closed = 0;
    while (!open.empty() && closed < limit) {
        const int current = open.front();
        open.pop_front();
        grid[current].open = false;
        const int cx = current % n + ox, cy = current / n + oy;
        if (cx == gx && cy == gy) {
            bool any = false;
            for (int i = current; grid[i].parent >= 0; i = grid[i].parent) {
                const int p = grid[i].parent;
                out->push_front(pathsearch::StepDirection(i % n - p % n, i / n - p / n));
                any = true;
            }
            return any;
        }
        grid[current].closed = true;
        ++closed;
        for (const auto& o : offsets) {
            const int x = cx + o[0], y = cy + o[1];
            if (x - ox < 0 || x - ox >= n || y - oy < 0 || y - oy >= n)
                continue;
            RefNode& node = grid[index(x, y)];
            if (node.closed)
                continue;
            int speed = 100;
            if (!query(x, y, x == gx && y == gy, &speed))
                continue;
            const int cost = pathsearch::StepCost(o[0] && o[1], speed);
            if (cost < 0)
                continue;
            const int g = grid[current].g + cost;
            if (node.open && g >= node.g)
                continue;
            node.g = g;
            node.f = g + pathsearch::Estimate(gx - x, gy - y);
            node.parent = current;
            if (!node.open) {
                node.open = true;
                open.push_back(index(x, y));
            }
            std::vector<int> sorted(open.begin(), open.end());
            std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) { return grid[a].f < grid[b].f; });
            open.assign(sorted.begin(), sorted.end());
        }
    }
    return false;
}

TEST(PathSearch, HeapExpandsInTheOrderOfTheStableSortedList) {
    std::mt19937 random(12345);
    int found = 0;
    for (int round = 0; round < 300; ++round) {
        const int size = 6 + int(random() % 20);
        std::vector<int> speeds(size_t(size) * size);
        const int wallShare = int(random() % 40);
        for (int& s : speeds) {
            const int roll = int(random() % 100);
            // Mostly few distinct speeds, so that equal f values are common.
            s = roll < wallShare ? -1 : roll < wallShare + 5 ? 0 : (roll % 3 == 0 ? 50 : roll % 7 == 0 ? 150 : 100);
        }
        const pathsearch::SquareQuery query = [&](int x, int y, bool goal, int* speed) {
            if (x < 0 || y < 0 || x >= size || y >= size)
                return false;
            const int s = speeds[size_t(y) * size + x];
            if (s < 0 && !goal)
                return false;
            *speed = s < 0 ? 100 : s;
            return true;
        };
        const int sx = int(random() % size), sy = int(random() % size);
        const int gx = int(random() % size), gy = int(random() % size);
        const int limit = 1 + int(random() % (size * size));
        std::list<int> heap, list;
        const bool a = pathsearch::FindPath(sx, sy, gx, gy, limit, query, &heap);
        const bool b = ReferenceFindPath(sx, sy, gx, gy, limit, query, &list);
        ASSERT_EQ(a, b) << "round " << round;
        ASSERT_EQ(V(heap), V(list)) << "round " << round;
        found += a;
    }
    EXPECT_GT(found, 50);  // the rounds are not all failures
}

}  // namespace
