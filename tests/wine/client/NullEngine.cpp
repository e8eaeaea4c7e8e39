// velmora.exe with a back end that draws nothing, for start-up tests that must
// get past the back-end choice on any machine. Every message box is also
// written to standard output ("box: <caption>: <text>"), so that the driver
// can tell which one appeared. When the GUI's own message box opens (such as
// "Connecting" after a login) or changes its title or text, the frame that
// shows it writes
//   gui-message <title> | <text> | account <account> | password <password>
// with what the login stored in the protocol, so that the driver can check
// what reached the program through the keyboard. A frame drawn at a new
// client size writes "client-size <width> <height>", so that the driver knows
// when a resize has reached the client.
#include <cstdio>
#include <string>

#include "client/Client.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"

namespace {

class NullEngine : public GraphicsEngine {
protected:
    bool InitInternal() override { return true; }
    bool BeginSceneInternal() override { return true; }
    void EndSceneInternal() override {
        ReportMessageBox();
        ReportClientSize();
    }

private:
    void ReportClientSize() {
        if (!g_app || (g_app->clientWidth == width_ && g_app->clientHeight == height_))
            return;
        width_ = g_app->clientWidth;
        height_ = g_app->clientHeight;
        std::printf("client-size %d %d\n", width_, height_);
        std::fflush(stdout);
    }

    void ReportMessageBox() {
        GUIManager* gui = g_app ? g_app->gui : nullptr;
        const GUIDialog* box = gui ? dynamic_cast<GUIDialog*>(gui->FindControl(GUIManager::kMessageBoxId)) : nullptr;
        const GUIText* text = box ? dynamic_cast<GUIText*>(gui->FindControl(GUIManager::kMessageTextId)) : nullptr;
        // An open box gets a new title and text in place: report each.
        const std::string shown = box ? box->title + " | " + (text ? text->text : std::string()) : std::string();
        if (box == reported_ && shown == reportedText_)
            return;
        reported_ = box;
        reportedText_ = shown;
        if (!box)
            return;
        const Protocol* protocol = Client::Instance()->protocol;
        std::printf("gui-message %s | account %s | password %s\n", shown.c_str(), protocol->account.c_str(),
                    protocol->password.c_str());
        std::fflush(stdout);
    }

    const GUIDialog* reported_ = nullptr;
    std::string reportedText_;
    int width_ = -1;
    int height_ = -1;
};

GraphicsEngine* MakeNullEngine(int type) {
    return type >= kEngineOpenGL && type <= kEngineDirectDraw ? new NullEngine() : nullptr;
}

class LoggedMessageBoxes : public platform::MessageBoxes {
public:
    explicit LoggedMessageBoxes(platform::MessageBoxes& system) : system_(system) {}
    int Show(const std::string& text, const std::string& caption, unsigned style, void* owner) override {
        std::printf("box: %s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stdout);
        return system_.Show(text, caption, style, owner);
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
