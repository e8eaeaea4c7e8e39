// The application object: window messages into input events, the frame
// counter in the title, and replacing the drawing engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "engine/Font.h"
#include "engine/Graphics.h"
#include "engine/SpriteStore.h"
#include "engine/WindowMessages.h"
#include "tests/support/TestApp.h"

namespace {

// lParam of a mouse message: x in the low word, y in the high word.
int64_t Point(int x, int y) { return int64_t(uint16_t(x)) | int64_t(uint16_t(y)) << 16; }
// wParam of WM_MOUSEWHEEL: the signed delta in the high word.
uint64_t Wheel(int delta) { return uint64_t(uint16_t(delta)) << 16; }

struct Message {
    uint32_t message;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    bool handled = true;  // what HandleMessage must answer
};

std::vector<InputEvent> Drain(KEngine2& app) {
    std::vector<InputEvent> events;
    while (app.HasEvents())
        events.push_back(app.PopEvent());
    return events;
}

struct TranslationCase {
    const char* name;
    std::vector<Message> messages;
    std::vector<InputEvent> events;
    int64_t lastKey = -1;  // -1: not checked
};

TEST(KEngine2Messages, TranslateIntoInputEvents) {
    const Message kMoveTo30x40{wm::kMouseMove, 0, Point(30, 40)};
    const Message kLoseFocus{wm::kKillFocus};
    const Message kGetFocus{wm::kSetFocus};
    const TranslationCase cases[] = {
        {"left down", {{wm::kLeftButtonDown, 0, Point(10, 20)}}, {{1, 10, 20, 0}}},
        {"left up", {{wm::kLeftButtonUp, 0, Point(11, 21)}}, {{2, 11, 21, 0}}},
        {"right down", {{wm::kRightButtonDown, 0, Point(12, 22)}}, {{3, 12, 22, 0}}},
        {"right up", {{wm::kRightButtonUp, 0, Point(13, 23)}}, {{4, 13, 23, 0}}},
        {"middle down", {{wm::kMiddleButtonDown, 0, Point(14, 24)}}, {{8, 14, 24, 0}}},
        {"middle up", {{wm::kMiddleButtonUp, 0, Point(15, 25)}}, {{9, 15, 25, 0}}},
        {"move", {{wm::kMouseMove, 0, Point(16, 26)}}, {{7, 16, 26, 0}}},
        {"captured mouse left of and above the window",
         {{wm::kLeftButtonUp, 0, Point(-5, -20)}, {wm::kMouseMove, 0, Point(-32768, 32767)}},
         {{2, -5, -20, 0}, {7, -32768, 32767, 0}}},
        {"bits above the two words are ignored",
         {{wm::kMouseMove, 0, int64_t(0x7FFF0000FFFF0001LL)}},
         {{7, 1, -1, 0}}},
        {"wheel notch away from the user at the last mouse position",
         {kMoveTo30x40, {wm::kMouseWheel, Wheel(120), Point(500, 500)}},
         {{7, 30, 40, 0}, {5, 30, 40, -1}}},
        {"two notches towards the user", {kMoveTo30x40, {wm::kMouseWheel, Wheel(-240)}},
         {{7, 30, 40, 0}, {5, 30, 40, 2}}},
        {"half a notch is 0 steps and still queued",
         {kMoveTo30x40, {wm::kMouseWheel, Wheel(60)}, {wm::kMouseWheel, Wheel(-60)}},
         {{7, 30, 40, 0}, {5, 30, 40, 0}, {5, 30, 40, 0}}},
        {"key down and up", {{wm::kKeyDown, 0x41}, {wm::kKeyUp, 0x41}}, {{20, 0x41, 0, 0}, {21, 0x41, 0, 0}}, 0x41},
        {"character after its key keeps the key as last key",
         {{wm::kKeyDown, 0x41}, {wm::kChar, 'a'}},
         {{20, 0x41, 0, 0}, {20, 0, 'a', 0}},
         0x41},
        {"system keys are queued but leave the last key",
         {{wm::kKeyDown, 0x41}, {wm::kSysKeyDown, 0x12}, {wm::kSysKeyUp, 0x12}},
         {{20, 0x41, 0, 0}, {20, 0x12, 0, 0}, {21, 0x12, 0, 0}},
         0x41},
        // Alt+F4 is queued too, then left to the system, which makes it a
        // close request; F4 without Alt and Alt with other keys stop here.
        {"Alt+F4 goes on to the default handling",
         {{wm::kSysKeyDown, wm::kKeyF4, wm::kAltHeld | 1, false},
          {wm::kSysKeyDown, wm::kKeyF4, 1, true},
          {wm::kSysKeyDown, 0x58, wm::kAltHeld | 1, true}},
         {{20, 0x73, 0, 0}, {20, 0x73, 0, 0}, {20, 0x58, 0, 0}}},
        {"resize", {{wm::kSize, 0, Point(800, 600)}}, {{30, 800, 600, 0}}},
        {"maximised", {{wm::kSize, wm::kSizeMaximized, Point(1280, 1000)}}, {{30, 1280, 1000, 1}}},
        {"inactive window queues no input, only resizes",
         {kLoseFocus,
          {wm::kLeftButtonDown, 0, Point(1, 2)},
          {wm::kLeftButtonUp, 0, Point(1, 2)},
          {wm::kRightButtonDown, 0, Point(1, 2)},
          {wm::kMiddleButtonUp, 0, Point(1, 2)},
          {wm::kMouseMove, 0, Point(1, 2)},
          {wm::kMouseWheel, Wheel(120)},
          {wm::kKeyDown, 0x42},
          {wm::kSysKeyDown, 0x12},
          {wm::kChar, 'b'},
          {wm::kKeyUp, 0x42},
          {wm::kSize, 0, Point(900, 700)}},
         {{30, 900, 700, 0}},
         0x42},
        {"the GUI follows the mouse while inactive, and focus brings events back",
         {kLoseFocus, {wm::kMouseMove, 0, Point(50, 60)}, kGetFocus, {wm::kMouseWheel, Wheel(120)}},
         {{5, 50, 60, -1}}},
        {"cursor kept while the left button goes down",
         {{wm::kSetCursor, 0, int64_t(wm::kLeftButtonDown) << 16 | 1}}, {}},
        {"other cursor requests go to the default handling",
         {{wm::kSetCursor, 0, int64_t(wm::kMouseMove) << 16 | 1, false}}, {}},
        {"no background erase", {{wm::kEraseBackground}}, {}},
        {"destroy", {{wm::kDestroy}}, {}},
        {"unlisted messages go to the default handling", {{0x000F /*WM_PAINT*/, 0, 0, false}}, {}},
    };
    for (const TranslationCase& test : cases) {
        SCOPED_TRACE(test.name);
        TestApp app;
        for (const Message& message : test.messages)
            EXPECT_EQ(app.app->HandleMessage(message.message, message.wParam, message.lParam), message.handled)
                << "message 0x" << std::hex << message.message;
        EXPECT_EQ(Drain(*app.app), test.events);
        if (test.lastKey >= 0) {
            EXPECT_EQ(app.app->lastKey, uint32_t(test.lastKey));
        }
    }
}

TEST(KEngine2Messages, ResizeAboveFourHundredByThreeHundredOnly) {
    struct Case {
        int width, height;
        uint64_t wParam;
        bool accepted;
    };
    const Case cases[] = {
        {401, 301, 0, true},   {400, 301, 0, false}, {401, 300, 0, false},
        {0, 0, 1 /*SIZE_MINIMIZED*/, false}, {65535, 65535, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        TestApp app;
        app.app->SetSize(1000, 700);
        app.app->HandleMessage(wm::kSize, c.wParam, Point(c.width, c.height));
        EXPECT_EQ(app.app->HasEvents(), c.accepted);
        EXPECT_EQ(app.app->clientWidth, c.accepted ? c.width : 1000);
        EXPECT_EQ(app.app->clientHeight, c.accepted ? c.height : 700);
        // The back end adapts to the new size at once.
        EXPECT_EQ(app.engine()->Count("SetSettings"), c.accepted ? 1u : 0u);
    }
    TestApp withoutEngine(0);
    EXPECT_TRUE(withoutEngine.app->HandleMessage(wm::kSize, 0, Point(800, 600)));
    EXPECT_EQ(withoutEngine.app->clientWidth, 800);
}

int g_closeRequests = 0;
void CountCloseRequest() { ++g_closeRequests; }

TEST(KEngine2Messages, CloseGoesToTheCallbackWhenThereIsOne) {
    TestApp app;
    g_closeRequests = 0;
    app.app->closeCallback = &CountCloseRequest;
    EXPECT_TRUE(app.app->HandleMessage(wm::kClose, 0, 0));
    EXPECT_EQ(g_closeRequests, 1);
    EXPECT_TRUE(app.app->running);

    app.app->closeCallback = nullptr;
    EXPECT_TRUE(app.app->HandleMessage(wm::kClose, 0, 0));
    EXPECT_EQ(g_closeRequests, 1);
    EXPECT_FALSE(app.app->running);
}

int g_lostWindows = 0;
void CountLostWindow() { ++g_lostWindows; }

TEST(KEngine2Messages, AWindowDestroyedWithoutACloseRequestIsLostOnce) {
    // After a close the window is destroyed on purpose: nothing is lost.
    TestApp closed;
    g_lostWindows = 0;
    closed.app->lostCallback = &CountLostWindow;
    closed.app->HandleMessage(wm::kClose, 0, 0);
    EXPECT_TRUE(closed.app->HandleMessage(wm::kDestroy, 0, 0));
    EXPECT_EQ(g_lostWindows, 0);
    EXPECT_FALSE(closed.app->windowLost);

    // Destroyed while running: the lost callback, once.
    TestApp destroyed;
    destroyed.app->lostCallback = &CountLostWindow;
    EXPECT_TRUE(destroyed.app->HandleMessage(wm::kDestroy, 0, 0));
    destroyed.app->OnWindowLost();
    EXPECT_EQ(g_lostWindows, 1);
    EXPECT_TRUE(destroyed.app->windowLost);

    // Without a callback the main loop ends.
    TestApp plain;
    plain.app->HandleMessage(wm::kDestroy, 0, 0);
    EXPECT_FALSE(plain.app->running);
}

TEST(KEngine2Messages, PopEventOnAnEmptyQueueGivesAnEmptyEvent) {
    TestApp app;
    EXPECT_FALSE(app.app->HasEvents());
    EXPECT_EQ(app.app->PopEvent(), InputEvent());
}

TEST(KEngine2Fps, ShownOnceASecondInTheTitle) {
    struct Case {
        uint32_t lastFrameAfter;
        const char* shown;
        float fps;
    };
    // 30 frames, the last one 999 or 1000 ms after the previous update.
    const Case cases[] = {{999, "Velmora Online", 0.0f}, {1000, "Velmora Online [FPS: 30]", 30.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastFrameAfter);
        TestApp app;
        app.app->SetTitle("Velmora Online", true);
        for (int frame = 0; frame < 29; ++frame)
            app.app->UpdateFps(true);
        app.platform.clock.Advance(c.lastFrameAfter);
        app.app->UpdateFps(true);
        EXPECT_EQ(app.app->shownTitle, c.shown);
        EXPECT_FLOAT_EQ(app.app->GetFps(), c.fps);
        EXPECT_EQ(app.app->title, "Velmora Online");
    }
}

TEST(KEngine2Fps, CountsFromTheLastUpdateAndTruncates) {
    TestApp app;
    app.app->SetTitle("Velmora Online", true);
    app.app->UpdateFps(true);
    app.platform.clock.Advance(1000);
    app.app->UpdateFps(true);
    EXPECT_EQ(app.app->shownTitle, "Velmora Online [FPS: 2]");
    // 120 frames in 2010 ms are 59.7 per second.
    for (int frame = 0; frame < 119; ++frame)
        app.app->UpdateFps(true);
    app.platform.clock.Advance(2010);
    app.app->UpdateFps(false);
    EXPECT_NEAR(app.app->GetFps(), 59.7f, 0.01f);
    EXPECT_EQ(app.app->shownTitle, "Velmora Online [FPS: 2]");  // not shown this time
    for (int frame = 0; frame < 119; ++frame)
        app.app->UpdateFps(true);
    app.platform.clock.Advance(2010);
    app.app->UpdateFps(true);
    EXPECT_EQ(app.app->shownTitle, "Velmora Online [FPS: 59]");
}

// --- Replacing the drawing engine ---

class EngineSwitchTest : public ::testing::Test {
protected:
    EngineSwitchTest() {
        GfxWriter writer;
        writer.Put(2, MakeTestGlyphSheet());
        GfxImage picture(4, 3);
        picture.Set(1, 1, 0xFF0000FF);
        writer.Put(5, picture);
        writer.Put(7, picture);
        test.LoadSprites(writer);
        app().SetFont(app().sprites->DecodeSprite(2), true);
        app().sprites->GetSprite(5);
        app().sprites->GetSprite(7);
        pixels5 = app().sprites->GetRecord(5)->pixels.get();
    }

    KEngine2& app() { return *test.app; }

    // Every image an engine made was released exactly once, before it went.
    void ExpectEveryImageReleasedOnce(int serial) {
        std::map<uint32_t, int> generated, released;
        bool destroyed = false;
        for (const EngineEvent& event : RecordingEngine::history) {
            if (event.engine != serial)
                continue;
            EXPECT_FALSE(destroyed) << "engine " << serial << " used after it was destroyed";
            if (event.kind == EngineEvent::Generated)
                ++generated[event.handle];
            else if (event.kind == EngineEvent::Released)
                ++released[event.handle];
            else
                destroyed = true;
        }
        EXPECT_TRUE(destroyed) << "engine " << serial;
        EXPECT_FALSE(generated.empty()) << "engine " << serial;
        EXPECT_EQ(released, generated) << "engine " << serial;
        for (const auto& entry : released)
            EXPECT_EQ(entry.second, 1) << "engine " << serial << " sprite " << entry.first;
    }

    // Sprites and the font are images of the current engine, made again from
    // the pixels decoded before.
    void ExpectEverythingMadeByTheCurrentEngine() {
        for (int id : {5, 7}) {
            Sprite* sprite = app().sprites->GetSprite(id);
            ASSERT_NE(sprite, nullptr);
            EXPECT_EQ(sprite->engine, app().engine) << "sprite " << id;
        }
        EXPECT_EQ(app().sprites->GetRecord(5)->pixels.get(), pixels5);
        EXPECT_EQ(app().sprites->GetRecord(5)->data, nullptr);
        ASSERT_NE(app().font, nullptr);
        ASSERT_NE(app().font->sheet, nullptr);
        EXPECT_EQ(app().font->sheet->engine, app().engine);
        EXPECT_EQ(app().font->GetOwner(), &app());
    }

    TestApp test;  // Direct3D
    const uint8_t* pixels5 = nullptr;
};

TEST_F(EngineSwitchTest, SpritesAndFontAreMadeAgainThroughEachNewEngine) {
    const int firstSerial = test.engine()->serial;
    int serial = firstSerial;
    for (int type : {kEngineOpenGL, kEngineDirectDraw}) {
        SCOPED_TRACE(type);
        ASSERT_TRUE(app().CreateGraphicsEngine(type));
        ASSERT_NE(test.engine(), nullptr);
        EXPECT_EQ(test.engine()->type, type);
        EXPECT_EQ(app().engineType, type);
        EXPECT_EQ(test.engine()->GetOwner(), &app());
        ExpectEveryImageReleasedOnce(serial);
        serial = test.engine()->serial;
        ExpectEverythingMadeByTheCurrentEngine();
    }
    EXPECT_EQ(serial, firstSerial + 2);
}

TEST_F(EngineSwitchTest, FailedInitLeavesNoEngineUntilTheNextOneWorks) {
    const int oldSerial = test.engine()->serial;
    RecordingEngine::failingTypes = {kEngineOpenGL};
    EXPECT_FALSE(app().CreateGraphicsEngine(kEngineOpenGL));
    EXPECT_EQ(app().engine, nullptr);
    EXPECT_EQ(app().engineType, kEngineOpenGL);
    ExpectEveryImageReleasedOnce(oldSerial);
    // The failed engine is gone at once.
    const EngineEvent failedEnd{oldSerial + 1, EngineEvent::Destroyed, 0};
    EXPECT_TRUE(std::any_of(RecordingEngine::history.begin(), RecordingEngine::history.end(),
                            [&](const EngineEvent& e) { return e.engine == failedEnd.engine && e.kind == failedEnd.kind; }));

    // Without an engine nothing draws, but text can still be measured, and
    // sprites asked for meanwhile get an image from the next engine.
    EXPECT_FALSE(app().graphics->BeginScene());
    app().graphics->RenderText("Hello", 1, 2, 0xFFFFFFFF, true);
    app().graphics->RenderSkin(5, 0, 0, 10, 10);
    ASSERT_NE(app().font, nullptr);
    EXPECT_EQ(app().font->GetTextWidth("Hello"), 28);
    ASSERT_NE(app().sprites->GetSprite(5), nullptr);
    EXPECT_EQ(app().sprites->GetSprite(5)->engine, nullptr);

    ASSERT_TRUE(app().CreateGraphicsEngine(kEngineDirect3D));
    ExpectEverythingMadeByTheCurrentEngine();
}

TEST_F(EngineSwitchTest, UnknownTypeLeavesNoEngine) {
    for (int type : {0, 4, -1}) {
        SCOPED_TRACE(type);
        ASSERT_TRUE(app().CreateGraphicsEngine(kEngineDirect3D));
        const int oldSerial = test.engine()->serial;
        app().sprites->GetSprite(5);
        EXPECT_FALSE(app().CreateGraphicsEngine(type));
        EXPECT_EQ(app().engine, nullptr);
        EXPECT_EQ(app().engineType, type);
        ExpectEveryImageReleasedOnce(oldSerial);
    }
}

}  // namespace
