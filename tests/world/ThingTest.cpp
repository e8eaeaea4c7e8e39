// Positions, things and the sprite an item is drawn with.
#include "tests/world/WorldFixture.h"

namespace {

TEST(ThingTest, CountsStayWithinOneToHundred) {
    const struct {
        int given, stored;
    } cases[] = {{0, 1}, {-5, 1}, {1, 1}, {2, 2}, {99, 99}, {100, 100}, {250, 100}, {-2147483647 - 1, 1}};
    for (const auto& c : cases) {
        Thing thing;
        EXPECT_EQ(thing.SetCount(c.given), c.stored) << c.given;
        EXPECT_EQ(thing.GetCount(), c.stored) << c.given;
    }
    Thing fresh;
    EXPECT_EQ(fresh.GetPosition(), (Position{0, 0, 7}));
    EXPECT_EQ(fresh.GetId(), 0);
    EXPECT_EQ(fresh.GetCount(), 1);
    EXPECT_FALSE(fresh.IsCreature());
    EXPECT_EQ(fresh.AsCreature(), nullptr);
}

TEST(PositionTest, StepsAndReverseSteps) {
    const Position from{10, 10, 7};
    const struct {
        int direction, dx, dy;
    } cases[] = {{1, 0, 1},  {2, -1, 0}, {3, 0, -1}, {4, 1, 0},  {5, -1, 1}, {6, -1, -1},
                 {7, 1, -1}, {8, 1, 1},  {0, 0, 0},  {9, 0, 0},  {-1, 0, 0}, {255, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(Position::Step(from, c.direction, false), (Position{10 + c.dx, 10 + c.dy, 7})) << c.direction;
        EXPECT_EQ(Position::Step(from, c.direction, true), (Position{10 - c.dx, 10 - c.dy, 7})) << c.direction;
    }
}

class DisplayIdTest : public WorldTest {};

TEST_F(DisplayIdTest, StacksShowTheirStackPictureAndNeverAnimate) {
    ItemRecord* record = Define(3000, 0, kItemStackable);
    record->animationFrames = 3;
    const struct {
        int count, shown;
    } cases[] = {{1, 3000}, {2, 3001}, {3, 3002}, {4, 3003}, {5, 3004}, {19, 3004}, {20, 3005}, {100, 3005}};
    ASSERT_EQ(GetTicks(), 0u);
    for (const auto& c : cases)
        EXPECT_EQ(GetItemDisplayId(3000, c.count), c.shown) << c.count;
    // Stacks keep their picture while the clock runs; a single item animates.
    for (int step = 0; step < 4; ++step) {
        Clock().Advance(250);
        EXPECT_EQ(GetItemDisplayId(3000, 7), 3004) << step;
    }
    ResetClocks();
    ASSERT_EQ(GetTicks(), 0u);
    for (int step = 0; step < 8; ++step) {
        EXPECT_EQ(GetItemDisplayId(3000, 1), 3000 + step % 4) << step;
        Clock().Advance(250);
    }
    Clock().Advance(249);
    EXPECT_EQ(GetItemDisplayId(3000, 1), 3000);
    Clock().Advance(1);
    EXPECT_EQ(GetItemDisplayId(3000, 1), 3001);
}

TEST_F(DisplayIdTest, OneSpriteStacksUnknownIdsAndStillItems) {
    Define(3100, 0, kItemStackable | kItemSingleSpriteStack);
    Define(3200, 0, 0);
    for (int count : {1, 2, 20, 100}) {
        EXPECT_EQ(GetItemDisplayId(3100, count), 3100) << count;
        EXPECT_EQ(GetItemDisplayId(3200, count), 3200) << count;
        EXPECT_EQ(GetItemDisplayId(19999, count), 19999) << count;
        EXPECT_EQ(GetItemDisplayId(25000, count), 25000) << count;
    }
}

}  // namespace
