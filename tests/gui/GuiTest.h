// The fixture of the GUI tests: an application object with a recording
// engine, the fake platform and the test font, a root styled the way the
// client styles it, and input sent through the window procedure.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/KEngine2.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "tests/support/GuiInput.h"
#include "tests/support/TestApp.h"

// Colours of the test style, easy to tell apart in a drawing log.
constexpr uint32_t kLight = 0xFF111111;
constexpr uint32_t kDark = 0xFF222222;
constexpr uint32_t kFill = 0x00000000;
constexpr uint32_t kText = 0xFFC8C8C8;

class GuiTest : public ::testing::Test {
protected:
    GuiTest() : input(*test.app, test.platform.keys) {
        test.LoadFont();
        test.app->SetSize(800, 600);
        GUIControl* root = gui().root;
        root->owner = test.app;
        root->lightColor = kLight;
        root->darkColor = kDark;
        root->fillColor = kFill;
        root->textColor = kText;
        root->arrowUpIcon = 5;
        root->arrowDownIcon = 6;
        root->arrowLeftIcon = 8;
        root->arrowRightIcon = 9;
        log().Clear();
    }

    GUIManager& gui() { return *test.app->gui; }
    RecordingEngine& log() { return *test.engine(); }
    // Draws one frame and returns what reached the engine.
    std::vector<std::string> Frame() {
        log().Clear();
        gui().Update();
        return log().Log();
    }
    // Makes a control of a class at a rectangle with an id and adds it to a
    // parent (the root when null).
    template <class T>
    T* Make(int x, int y, int w, int h, int32_t id = 0, GUIControl* parent = nullptr) {
        T* control = new T();
        control->SetRect(x, y, w, h);
        control->id = id;
        if (parent)
            parent->AddChild(control, true);
        else
            gui().AddControl(control, true);
        return control;
    }

    TestApp test;
    GuiInput input;
};

// Whether a readable call of the log is in it.
inline bool Drew(const std::vector<std::string>& frame, const std::string& call) {
    for (const std::string& line : frame)
        if (line == call)
            return true;
    return false;
}
