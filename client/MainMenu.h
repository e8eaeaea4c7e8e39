#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "client/LoginControlIds.h"

class GUIManager;
class KEngine2;

// The login screen: the backdrop with the game's picture and logo, a framed
// panel with the account-name and password fields, the "Login" button and the
// row of "Options", "About" and "Website", and below it the server's
// notification banner. It exists while no game runs; the client makes it at
// start-up and on every return from the game, and deletes it when the game
// starts.
class MainMenu {
public:
    // The login screen's controls (client/LoginControlIds.h).
    enum ControlId : int {
        kOptionsButton = LoginIds::kOptionsButton,
        kAboutButton = LoginIds::kAboutButton,
        kLoginButton = LoginIds::kLoginButton,
        kAccountBox = LoginIds::kAccountBox,
        kAccountLabel = LoginIds::kAccountLabel,
        kPasswordLabel = LoginIds::kPasswordLabel,
        kPasswordBox = LoginIds::kPasswordBox,
        kWebsiteButton = LoginIds::kWebsiteButton,
    };

    // A control's place for a client size.
    struct ControlRect {
        int id;
        int left;
        int top;
        int width;
        int height;
    };
    // Where the picture of the backdrop goes.
    struct BackdropRect {
        int x;
        int y;
        int width;
        int height;
    };

    MainMenu();
    // Removes the menu's controls and the dialogs that belong to the login
    // screen (About, character list).
    ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    void CreateControls();
    void DeleteControls();
    // Places the controls for the current client size.
    void Layout();
    // Once a second: counts towards the next status request and copies the
    // notification.
    void Tick();
    // The backdrop, the panel and the notification banner, drawn under the GUI.
    void DrawNotification();
    // True while a dialog of the login screen is open that Enter belongs to.
    bool IsDialogOpen();
    // Stores the typed account and password in the protocol and connects to
    // the login server.
    void OnLogin();

    // The buttons' click callbacks; only "Login" takes the menu as its context.
    static void OnLoginClicked(void* menu);
    static void OnOptionsClicked(void* unused);
    static void OnAboutClicked(void* unused);
    static void OnWebsiteClicked(void* unused);

    // The controls' places, in the order they are looked up.
    static std::vector<ControlRect> LayoutRects(int clientWidth, int clientHeight);
    // The picture covers the whole client area in its own proportions, centred.
    static BackdropRect Backdrop(int clientWidth, int clientHeight);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    std::string notificationText;  // the last copy of the client's status text
    int32_t notificationLines = 0;

    // Live for the whole run, not per menu: a menu made again after a game
    // goes on counting where the last one stopped.
    static int32_t statusCounter;
    static std::time_t lastSecond;
};
