#include "game/GameInterface.h"

#include <algorithm>

#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUIScrollbar.h"
#include "game/FollowedCreature.h"
#include "protocol/Protocol.h"
#include "sidewindows/Container.h"
#include "sidewindows/SidePanel.h"
#include "sidewindows/SideWindow.h"
#include "world/Creature.h"

// The game screen's side-window slots: the container windows the server
// opens and closes, and their places kept per character in "containers.ini".

// --- Side-window slots ---

void GameInterface::SetContainerWindow(Container* window, int index) {
    if (index < 0 || index >= kContainerSlots)
        return;
    containers[index] = window;
    sideWindows.push_back(window);
}

void GameInterface::RemoveSideWindow(int index) {
    if (index < 0 || index >= kContainerSlots)
        return;
    auto found = std::find(sideWindows.begin(), sideWindows.end(), containers[index]);
    if (found != sideWindows.end() && *found) {
        SideWindow* window = *found;
        if (window->dialog)
            window->dialog->SetFlag(GUIControl::kHidden);
        sideWindows.erase(found);
        // The columns keep this frame's list until the next update, and a
        // relayout may walk it before then.
        leftPanel->RemoveWindow(window);
        rightPanel->RemoveWindow(window);
        if (dynamic_cast<Container*>(window))
            delete window;
    }
    containers[index] = nullptr;
}

void GameInterface::OpenContainer(int index, int titleIcon, const std::string& title, bool withIconButton,
                                  bool withLootButton, int capacity, const std::vector<ContainerSlot>& items) {
    if (index < 0 || index >= kContainerSlots)
        return;
    Container* window = containers[index];
    if (!window) {
        int x = 0;
        int y = 0;
        int width = SideWindow::kMinWidth;
        int height = Container::kDefaultHeight;
        int scroll = 0;
        // Only the login burst reopens the containers of the last game where
        // they were; a container opened later starts afresh.
        if (!protocol->layoutLoaded)
            LoadContainerSettings(index, x, y, width, height, scroll);
        window = new Container(Container::kFirstWindowId + 2 * index, index);
        window->Create(title, width, height);
        window->AddCloseButton();
        window->AddMinimizeButton();
        GUIDialog* dialog = window->dialog;
        if (x > 0 || y > 0)
            dialog->MoveBy(x - dialog->x, y - dialog->y);
        // Saved while minimised: opens minimised and restores to the default height.
        if (height <= SideWindow::kMinimizedHeight) {
            dialog->width = std::clamp(width, SideWindow::kMinWidth, SideWindow::kMaxWidth);
            dialog->height = Container::kDefaultHeight;
            window->ToggleMinimize(true);
        }
        window->Reset(capacity);
        window->Relayout();
        window->scrollbar->SetPosition(scroll);
        window->Update();
        SetContainerWindow(window, index);
    }
    if (withIconButton)
        window->AddIconButton();
    else
        window->RemoveIconButton();
    if (withLootButton)
        window->AddLootButton();
    else
        window->RemoveLootButton();
    window->titleIcon = titleIcon;
    window->TruncateWithEllipsis(title);
    window->Reset(capacity);
    for (size_t k = 0; k < items.size(); ++k)
        window->SetItem(int(k), items[k].itemId, items[k].count);
    // A button the message added to a window already drawn needs its action now.
    window->InstallButtonActions();
}

namespace {

// The character's section of "containers.ini"; "" when there is no player
// character yet or its name would not read back as the same section.
std::string ContainerSection(const Map* map) {
    const Creature* player = FollowedCreature(map);
    if (!player || player->name.empty())
        return std::string();
    const std::string section = "containers " + player->name;
    return ConfigFile::IsStorableSection(section) ? section : std::string();
}

}  // namespace

bool GameInterface::LoadContainerSettings(int index, int& x, int& y, int& width, int& height, int& scroll) {
    const std::string section = ContainerSection(map);
    if (section.empty())
        return false;
    const ConfigFile& file = *settings->containers;
    const std::string key = "container" + std::to_string(index);
    if (!file.HasKey(section, key + "x"))
        return false;
    x = file.GetInt(section, key + "x");
    y = file.GetInt(section, key + "y");
    width = std::clamp(file.GetInt(section, key + "width"), SideWindow::kMinWidth, SideWindow::kMaxWidth);
    height = file.GetInt(section, key + "height");
    scroll = file.GetInt(section, key + "scroll");
    return true;
}

void GameInterface::SaveContainerSettings() {
    const std::string section = ContainerSection(map);
    if (section.empty())
        return;
    ConfigFile& file = *settings->containers;
    for (int i = 0; i < kContainerSlots; ++i) {
        const Container* window = containers[i];
        if (!window || !window->dialog)
            continue;
        const std::string key = "container" + std::to_string(i);
        file.SetInt(section, key + "x", window->dialog->x);
        file.SetInt(section, key + "y", window->dialog->y);
        file.SetInt(section, key + "width", window->dialog->width);
        file.SetInt(section, key + "height", window->dialog->height);
        file.SetInt(section, key + "scroll", window->scrollbar ? window->scrollbar->GetPosition() : 0);
    }
    settings->SaveContainers();
}

void GameInterface::LootAllContainers() {
    // Exactly as a click on each "Loot" button, in slot order.
    for (Container* window : containers)
        if (window && window->lootButton)
            window->lootButton->action(window->lootButton->actionContext);
}
