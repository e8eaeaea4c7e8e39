// velmora.exe with a back end that draws nothing, for start-up tests that must
// get past the back-end choice on any machine. Every message box is also
// written to standard output ("box: <caption>: <text>"), so that the driver
// can tell which one appeared.
#include <cstdio>

#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "platform/Platform.h"

namespace {

class NullEngine : public GraphicsEngine {
protected:
    bool InitInternal() override { return true; }
    bool BeginSceneInternal() override { return true; }
};

GraphicsEngine* MakeNullEngine(int type) {
    return type >= kEngineOpenGL && type <= kEngineDirectDraw ? new NullEngine() : nullptr;
}

class LoggedMessageBoxes : public platform::MessageBoxes {
public:
    explicit LoggedMessageBoxes(platform::MessageBoxes& system) : system_(system) {}
    int Show(const std::string& text, const std::string& caption, unsigned style) override {
        std::printf("box: %s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stdout);
        return system_.Show(text, caption, style);
    }

private:
    platform::MessageBoxes& system_;
};

// Installed before main runs.
const bool installed = [] {
    KEngine2::engineFactory = &MakeNullEngine;
    static LoggedMessageBoxes boxes(platform::GetMessageBoxes());
    platform::SetMessageBoxes(&boxes);
    return true;
}();

}  // namespace
