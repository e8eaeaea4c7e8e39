#include "tests/support/GuildWire.h"

Bytes GuildMessage(const GuildData& data) {
    Wire w;
    w.U8(0x38).Str(data.name).Str(data.channelMessage).U8(data.ownLevel);
    w.U8(uint32_t(data.ranks.size()));
    for (const GuildData::Rank& rank : data.ranks)
        w.U32(rank.id).U8(rank.level).U8(rank.order).Str(rank.name);
    w.U8(uint32_t(data.members.size()));
    for (const GuildData::Member& member : data.members)
        w.U32(member.id).U32(member.rankId).Str(member.name).Str(member.title);
    w.U8(uint32_t(data.wars.size()));
    for (const GuildData::War& war : data.wars)
        w.U32(war.id).Str(war.text).Str(war.status).U8(war.loyalty).U32(war.lossFee);
    return w.bytes;
}

Bytes GuildAnsweredMessage() { return Wire().U8(0x39).bytes; }

Bytes NoGuildMessage(const std::vector<GuildInviteRow>& invites) {
    Wire w;
    w.U8(0x3a).U8(uint32_t(invites.size()));
    for (const GuildInviteRow& invite : invites)
        w.U32(invite.guildId).Str(invite.name);
    return w.bytes;
}
