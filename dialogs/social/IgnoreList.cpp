#include "dialogs/social/IgnoreList.h"

#include <cctype>

#include "client/Client.h"
#include "engine/KEngine2.h"
#include "engine/gui/GUIManager.h"
#include "game/GameControlIds.h"
#include "game/Lifecycle.h"

namespace {

const int32_t kChatInputId = GameIds::kChatInput;

}  // namespace

IgnoreList::IgnoreList() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("IgnoreList");
}

IgnoreList::~IgnoreList() { lifecycle::Note("~IgnoreList"); }

void IgnoreList::Close() {
    lifecycle::Note("IgnoreList::Close");
    gui->DeleteLater(kDialogId);
    gui->focus = gui->FindControl(kChatInputId);
}

void IgnoreList::Open() {}

bool IgnoreList::IsIgnored(const std::string& name) const {
    for (const std::string& entry : names) {
        if (entry.size() != name.size())
            continue;
        bool same = true;
        for (size_t i = 0; i < name.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(entry[i])) ==
                   std::tolower(static_cast<unsigned char>(name[i]));
        if (same)
            return true;
    }
    return false;
}
