// What some senders do beside their bytes: the market offer's trace line, the
// flag the action-list request keeps, and requests made after a lost
// connection, which never reach the next server ahead of its login.
#include <gtest/gtest.h>

#include "client/CharacterList.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "net/Connection.h"
#include "protocol/Protocol.h"
#include "tests/support/LoginFixture.h"

namespace {

class RequestSideEffectsTest : public LoginTest {
protected:
    Protocol& protocol() { return *client->protocol; }
};

TEST_F(RequestSideEffectsTest, AMarketOfferPrintsItsAmountAndPriceFirst) {
    Start();
    const struct {
        uint32_t amount;
        float price;
        const char* line;
    } cases[] = {
        {5, 1.5f, "amount: 5 eachprice: 1.5\n"},
        {0, 0.1f, "amount: 0 eachprice: 0.1\n"},  // the float's 0.100000001 in six digits
        {7, 2.0f, "amount: 7 eachprice: 2\n"},
        {4294967295u, 1234567.0f, "amount: 4294967295 eachprice: 1.23457e+06\n"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        protocol().SendMarketCreateOffer(3031, c.amount, c.price, 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.line);
        EXPECT_EQ(protocol().connection->OutgoingCount(), 1u);
        protocol().connection->ClearQueues();
    }
}

TEST_F(RequestSideEffectsTest, TheActionListKeepsTheFlagOfTheLastRequest) {
    Start();
    protocol().SendRequestActionList(1);
    EXPECT_EQ(protocol().actionListFlag, 1);
    protocol().SendRequestActionList(0);
    EXPECT_EQ(protocol().actionListFlag, 0);  // the next answer opens the action choice
    EXPECT_EQ(protocol().connection->OutgoingCount(), 2u);
}

TEST_F(RequestSideEffectsTest, AUseAfterALostConnectionDoesNotPrecedeTheNextLogin) {
    Start();
    protocol().account = "acc";
    protocol().password = "pw";
    protocol().Connect(0, {"login"}, 5657);
    ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0 && !sockets->sent.empty(); }));
    sockets->incoming.push_back(Frame(CharacterListMessage(0, {{"Aldric", "", "world-a", 7171, {}, "", 1}})));
    ASSERT_TRUE(RunUntil([&] { return client->app->gui->FindControl(CharacterList::kDialog) != nullptr; }));
    CharacterList::OnEnterGameClicked(protocol().characterList);
    ASSERT_TRUE(RunUntil([&] { return protocol().loginSent != 0 && State() == Connection::kConnected; }));
    sockets->incoming.push_back(Frame(EnterGameMessage(0x10000001, 0x10000001, 0, 1)));
    ASSERT_TRUE(RunUntil([&] { return client->game != nullptr; }));
    SentSinceLastCall();

    // The game server goes; the client is on its way back to the login server.
    sockets->HoldConnects();
    sockets->peerClosed = true;
    ASSERT_TRUE(RunUntil([&] { return client->menu != nullptr && State() == Connection::kConnecting; }));
    sockets->peerClosed = false;
    // A hotkey's use while the new connection is still being made.
    protocol().SendUseAt({0, 0, 0}, 3031);
    const size_t before = sockets->sent.size();
    sockets->Release();
    const Bytes login = Frame(LoginRequest("acc", "pw", kStamp));
    ASSERT_TRUE(RunUntil([&] { return sockets->sent.size() >= before + login.size(); }));
    EXPECT_EQ(Bytes(sockets->sent.begin() + std::ptrdiff_t(before),
                    sockets->sent.begin() + std::ptrdiff_t(before + login.size())),
              login);
}

}  // namespace
