#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "client/Client.h"
#include "engine/Font.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "net/Connection.h"
#include "net/InMessage.h"
#include "protocol/Protocol.h"
#include "tests/support/DrawnText.h"
#include "tests/support/GameFixture.h"
#include "tests/support/GuiInput.h"
#include "tests/support/LoginFixture.h"

// A client in the game with a connected protocol whose queued requests the
// test reads, a graphics file with the sprites the test asks for, and the
// player's input through the window procedure.
class CharacterDialogTest : public GameTest {
protected:
    void Enter(std::initializer_list<ClientFixture::BlankSprite> sprites = {}) {
        Start("", false, sprites);
        ASSERT_NE(client->game, nullptr);
        connection().SetState(Connection::kConnected);
        connection().ClearQueues();
    }
    Connection& connection() { return *client->protocol->connection; }
    GUIManager& gui() { return *client->app->gui; }
    void Dispatch(const Bytes& payload) {
        const Bytes frame = Frame(payload);
        InMessage message(frame.data(), int(frame.size()));
        client->protocol->Dispatch(message);
        EXPECT_EQ(message.Remaining(), 0);
    }
    // The requests queued since the last call, each without its length; the
    // hotkey bar's own spell-list requests (0x22) are left out unless asked for.
    std::vector<Bytes> Requests(bool withSpellLists = false) {
        std::vector<Bytes> requests;
        for (const auto& frame : connection().QueuedFrames())
            if (frame.size() > 2 && (withSpellLists || frame[2] != 0x22))
                requests.emplace_back(frame.begin() + 2, frame.end());
        connection().ClearQueues();
        return requests;
    }
    void ClickAt(int x, int y) {
        GuiInput input(*client->app, fixture.platform.keys);
        input.Click(x, y);
    }
    void Click(int32_t id) {
        const GUIControl* control = gui().FindControl(id);
        ASSERT_NE(control, nullptr) << "control " << id;
        ClickAt(control->x + control->width / 2, control->y + control->height / 2);
    }
    void PressEnter() {
        GuiInput input(*client->app, fixture.platform.keys);
        input.Char('\r');
    }
    // The texts of the last frame drawn, without their outlines.
    std::vector<DrawnText> Texts() { return VisibleTexts(engine(), client->app->font->sheet); }
    // A text of the last Redraw (its blanks draw nothing, so they do not
    // count); valid until the next Redraw.
    const DrawnText* FindText(std::string text) const {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        for (const DrawnText& drawn : texts_)
            if (drawn.text == text)
                return &drawn;
        return nullptr;
    }
    // One frame, recorded afresh.
    void Redraw() {
        engine().Clear();
        DrawFrame();
        texts_ = Texts();
    }

private:
    std::vector<DrawnText> texts_;
};
