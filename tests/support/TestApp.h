#pragma once

#include <ostream>
#include <string>

#include "engine/KEngine2.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/RecordingEngine.h"
#include "tools/gfxgen/GfxWriter.h"

// An application object with a recording engine and fake platform services:
// the starting point of every drawing and GUI test.
class TestApp {
public:
    // engineType 0 leaves the application without an engine.
    explicit TestApp(int engineType = kEngineDirect3D);
    ~TestApp();
    TestApp(const TestApp&) = delete;
    TestApp& operator=(const TestApp&) = delete;

    RecordingEngine* engine() const { return static_cast<RecordingEngine*>(app->engine); }
    // Writes the sprites to a temporary graphics file and loads it; returns the stamp.
    uint32_t LoadSprites(const GfxWriter& writer, uint32_t stamp = 1500000000);
    // Gives the application a font built from a glyph sheet whose every cell
    // has ink up to its built-in advance, as the generated file has.
    void LoadFont();

    FakePlatform platform;
    KEngine2* app = nullptr;

private:
    KEngine2::EngineFactory savedFactory_;
};

// A path for a test's scratch file, unique to the process.
std::string TempPath(const std::string& name);
// A glyph sheet of 512 x 128 whose cell for code c has ink in columns 0 to
// advance(c) - 1.
GfxImage MakeTestGlyphSheet();

// Input events compare field by field and print as {type, a, b, c}.
bool operator==(const InputEvent& left, const InputEvent& right);
std::ostream& operator<<(std::ostream& out, const InputEvent& event);
