// Every sender against the fake server's own decoder: the request table, a
// randomised round trip per sender, requests too big for one message, and the
// 255-entry limits. The decoder runs as a Python program, so these tests are
// native; tests/wine/requests sends the same table over Winsock.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <random>
#include <set>

#include "client/Client.h"
#include "dialogs/trade/HouseRecord.h"
#include "game/ChatPane.h"
#include "game/GameInterface.h"
#include "net/Connection.h"
#include "net/OutMessage.h"
#include "protocol/Protocol.h"
#include "tests/protocol/RequestDecoder.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/RequestTable.h"
#include "world/ItemsCache.h"

namespace {

using Frames = std::vector<std::vector<uint8_t>>;

// The largest payload one message holds: 16383 bytes with the length prefix.
constexpr size_t kMaxPayload = 16381;

Json Parsed(const char* text) {
    Json value;
    std::string error;
    EXPECT_TRUE(Json::Parse(text, value, error)) << error << " in " << text;
    return value;
}

// The decoded line without the bytes, which only some checks compare.
Json WithoutRaw(const Json& line) {
    Json out = Json::Object();
    for (const auto& member : line.members)
        if (member.first != "raw")
            out.Set(member.first, member.second);
    return out;
}

class RequestsTest : public ::testing::Test, public ClientFixture {
protected:
    void SetUp() override {
        StartClient();
        PrepareForRequestTable(*client);
        connection().ClearQueues();
    }
    Protocol& protocol() { return *client->protocol; }
    Connection& connection() { return *client->protocol->connection; }

    // The frames queued since the last call.
    Frames Take() {
        Frames frames = connection().QueuedFrames();
        connection().ClearQueues();
        return frames;
    }

    // Decodes the frames; each must be one whole request.
    std::vector<Json> Decode(const Frames& frames) {
        std::vector<Json> lines;
        std::string error;
        EXPECT_TRUE(DecodeFrames(frames, lines, error)) << error;
        EXPECT_EQ(lines.size(), frames.size());
        return lines;
    }
};

TEST_F(RequestsTest, EveryRowOfTheTableDecodesAsWritten) {
    struct Sent {
        const RequestRow* row;
        size_t index;
    };
    Frames frames;
    std::vector<Sent> sent;
    for (const RequestRow& row : RequestRows()) {
        row.call(*client, protocol());
        const Frames queued = Take();
        ASSERT_EQ(queued.size(), row.expected.size()) << row.name;
        for (size_t i = 0; i < queued.size(); ++i) {
            const std::vector<uint8_t>& frame = queued[i];
            ASSERT_GE(frame.size(), 3u) << row.name;
            EXPECT_EQ(size_t(frame[0] | frame[1] << 8), frame.size() - 2) << row.name;
            if (!row.bytes.empty())
                EXPECT_EQ(Hex(frame.data() + 2, frame.size() - 2), row.bytes[i]) << row.name;
            frames.push_back(frame);
            sent.push_back({&row, i});
        }
    }
    const std::vector<Json> lines = Decode(frames);
    ASSERT_EQ(lines.size(), sent.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const RequestRow& row = *sent[i].row;
        EXPECT_EQ(lines[i].Find("error"), nullptr) << row.name << ": " << lines[i].Dump();
        EXPECT_EQ(WithoutRaw(lines[i]), Parsed(row.expected[sent[i].index]))
            << row.name << "\n  decoded:  " << lines[i].Dump();
        if (!row.bytes.empty()) {
            const Json* raw = lines[i].Find("raw");
            ASSERT_NE(raw, nullptr);
            EXPECT_EQ(raw->text, row.bytes[sent[i].index]) << row.name;
        }
    }
}

TEST_F(RequestsTest, TheTableCoversEveryOpcodeTheSendersWrite) {
    std::set<int> opcodes;
    std::set<int> guild;
    std::set<int> brewing;
    for (const RequestRow& row : RequestRows())
        for (const char* text : row.expected) {
            const Json line = Parsed(text);
            const int opcode = int(line.Find("opcode")->number);
            opcodes.insert(opcode);
            if (opcode == 0x38 || opcode == 0x39)
                (opcode == 0x38 ? guild : brewing).insert(int(line.Find("sub")->number));
        }
    std::set<int> wanted = {0x4A};
    for (int opcode = 0x01; opcode <= 0x3A; ++opcode)
        wanted.insert(opcode);
    EXPECT_EQ(opcodes, wanted);
    EXPECT_EQ(guild, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(brewing, (std::set<int>{1, 2, 3}));
}

// --- the randomised round trip -------------------------------------------------------

// What one request must decode to, and how big its payload is.
class Expect {
public:
    Expect(const char* name, int opcode) : json(Json::Object()) {
        json.Set("request", Json::Text(name)).Set("opcode", Json::Number(opcode));
    }
    Expect& U8(const char* key, int64_t value) { return Field(key, uint64_t(value) & 0xFF, 1); }
    Expect& U16(const char* key, int64_t value) { return Field(key, uint64_t(value) & 0xFFFF, 2); }
    Expect& U32(const char* key, int64_t value) { return Field(key, uint64_t(value) & 0xFFFFFFFF, 4); }
    Expect& F32(const char* key, float value) {
        json.Set(key, Json::Number(double(value)));
        size += 4;
        return *this;
    }
    Expect& Str(const char* key, const std::string& text) {
        json.Set(key, Json::Text(text));
        size += 2 + text.size();
        return *this;
    }
    Expect& Set(const char* key, const Json& value, size_t bytes) {
        json.Set(key, value);
        size += bytes;
        return *this;
    }

    Json json;
    size_t size = 1;

private:
    Expect& Field(const char* key, uint64_t value, size_t bytes) {
        json.Set(key, Json::Number(double(value)));
        size += bytes;
        return *this;
    }
};

class Random {
public:
    explicit Random(uint32_t seed) : engine(seed) {}

    uint32_t Below(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(engine); }
    int64_t Int() {
        static const int64_t extremes[] = {0, 1, -1, 255, 256, 65535, 65536, INT_MAX, INT_MIN, UINT32_MAX};
        if (Below(3) == 0)
            return extremes[Below(sizeof extremes / sizeof extremes[0])];
        return int64_t(int32_t(engine()));
    }
    float Float() {
        static const float values[] = {0.0f, -0.0f, 1.5f, -2.25f, 0.1f, 3.4e38f, 1e-45f, 16777217.0f};
        if (Below(2) == 0)
            return values[Below(sizeof values / sizeof values[0])];
        uint32_t bits;
        float value;
        do {
            bits = engine();
            std::memcpy(&value, &bits, sizeof value);
        } while (value != value);  // NaN carries no value to compare
        return value;
    }
    // Empty, short, long, around the limit of one message, and beyond it.
    std::string Text() {
        size_t length;
        switch (Below(20)) {
            case 0: case 1: length = 0; break;
            case 2: length = 100 + Below(1000); break;
            case 3: length = kMaxPayload - 20 + Below(30); break;
            case 4: length = 20000; break;
            default: length = 1 + Below(24); break;
        }
        // Any byte but NUL, which ends a text.
        std::string text(length, ' ');
        for (char& c : text)
            c = char(1 + Below(255));
        return text;
    }
    // 0, 255 and 300 entries beside the everyday sizes.
    size_t Count() {
        static const size_t counts[] = {0, 1, 2, 7, 254, 255, 256, 300};
        return counts[Below(sizeof counts / sizeof counts[0])];
    }

    std::mt19937 engine;
};

int32_t Low(int64_t value) { return int32_t(uint32_t(uint64_t(value))); }

// One sender: makes a random call and returns what each frame it queues must
// decode to (a request that does not fit must queue nothing; that is
// checked by its size).
using Case = std::function<std::vector<Expect>(Random&, Client&, Protocol&)>;

Position RandomPosition(Random& r) { return {Low(r.Int()), Low(r.Int()), Low(r.Int())}; }

Expect& AddPosition(Expect& e, const Position& p, const char* x = "x", const char* y = "y", const char* z = "z") {
    return e.U16(x, p.x).U16(y, p.y).U8(z, p.z);
}

const std::vector<std::pair<const char*, Case>>& Cases() {
    using Out = std::vector<Expect>;
    using R = Random;
    using C = Client;
    using P = Protocol;
    static const std::vector<std::pair<const char*, Case>> cases = {
        {"login", [](R& r, C& c, P& p) {
             const std::string account = r.Text(), password = r.Text();
             c.gfxVersion = Low(r.Int());
             p.SendLoginServerLogin(account, password);
             return Out{Expect("login", 1).U16("version", 573).Str("account", account).Str("password", password)
                            .Str("tag", "kov847").U32("gfx_stamp", c.gfxVersion).U32("reserved", 0)};
         }},
        {"game login", [](R& r, C&, P& p) {
             p.account = r.Text();
             p.password = r.Text();
             const std::string character = r.Text();
             ItemsCache::Instance()->version = uint32_t(r.Int());
             p.SendGameLogin(character);
             return Out{Expect("game login", 2).U16("version", 573).Str("account", p.account)
                            .Str("password", p.password).Str("character", character)
                            .U32("items_version", ItemsCache::Instance()->version)};
         }},
        {"chat", [](R& r, C&, P& p) {
             const std::string channel = r.Text(), text = r.Text();
             ChatTabScope tab(channel.c_str());
             p.SendChatMessage(text);
             return Out{Expect("chat message", 3).Str("channel", channel).Str("text", text)};
         }},
        {"outfit", [](R& r, C&, P& p) {
             int64_t v[9];
             for (int64_t& value : v)
                 value = r.Int();
             p.SendOutfit(Low(v[0]), Low(v[1]), Low(v[2]), Low(v[3]), Low(v[4]), Low(v[5]), Low(v[6]), Low(v[7]),
                          Low(v[8]));
             Expect e("outfit", 0x0C);
             e.U16("part0", v[0]).U16("part1", v[1]).U16("part2", v[2]);
             const char* small[] = {"part3", "part4", "part5", "part6", "part7", "part8"};
             for (int i = 0; i < 6; ++i)
                 e.U8(small[i], v[3 + i]);
             return Out{e};
         }},
        {"move thing", [](R& r, C&, P& p) {
             const Position from = RandomPosition(r), to = RandomPosition(r);
             const int64_t count = r.Int();
             p.SendMoveThing(from, to, Low(count));
             Expect e("move thing", 0x0E);
             AddPosition(e, from, "from_x", "from_y", "from_z");
             AddPosition(e, to, "to_x", "to_y", "to_z");
             return Out{e.U8("count", count)};
         }},
        {"use at", [](R& r, C& c, P& p) {
             int free = 0;
             bool found = false;
             for (int i = 0; i < GameInterface::kContainerSlots; ++i) {
                 static char window;
                 const bool open = r.Below(4) != 0;
                 c.game->containers[i] = open ? reinterpret_cast<Container*>(&window) : nullptr;
                 if (!open && !found) {
                     free = i;
                     found = true;
                 }
             }
             const Position position = RandomPosition(r);
             const int64_t action = r.Int();
             p.SendUseAt(position, uint32_t(action));
             for (Container*& slot : c.game->containers)
                 slot = nullptr;
             Expect e("use at", 0x0F);
             return Out{AddPosition(e, position).U8("container", free).U32("action", action)};
         }},
        {"container close", [](R& r, C&, P& p) {
             const int64_t v = r.Int();
             p.SendContainerClose(Low(v));
             return Out{Expect("container close", 0x10).U8("container", v)};
         }},
        {"look", [](R& r, C&, P& p) {
             const Position position = RandomPosition(r);
             p.SendLook(position);
             Expect e("look", 0x11);
             return Out{AddPosition(e, position)};
         }},
        {"targets", [](R& r, C&, P& p) {
             const int64_t a = r.Int(), f = r.Int();
             p.SendTargets(uint32_t(a), uint32_t(f));
             return Out{Expect("targets", 0x12).U32("attack", a).U32("follow", f)};
         }},
        {"logout", [](R&, C&, P& p) {
             p.SendLogout();
             return Out{Expect("logout", 0x13)};
         }},
        {"op 14", [](R& r, C&, P& p) {
             const int64_t a = r.Int(), b = r.Int(), c = r.Int();
             p.SendOp14(uint32_t(a), uint32_t(b), Low(c));
             return Out{Expect("op 14", 0x14).U32("offer", a).U32("amount", b).U8("buy_or_sell", c)};
         }},
        {"join channel", [](R& r, C&, P& p) {
             const int64_t kind = r.Int();
             const std::string name = r.Text();
             p.SendJoinChannel(Low(kind), name);
             return Out{Expect("join channel", 0x15).U8("kind", kind).Str("name", name)};
         }},
        {"op 16", [](R& r, C&, P& p) {
             const int64_t kind = r.Int();
             const std::string name = r.Text();
             p.SendOp16(Low(kind), name);
             return Out{Expect("op 16", 0x16).U8("kind", kind).Str("name", name)};
         }},
        {"add friend", [](R& r, C&, P& p) {
             const std::string name = r.Text();
             const int64_t list = r.Int();
             p.SendAddFriend(name, Low(list));
             return Out{Expect("add friend", 0x17).Str("name", name).U8("list", list)};
         }},
        {"remove friend", [](R& r, C&, P& p) {
             const std::string name = r.Text();
             const int64_t list = r.Int();
             p.SendRemoveFriend(name, Low(list));
             return Out{Expect("remove friend", 0x18).Str("name", name).U8("list", list)};
         }},
        {"pong", [](R& r, C&, P& p) {
             const int64_t v = r.Int();
             p.SendPong(uint16_t(v));
             return Out{Expect("pong", 0x19).U16("value", v)};
         }},
        {"walk path", [](R& r, C&, P& p) {
             std::vector<int> steps(r.Count());
             for (int& step : steps)
                 step = 1 + int(r.Below(8));
             const int64_t x = r.Int(), y = r.Int(), z = r.Int();
             p.SendWalkPath(steps, Low(x), Low(y), Low(z));
             Json sent = Json::Array();
             for (size_t i = 0; i < steps.size() && i < 255; ++i)
                 sent.Add(Json::Number(steps[i]));
             return Out{Expect("walk path", 0x1A).U32("x_times_3", x * 3).U32("y_times_2", y * 2)
                            .U16("floor_times_4", z * 4).Set("steps", sent, 1 + sent.items.size())};
         }},
        {"party command", [](R& r, C&, P& p) {
             const std::string name = r.Text();
             const int64_t action = r.Int();
             p.SendPartyCommand(name, Low(action));
             return Out{Expect("party command", 0x1B).Str("name", name).U8("action", action)};
         }},
        {"request channels", [](R&, C&, P& p) {
             p.SendRequestChannels();
             return Out{Expect("request channels", 0x1C)};
         }},
        {"ban info request", [](R& r, C&, P& p) {
             const std::string name = r.Text();
             p.SendBanInfoRequest(name);
             return Out{Expect("ban info request", 0x1D).Str("name", name)};
         }},
        {"banish", [](R& r, C&, P& p) {
             const std::string name = r.Text(), comments = r.Text(), text = r.Text();
             const int64_t days = r.Int(), flag = r.Int();
             p.SendBanish(name, Low(days), comments, Low(flag), text);
             return Out{Expect("banish", 0x1E).Str("name", name).U16("days", days).Str("comments", comments)
                            .U8("flag", flag).Str("text", text)};
         }},
        {"trade command", [](R& r, C&, P& p) {
             // The server reads a slot behind sub-command 4 only.
             const bool withSlot = r.Below(2) == 0;
             const int32_t slot = withSlot ? int32_t(r.Below(INT_MAX)) : -1 - int32_t(r.Below(3));
             int sub = withSlot ? 4 : int(r.Below(256));
             if (!withSlot && sub == 4)
                 sub = 1;
             p.SendTradeCommand(sub, slot);
             Expect e("trade command", 0x1F);
             e.U8("sub", sub);
             if (withSlot)
                 e.U16("slot", slot);
             return Out{e};
         }},
        {"report", [](R& r, C&, P& p) {
             const std::string text = r.Text();
             p.SendReport(text);
             return Out{Expect("report", 0x20).Str("text", text)};
         }},
        {"op 21", [](R& r, C&, P& p) {
             const int64_t first = r.Int(), flag = r.Int();
             p.SendOp21(uint32_t(first), Low(flag));
             return Out{Expect("op 21", 0x21).U32("first", first).U8("flag", flag)};
         }},
        {"request action list", [](R& r, C&, P& p) {
             p.SendRequestActionList(uint8_t(r.Below(2)));
             return Out{Expect("request action list", 0x22)};
         }},
        {"cast spell", [](R& r, C&, P& p) {
             const int64_t spell = r.Int();
             const std::string target = r.Text();
             p.SendCastSpell(Low(spell), target);
             if (Low(spell) <= 0)
                 return Out{};
             return Out{Expect("cast spell", 0x23).U16("spell", spell).Str("target", target)};
         }},
        {"op 24", [](R& r, C&, P& p) {
             const std::string name = r.Text();
             p.SendOp24(name);
             return Out{Expect("op 24", 0x24).Str("name", name)};
         }},
        {"house save", [](R& r, C&, P& p) {
             HouseRecord house;
             house.position = RandomPosition(r);
             house.invites.resize(r.Count());
             for (HouseInvite& invite : house.invites)
                 invite = {r.Below(4) == 0 ? r.Text() : std::string(1 + r.Below(20), 'a'), r.Below(2) == 0};
             house.tilePermissions.resize(r.Count());
             for (TilePermission& permission : house.tilePermissions)
                 permission = {std::string(r.Below(20), 'b'), uint32_t(r.Int())};
             p.SendHouseSave(house);
             Expect e("house save", 0x25);
             AddPosition(e, house.position);
             Json invites = Json::Array();
             size_t bytes = 1;
             for (size_t i = 0; i < house.invites.size() && i < 255; ++i) {
                 const HouseInvite& invite = house.invites[i];
                 invites.Add(Json::Object().Set("name", Json::Text(invite.name))
                                 .Set("role", Json::Number(invite.subOwner ? 1 : 0)));
                 bytes += 3 + invite.name.size();
             }
             e.Set("invites", invites, bytes);
             Json permissions = Json::Array();
             bytes = 1;
             for (size_t i = 0; i < house.tilePermissions.size() && i < 255; ++i) {
                 const TilePermission& permission = house.tilePermissions[i];
                 permissions.Add(Json::Object().Set("name", Json::Text(permission.name))
                                     .Set("level", Json::Number(permission.rights & 0xFF)));
                 bytes += 3 + permission.name.size();
             }
             return Out{e.Set("permissions", permissions, bytes)};
         }},
        {"house bid", [](R& r, C&, P& p) {
             const int64_t house = r.Int(), amount = r.Int();
             p.SendHouseBid(uint32_t(house), uint32_t(amount));
             return Out{Expect("house bid", 0x26).U32("house", house).U32("amount", amount)};
         }},
        {"op 27", [](R& r, C&, P& p) {
             const int64_t v = r.Int();
             p.SendOp27(Low(v));
             return Out{Expect("op 27", 0x27).U8("container", v)};
         }},
        {"request quests", [](R&, C&, P& p) {
             p.SendRequestQuests();
             return Out{Expect("request quests", 0x28)};
         }},
        {"summon monster", [](R& r, C&, P& p) {
             const std::string name = r.Text();
             p.SendSummonMonster(name);
             return Out{Expect("summon monster", 0x29).Str("name", name)};
         }},
        {"market open", [](R&, C&, P& p) {
             p.SendMarketOpen();
             return Out{Expect("market open", 0x2A)};
         }},
        {"market accept", [](R& r, C&, P& p) {
             const std::string player = r.Text();
             const int64_t item = r.Int(), amount = r.Int(), side = r.Int();
             const float price = r.Float();
             p.SendMarketAccept(player, uint32_t(item), uint32_t(amount), price, Low(side));
             return Out{Expect("market accept", 0x2B).Str("player", player).U32("item", item).U32("amount", amount)
                            .F32("price", price).U8("side", side)};
         }},
        {"market create offer", [](R& r, C&, P& p) {
             const int64_t item = r.Int(), amount = r.Int(), side = r.Int();
             const float price = r.Float();
             testing::internal::CaptureStdout();  // its trace line is checked elsewhere
             p.SendMarketCreateOffer(uint32_t(item), uint32_t(amount), price, Low(side));
             testing::internal::GetCapturedStdout();
             return Out{Expect("market create offer", 0x2C).U32("item", item).U32("amount", amount)
                            .F32("price", price).U8("side", side)};
         }},
        {"market query", [](R& r, C&, P& p) {
             const int64_t item = r.Int();
             const std::string player = r.Text();
             p.SendMarketQuery(uint32_t(item), player);
             return Out{Expect("market query", 0x2D).U32("item", item).Str("player", player)};
         }},
        {"market offer action", [](R& r, C&, P& p) {
             const int64_t item = r.Int(), side = r.Int();
             p.SendMarketOfferAction(uint32_t(item), Low(side));
             return Out{Expect("market offer action", 0x2E).U32("item", item).U8("side", side)};
         }},
        {"house abandon", [](R&, C&, P& p) {
             p.SendHouseAbandon();
             return Out{Expect("house abandon", 0x2F)};
         }},
        {"house transfer", [](R& r, C&, P& p) {
             const std::string name = r.Text();
             const int64_t price = r.Int();
             p.SendHouseTransfer(name, uint32_t(price));
             return Out{Expect("house transfer", 0x30).Str("name", name).U32("price", price)};
         }},
        {"request spells", [](R&, C&, P& p) {
             p.SendRequestSpells();
             return Out{Expect("request spells", 0x31)};
         }},
        {"op 32", [](R&, C&, P& p) {
             p.SendOp32();
             return Out{Expect("op 32", 0x32)};
         }},
        {"talents", [](R& r, C&, P& p) {
             std::array<int32_t, 7> points;
             for (int32_t& value : points)
                 value = Low(r.Int());
             p.SendTalents(points);
             Expect e("talents", 0x33);
             const char* names[] = {"durability", "spirituality", "legerity", "expertise",
                                    "aggression", "fortification", "resistance"};
             for (int i = 0; i < 7; ++i)
                 e.U16(names[i], points[size_t(i)]);
             return Out{e};
         }},
        {"op 34", [](R&, C&, P& p) {
             p.SendOp34();
             return Out{Expect("op 34", 0x34)};
         }},
        {"npc shop select", [](R& r, C&, P& p) {
             const int64_t item = r.Int();
             p.SendNpcShopSelect(uint32_t(item));
             return Out{Expect("npc shop select", 0x35).U32("item", item)};
         }},
        {"house buy item", [](R& r, C&, P& p) {
             const int64_t item = r.Int();
             p.SendHouseBuyItem(uint32_t(item));
             return Out{Expect("house buy item", 0x36).U32("item", item)};
         }},
        {"request guild", [](R&, C&, P& p) {
             p.SendRequestGuild();
             return Out{Expect("request guild", 0x37)};
         }},
        {"guild commands", [](R& r, C&, P& p) {
             const int sub = 1 + int(r.Below(12));
             Expect e(sub == 4 ? "guild create" : sub == 5 ? "guild join" : "", 0x38);
             if (sub != 4 && sub != 5)
                 e.json.members[0].second = Json::Text("guild command " + std::to_string(sub));
             e.U8("sub", sub);
             const std::string text = r.Text();
             const int64_t a = r.Int(), b = r.Int(), c = r.Int();
             switch (sub) {
                 case 1: p.SendGuildCommand1(text); e.Str("text", text); break;
                 case 2: p.SendGuildCommand2(text); e.Str("name", text); break;
                 case 3: p.SendGuildCommand3(uint32_t(a)); e.U32("member", a); break;
                 case 4: p.SendGuildCreate(text); e.Str("name", text); break;
                 case 5: p.SendGuildJoin(uint32_t(a)); e.U32("guild", a); break;
                 case 6:
                     p.SendGuildCommand6(uint32_t(a), text, uint32_t(b));
                     e.U32("member", a).Str("title", text).U32("rank", b);
                     break;
                 case 7:
                     p.SendGuildCommand7(text, uint32_t(a), uint32_t(b), Low(c));
                     e.Str("guild", text).U32("days", a).U32("fee", b).U8("loyalty", c);
                     break;
                 case 8: p.SendGuildCommand8(uint32_t(a)); e.U32("war", a); break;
                 case 9: p.SendGuildCommand9(uint32_t(a)); e.U32("war", a); break;
                 case 10: p.SendGuildCommand10(Low(a), text); e.U8("level", a).Str("rank_name", text); break;
                 case 11: p.SendGuildCommand11(uint32_t(a)); e.U32("rank", a); break;
                 default: p.SendGuildCommand12(uint32_t(a), Low(b)); e.U32("rank", a).U8("step", b); break;
             }
             return Out{e};
         }},
        {"brew commands", [](R& r, C&, P& p) {
             const int sub = 1 + int(r.Below(3));
             Expect e(sub == 1 ? "brew command 1" : sub == 2 ? "brew command 2" : "brew command 3", 0x39);
             e.U8("sub", sub);
             if (sub == 1) {
                 const int64_t size = r.Int(), amount = r.Int();
                 p.SendBrewCommand1(Low(size), Low(amount));
                 e.U8("size", size).U16("amount", amount);
             } else if (sub == 2) {
                 p.SendBrewCommand2();
             } else {
                 p.SendBrewCommand3();
             }
             return Out{e};
         }},
        {"request online list", [](R&, C&, P& p) {
             p.SendRequestOnlineList();
             return Out{Expect("request online list", 0x3A)};
         }},
        {"op 4a", [](R& r, C&, P& p) {
             const int64_t v = r.Int();
             p.SendOp4A(Low(v));
             return Out{Expect("op 4a", 0x4A).U8("container", v), Expect("container close", 0x10).U8("container", v)};
         }},
    };
    return cases;
}

TEST_F(RequestsTest, RandomArgumentsRoundTripThroughTheDecoder) {
    constexpr int kSetsPerSender = 200;
    Random random(20240613);
    Frames frames;
    std::vector<Json> expected;
    std::vector<std::string> from;
    size_t refused = 0;
    for (const auto& c : Cases()) {
        for (int set = 0; set < kSetsPerSender; ++set) {
            std::vector<Expect> wanted = c.second(random, *client, protocol());
            std::vector<Expect> fitting;
            for (Expect& e : wanted)
                if (e.size <= kMaxPayload)
                    fitting.push_back(e);
            refused += wanted.size() - fitting.size();
            const Frames queued = Take();
            ASSERT_EQ(queued.size(), fitting.size()) << c.first << ", set " << set;
            for (size_t i = 0; i < queued.size(); ++i) {
                ASSERT_LE(queued[i].size(), size_t(OutMessage::kMaxEnd)) << c.first;
                EXPECT_EQ(queued[i].size(), fitting[i].size + 2) << c.first << ", set " << set;
                frames.push_back(queued[i]);
                expected.push_back(fitting[i].json);
                from.push_back(std::string(c.first) + ", set " + std::to_string(set));
            }
        }
    }
    EXPECT_GT(refused, 0u);  // the long texts did reach the limit
    const std::vector<Json> lines = Decode(frames);
    ASSERT_EQ(lines.size(), expected.size());
    int failures = 0;
    for (size_t i = 0; i < lines.size() && failures < 10; ++i) {
        if (WithoutRaw(lines[i]) != expected[i]) {
            ++failures;
            ADD_FAILURE() << from[i] << "\n  decoded:  " << lines[i].Dump().substr(0, 400)
                          << "\n  expected: " << expected[i].Dump().substr(0, 400);
        }
    }
}

// A text that does not fit leaves out the whole request: the server never
// sees one with a field missing from its middle, and the next request goes
// out whole.
TEST_F(RequestsTest, ARequestWhoseTextDoesNotFitQueuesNothing) {
    const std::string tooLong(kMaxPayload, 'x');
    const struct {
        const char* name;
        std::function<void(Protocol&)> call;
    } cases[] = {
        {"0x03 chat", [&](Protocol& p) { p.SendChatMessage(tooLong); }},
        {"0x15 join channel", [&](Protocol& p) { p.SendJoinChannel(2, tooLong); }},
        {"0x16 leave channel", [&](Protocol& p) { p.SendOp16(2, tooLong); }},
        {"0x17 add friend", [&](Protocol& p) { p.SendAddFriend(tooLong, 1); }},
        {"0x18 remove friend", [&](Protocol& p) { p.SendRemoveFriend(tooLong, 1); }},
        {"0x1b party", [&](Protocol& p) { p.SendPartyCommand(tooLong, 0); }},
        {"0x1d ban info request", [&](Protocol& p) { p.SendBanInfoRequest(tooLong); }},
        {"0x1e banish, first text", [&](Protocol& p) { p.SendBanish(tooLong, 1, "c", 0, "t"); }},
        {"0x1e banish, middle text", [&](Protocol& p) { p.SendBanish("n", 1, tooLong, 0, "t"); }},
        {"0x1e banish, last text", [&](Protocol& p) { p.SendBanish("n", 1, "c", 0, tooLong); }},
        {"0x20 report", [&](Protocol& p) { p.SendReport(tooLong); }},
        {"0x23 cast spell", [&](Protocol& p) { p.SendCastSpell(5, tooLong); }},
        {"0x24 ban dialog action", [&](Protocol& p) { p.SendOp24(tooLong); }},
        {"0x25 house save, an invite",
         [&](Protocol& p) {
             HouseRecord house;
             house.invites = {{"a", false}, {tooLong, true}};
             house.tilePermissions = {{"b", 1}};
             p.SendHouseSave(house);
         }},
        {"0x25 house save, many names",
         [&](Protocol& p) {
             HouseRecord house;
             house.tilePermissions.assign(255, {std::string(70, 'n'), 1});
             p.SendHouseSave(house);
         }},
        {"0x29 summon", [&](Protocol& p) { p.SendSummonMonster(tooLong); }},
        {"0x2b market accept", [&](Protocol& p) { p.SendMarketAccept(tooLong, 1, 2, 3.0f, 1); }},
        {"0x2d market query", [&](Protocol& p) { p.SendMarketQuery(1, tooLong); }},
        {"0x30 house transfer", [&](Protocol& p) { p.SendHouseTransfer(tooLong, 5); }},
        {"0x38 guild 1", [&](Protocol& p) { p.SendGuildCommand1(tooLong); }},
        {"0x38 guild 2", [&](Protocol& p) { p.SendGuildCommand2(tooLong); }},
        {"0x38 guild 4", [&](Protocol& p) { p.SendGuildCreate(tooLong); }},
        {"0x38 guild 6", [&](Protocol& p) { p.SendGuildCommand6(1, tooLong, 2); }},
        {"0x38 guild 7", [&](Protocol& p) { p.SendGuildCommand7(tooLong, 1, 2, 1); }},
        {"0x38 guild 10", [&](Protocol& p) { p.SendGuildCommand10(1, tooLong); }},
        {"0x01 login", [&](Protocol& p) { p.SendLoginServerLogin(tooLong, "pw"); }},
        {"0x02 game login", [&](Protocol& p) { p.SendGameLogin(tooLong); }},
    };
    Frames frames;
    for (const auto& c : cases) {
        c.call(protocol());
        EXPECT_EQ(connection().OutgoingCount(), 0u) << c.name;
        // The next request is whole.
        protocol().SendPong(0x1234);
        const Frames queued = Take();
        ASSERT_EQ(queued.size(), 1u) << c.name;
        frames.push_back(queued[0]);
    }
    for (const Json& line : Decode(frames))
        EXPECT_EQ(WithoutRaw(line), Parsed(R"({"request": "pong", "opcode": 25, "value": 4660})"));

    // One byte less, and it fits exactly.
    protocol().SendReport(std::string(kMaxPayload - 3, 'x'));
    const Frames exact = Take();
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0].size(), size_t(OutMessage::kMaxEnd));
    ASSERT_EQ(Decode(exact).size(), 1u);
}

// A count is one byte: a longer list would put its surplus entries where the
// server reads the next request's opcode (the directions 1 to 8 are the
// opcodes of the logins, the chat and the steps).
TEST_F(RequestsTest, PathsAndHouseListsCarryAtMost255Entries) {
    std::vector<int> steps(600);
    for (size_t i = 0; i < steps.size(); ++i)
        steps[i] = 1 + int(i % 8);
    protocol().SendWalkPath(steps, 1000, 2000, 7);

    HouseRecord house;
    house.position = {1000, 2000, 6};
    for (int i = 0; i < 300; ++i) {
        house.invites.push_back({"i" + std::to_string(i), i % 2 == 0});
        house.tilePermissions.push_back({"t" + std::to_string(i), uint32_t(i)});
    }
    protocol().SendHouseSave(house);

    const std::vector<Json> lines = Decode(Take());
    ASSERT_EQ(lines.size(), 2u);
    const Json& walk = lines[0];
    ASSERT_EQ(walk.Find("error"), nullptr) << walk.Dump();
    EXPECT_EQ(walk.Find("x_times_3")->number, 3000);
    EXPECT_EQ(walk.Find("y_times_2")->number, 4000);
    EXPECT_EQ(walk.Find("floor_times_4")->number, 28);
    const std::vector<Json>& sent = walk.Find("steps")->items;
    ASSERT_EQ(sent.size(), 255u);
    for (size_t i = 0; i < sent.size(); ++i)
        EXPECT_EQ(sent[i].number, steps[i]);

    const Json& saved = lines[1];
    ASSERT_EQ(saved.Find("error"), nullptr) << saved.Dump().substr(0, 300);
    const std::vector<Json>& invites = saved.Find("invites")->items;
    const std::vector<Json>& permissions = saved.Find("permissions")->items;
    ASSERT_EQ(invites.size(), 255u);
    ASSERT_EQ(permissions.size(), 255u);
    EXPECT_EQ(invites[254].Find("name")->text, "i254");
    EXPECT_EQ(invites[254].Find("role")->number, 1);
    EXPECT_EQ(permissions[254].Find("name")->text, "t254");
    EXPECT_EQ(permissions[254].Find("level")->number, 254);
}

}  // namespace
