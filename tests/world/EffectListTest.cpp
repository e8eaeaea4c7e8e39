// What a server can make the effect list hold: projectiles live 70 ms a square
// for ordinary distances and no longer than a flight across the view and half
// again; effects and projectiles each have a cap, past which the oldest of the
// same kind goes. The rising texts likewise keep their newest, each cut short.
#include <cmath>
#include <string>

#include "tests/world/WorldFixture.h"
#include "world/EffectList.h"
#include "world/FloatingTexts.h"

namespace {

TEST(EffectListTest, AProjectileLivesItsDistanceUpToTheViewAndAHalf) {
    const struct {
        int fromX, fromY, toX, toY;
        uint32_t duration;
    } cases[] = {
        {100, 100, 100, 100, 0},
        {100, 100, 101, 100, 70},
        {100, 100, 103, 104, 350},                  // 5 squares
        {100, 100, 117, 113, uint32_t(std::sqrt(17.0f * 17 + 13 * 13) * 70.0f)},  // the view's diagonal
        {100, 100, 100, 132, 2240},                 // 32 squares: the longest flight
        {100, 100, 100, 133, 2240},
        {0, 0, 65535, 65535, 2240},                 // across the whole map: 108 minutes unbounded
        {65535, 0, 0, 65535, 2240},
    };
    for (const auto& c : cases) {
        EffectList list;
        list.AddProjectile(c.fromX, c.fromY, 7, c.toX, c.toY, 4200);
        ASSERT_EQ(list.records.size(), 1u);
        EXPECT_EQ(list.records.front().duration, c.duration)
            << c.fromX << "," << c.fromY << " -> " << c.toX << "," << c.toY;
        // It still ends on its target.
        int px = 0, py = 0;
        EffectList::Place(list.records.front(), list.records.front().start + c.duration, &px, &py);
        EXPECT_EQ(px, c.toX * 32);
        EXPECT_EQ(py, c.toY * 32);
    }
}

TEST(EffectListTest, EachKindKeepsItsNewestUpToItsCap) {
    EffectList list;
    const int flood = 3000;
    for (int i = 0; i < flood; ++i)
        list.AddEffect(i, 0, 7, 1000 + i, 800);
    EXPECT_EQ(list.records.size(), EffectList::kMaxEffects);
    EXPECT_EQ(list.records.front().x, flood - int(EffectList::kMaxEffects));
    EXPECT_EQ(list.records.back().x, flood - 1);
    // Projectiles have a cap of their own and push out no effect.
    for (int i = 0; i < flood; ++i)
        list.AddProjectile(i, 0, 7, i + 3, 4, 4200);
    EXPECT_EQ(list.Count(EffectList::kEffect), EffectList::kMaxEffects);
    EXPECT_EQ(list.Count(EffectList::kProjectile), EffectList::kMaxProjectiles);
    EXPECT_EQ(list.records.size(), EffectList::kMaxEffects + EffectList::kMaxProjectiles);
    int oldestProjectile = -1;
    for (const EffectList::Record& record : list.records) {
        if (record.kind == EffectList::kProjectile) {
            oldestProjectile = record.x;
            break;
        }
    }
    EXPECT_EQ(oldestProjectile, flood - int(EffectList::kMaxProjectiles));
    // An effect now pushes out the oldest effect, not a projectile.
    list.AddEffect(-1, 0, 7, 999, 800);
    EXPECT_EQ(list.Count(EffectList::kEffect), EffectList::kMaxEffects);
    EXPECT_EQ(list.Count(EffectList::kProjectile), EffectList::kMaxProjectiles);
    EXPECT_EQ(list.records.front().x, flood - int(EffectList::kMaxEffects) + 1);
    list.Clear();
    EXPECT_EQ(list.Count(EffectList::kProjectile), 0u);
    EXPECT_EQ(list.Count(EffectList::kEffect), 0u);
}

TEST(FloatingTextsTest, AFloodKeepsTheNewestTextsEachCutShort) {
    FloatingTexts texts;
    const struct {
        size_t length, kept;
    } lengths[] = {{0, 0}, {1, 1}, {FloatingTexts::kMaxLength, FloatingTexts::kMaxLength},
                   {FloatingTexts::kMaxLength + 1, FloatingTexts::kMaxLength}, {65535, FloatingTexts::kMaxLength}};
    for (const auto& c : lengths) {
        texts.Add(1, 2, 1, std::string(c.length, '7'));
        EXPECT_EQ(texts.records.back().text.size(), c.kept) << c.length;
    }
    for (int i = 0; i < 2000; ++i)
        texts.Add(i, 0, 2, std::to_string(i));
    EXPECT_EQ(texts.records.size(), FloatingTexts::kMaxTexts);
    EXPECT_EQ(texts.records.front().x, 2000 - int(FloatingTexts::kMaxTexts));
    EXPECT_EQ(texts.records.back().text, "1999");
}

}  // namespace
