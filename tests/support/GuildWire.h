#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/LoginFixture.h"

// The guild messages as a server packs them: the guild data (0x38), the
// answer to a guild request (0x39) and the invitations of a player without a
// guild (0x3a).
struct GuildData {
    struct Rank {
        uint32_t id;
        uint8_t level;
        uint8_t order;
        std::string name;
    };
    struct Member {
        uint32_t id;
        uint32_t rankId;
        std::string name;
        std::string title;
    };
    struct War {
        uint32_t id;
        std::string text;
        std::string status;
        uint8_t loyalty;
        uint32_t lossFee;
    };
    std::string name;
    std::string channelMessage;
    uint8_t ownLevel = 0;
    std::vector<Rank> ranks;
    std::vector<Member> members;
    std::vector<War> wars;
};

struct GuildInviteRow {
    uint32_t guildId;
    std::string name;
};

Bytes GuildMessage(const GuildData& data);
Bytes GuildAnsweredMessage();
Bytes NoGuildMessage(const std::vector<GuildInviteRow>& invites);
