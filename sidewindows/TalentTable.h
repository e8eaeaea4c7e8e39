#pragma once

// The seven talents, in the order the server counts them and the windows
// show them, with the most points each can take (0 would mean no limit).
// The skills window, the talents dialog and the talents request all read
// this one table.
namespace TalentTable {

constexpr int kCount = 7;

struct Talent {
    const char* name;
    int cap;
};

constexpr Talent kTable[kCount] = {
    {"Durability", 50}, {"Spirituality", 50}, {"Legerity", 100}, {"Expertise", 10},
    {"Aggression", 50}, {"Fortification", 50}, {"Resistance", 25},
};

}  // namespace TalentTable
