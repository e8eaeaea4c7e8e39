#pragma once

#include <cstdint>
#include <functional>
#include <list>

// The A* search behind click-to-walk, on any square grid: Map::FindPath asks
// its tiles and the minimap through `query`, tests ask small drawn maps.
//
// The search covers 400 x 400 squares centred on the start. Among open nodes
// of equal cost estimate f, the one that entered the open list (or was last
// improved) first is expanded first; the route a player gets depends on it.
namespace pathsearch {

constexpr int kGridSize = 400;
constexpr int kGridHalf = 200;
constexpr int kStraightCost = 10;
constexpr int kDiagonalCost = 25;

// Whether a square may be entered, and its ground speed in percent. isGoal
// tells the square the click named: some blockers do not keep the player
// from walking onto it.
using SquareQuery = std::function<bool(int x, int y, bool isGoal, int* speed)>;

// The cost estimate from a square to the goal: the exact cost on open ground
// at speed 100.
int Estimate(int dx, int dy);

// The cost of one step onto a square of the given speed; -1 for speed 0 or
// less, which nothing can cross.
int StepCost(bool diagonal, int speed);

// The direction code of a step by (dx, dy): 1 down, 2 left, 3 up, 4 right,
// 5 down-left, 6 up-left, 7 up-right, 8 down-right; 0 for no step.
int StepDirection(int dx, int dy);

// Searches from (startX, startY) to (goalX, goalY) closing at most `limit`
// nodes. On success puts the direction codes at the front of `out` (the step
// next to the start first) and returns true; otherwise leaves `out` alone.
// A start equal to the goal, or a goal 200 or more squares away, finds nothing.
bool FindPath(int startX, int startY, int goalX, int goalY, int limit, const SquareQuery& query,
              std::list<int>* out);

}  // namespace pathsearch
