#pragma once

#include "game/GameControlIds.h"
#include "sidewindows/SideWindow.h"

class GUIButton;

// The actions window: the buttons for the game's general commands. The
// buttons are children of the frame and go with it; the window keeps no
// state of its own about the requests they send.
class Actions : public SideWindow {
public:
    static constexpr int kWindowId = GameIds::kActionsWindow;
    static constexpr int kButtonHeight = 20;
    static constexpr uint32_t kPremiumCaptionColor = 0xFF82FF82;
    static constexpr uint32_t kLogoutCaptionColor = 0xFFB4B4B4;

    explicit Actions(int id = kWindowId);
    ~Actions() override;

    // Makes the buttons once, then places them for the frame's width.
    void Update() override;
    void SetMinimized(bool minimized) override;
    void Draw() override;
    void CreateButtons();

    static void OnBuyPremium(void*);
    static void OnAutofollow(void*);
    static void OnFightmode(void*);
    static void OnQuests(void* window);
    static void OnSpells(void* window);
    static void OnTalents(void* window);
    static void OnGuild(void* window);
    static void OnOptions(void* window);
    static void OnLogout(void* window);

    GUIButton* autofollowButton = nullptr;
    GUIButton* optionsButton = nullptr;
    GUIButton* questsButton = nullptr;
    GUIButton* spellsButton = nullptr;
    GUIButton* logoutButton = nullptr;
    GUIButton* fightmodeButton = nullptr;
    GUIButton* talentsButton = nullptr;
    GUIButton* guildButton = nullptr;
    GUIButton* premiumButton = nullptr;
};
