#include "tests/support/TestApp.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#ifndef _WIN32
#include <cerrno>
#include <csignal>
#endif

#include "engine/Font.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIManager.h"

TestApp::TestApp(int engineType) : savedFactory_(KEngine2::engineFactory) {
    RecordingEngine::ResetHistory();
    KEngine2::engineFactory = &MakeRecordingEngine;
    app = new KEngine2();
    GUIManager::Attach(*app);
    if (engineType)
        app->CreateGraphicsEngine(engineType);
}

TestApp::~TestApp() {
    delete app;
    KEngine2::engineFactory = savedFactory_;
    RecordingEngine::ResetHistory();
}

namespace {

const char kTempPrefix[] = "velmora-test-";

std::string TempBase() {
    const char* dir = std::getenv("TMPDIR");
    std::string base = dir && *dir ? dir : "/tmp";
#ifdef _WIN32
    if (!dir || !*dir)
        base = ".";
#endif
    return base;
}

// A test program that dies before its destructors run (a crash, a time-out)
// leaves its scratch entries behind: the next test program removes those of
// processes that no longer exist.
bool RemoveStaleTempEntries() {
#ifndef _WIN32
    const std::string prefix = kTempPrefix;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(TempBase(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid <= 0 || pid == long(getpid()))
            continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
#endif
    return true;
}

const bool g_staleRemoved = RemoveStaleTempEntries();

}  // namespace

std::string TempPath(const std::string& name) {
    return TempBase() + "/" + kTempPrefix + std::to_string(getpid()) + "-" + name;
}

uint32_t TestApp::LoadSprites(const GfxWriter& writer, uint32_t stamp) {
    const std::string path = TempPath("sprites.gfx");
    writer.Write(path, stamp);
    const uint32_t loaded = app->sprites->Load(path);
    std::remove(path.c_str());
    return loaded;
}

GfxImage MakeTestGlyphSheet() {
    GfxImage sheet(512, 128);
    for (int code = 33; code < 256; ++code) {
        const int cell = code - 32;
        const int advance = kBuiltInAdvances[cell];
        for (int dx = 0; dx < advance && dx < 16; ++dx)
            for (int dy = 4; dy < 12; ++dy)
                sheet.Set((cell % 32) * 16 + dx, (cell / 32) * 16 + dy, 0xFFFFFFFF);
    }
    return sheet;
}

void TestApp::LoadFont() {
    GfxWriter writer;
    writer.Put(2, MakeTestGlyphSheet());
    LoadSprites(writer);
    app->SetFont(app->sprites->DecodeSprite(2), true);
}

bool operator==(const InputEvent& left, const InputEvent& right) {
    return left.type == right.type && left.a == right.a && left.b == right.b && left.c == right.c;
}

std::ostream& operator<<(std::ostream& out, const InputEvent& event) {
    return out << "{" << event.type << ", " << event.a << ", " << event.b << ", " << event.c << "}";
}
