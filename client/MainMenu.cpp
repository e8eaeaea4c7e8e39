#include "client/MainMenu.h"

#include "client/Client.h"
#include "client/Hosts.h"
#include "client/Settings.h"
#include "dialogs/social/AboutDialog.h"
#include "dialogs/social/OptionsDialog.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"
#include "platform/Platform.h"
#include "protocol/Protocol.h"

namespace {

const int kBackdropSprite = 3;
const int kLogoSprite = 6540;
// The backdrop picture fills the left 1920 x 1024 pixels of a 2048 x 1024 texture.
const int kPictureWidth = 1920;
const int kPictureHeight = 1024;
const double kPictureRatio = 1.875;  // 1920 / 1024
const int kTextureWidth = 2048;
const int kTextureHeight = 1024;

const uint32_t kBannerEdge = 0x1EFFFFFF;
const uint32_t kBannerFill = 0xDC000000;
const uint32_t kBannerTitle = 0xFF008CFF;
const uint32_t kBannerText = 0xFFB4B4B4;

// The first status request goes out when the counter passes 14: two changes
// of the calendar second after the first tick, then every 15 seconds.
const int32_t kStatusPeriod = 14;

}  // namespace

int32_t MainMenu::statusCounter = 13;
std::time_t MainMenu::lastSecond = 0;

MainMenu::MainMenu() {
    app = Client::Instance()->app;
    gui = app->gui;
    CreateControls();
    Layout();
}

MainMenu::~MainMenu() { DeleteControls(); }

namespace {

GUIText* MakeLabel(int32_t id, const char* text) {
    GUIText* label = new GUIText();
    label->id = id;
    label->SetText(text);
    return label;
}

// Both fields show "*" for every character, the account name as well as the
// password, so that nobody looking over the player's shoulder learns either.
GUITextbox* MakeField(int32_t id) {
    GUITextbox* box = new GUITextbox();
    box->id = id;
    box->SetFlag(GUIControl::kMasked);
    return box;
}

// The text of a login field, or nothing when the control is missing or is
// not a text box.
std::string FieldText(GUIManager* gui, int32_t id) {
    const GUITextbox* box = dynamic_cast<GUITextbox*>(gui->FindControl(id));
    return box ? box->GetText() : std::string();
}

}  // namespace

// The controls go straight under the GUI root, not into a dialog, so they
// cannot be dragged and nothing frames them but the panel drawn beneath. Their
// places come from Layout.
void MainMenu::CreateControls() {
    gui->AddControl(new GUIButton(kOptionsButton, "Options", &MainMenu::OnOptionsClicked, nullptr));
    gui->AddControl(new GUIButton(kAboutButton, "About", &MainMenu::OnAboutClicked, nullptr));
    gui->AddControl(new GUIButton(kWebsiteButton, "Website", &MainMenu::OnWebsiteClicked, nullptr));
    gui->AddControl(new GUIButton(kLoginButton, "Login", &MainMenu::OnLoginClicked, this));
    gui->AddControl(MakeLabel(kAccountLabel, "Login name:"));
    GUITextbox* account = MakeField(kAccountBox);
    gui->AddControl(account);
    gui->AddControl(MakeLabel(kPasswordLabel, "Password:"));
    gui->AddControl(MakeField(kPasswordBox));
    // Typing goes to the account name first.
    gui->focus = account;
}

// Queues the menu's controls and the login screen's own dialogs (About and
// the character list) for removal. The GUI manager picks each control when
// it is asked, so an id that does not exist now queues nothing, and a game
// control made right after with one of these ids survives the next update.
// The options dialog and the message box belong to no screen and stay.
void MainMenu::DeleteControls() {
    static const int32_t kIds[] = {kOptionsButton,           kAboutButton,  kLoginButton, kWebsiteButton,
                                   LoginIds::kAboutDialog,   LoginIds::kCharacterListDialog,
                                   kAccountLabel,            kAccountBox,   kPasswordLabel, kPasswordBox};
    for (int32_t id : kIds)
        gui->DeleteLater(id);
}

std::vector<MainMenu::ControlRect> MainMenu::LayoutRects(int clientWidth, int clientHeight) {
    const int cx = clientWidth / 2;
    const int cy = clientHeight / 2;
    return {
        {kLoginButton, cx - 174, cy - 19, 348, 25},
        {kAboutButton, cx - 58, cy + 31, 116, 25},
        {kOptionsButton, cx - 174, cy + 31, 116, 25},
        {kWebsiteButton, cx + 58, cy + 31, 116, 25},
        {kAccountLabel, cx - 174, cy - 93, 100, 15},
        {kAccountBox, cx - 85, cy - 100, 260, 30},
        {kPasswordLabel, cx - 174, cy - 53, 100, 15},
        {kPasswordBox, cx - 85, cy - 60, 260, 30},
    };
}

void MainMenu::Layout() {
    for (const ControlRect& rect : LayoutRects(app->clientWidth, app->clientHeight))
        if (GUIControl* control = gui->FindControl(rect.id))
            control->SetRect(rect.left, rect.top, rect.width, rect.height);
}

MainMenu::BackdropRect MainMenu::Backdrop(int clientWidth, int clientHeight) {
    int width = kPictureWidth;
    int height = kPictureHeight;
    if (clientWidth < kPictureWidth) {
        width = clientWidth;
        height = int(clientWidth / kPictureRatio);
    }
    if (height < clientHeight) {
        width = int(kPictureRatio * clientHeight);
        height = clientHeight;
    }
    if (width < clientWidth) {
        width = clientWidth;
        height = int(clientWidth / kPictureRatio);
    }
    return {(clientWidth - width) / 2, (clientHeight - height) / 2, width, height};
}

void MainMenu::Tick() {
    const std::time_t now = std::time(nullptr);
    if (lastSecond == 0)
        lastSecond = now;  // the program's first tick
    if (now - lastSecond <= 0)
        return;
    lastSecond = now;
    Client* client = Client::Instance();
    if (++statusCounter > kStatusPeriod) {
        statusCounter = 0;
        client->StartStatusThread();
    }
    client->GetServerStatus(notificationText, notificationLines);
}

void MainMenu::DrawNotification() {
    Graphics* graphics = app->graphics;
    const int width = app->clientWidth;
    const int height = app->clientHeight;
    const int cx = width / 2;
    const int cy = height / 2;

    const BackdropRect backdrop = Backdrop(width, height);
    graphics->RenderSprite(app->sprites->GetSprite(kBackdropSprite), backdrop.x, backdrop.y, backdrop.width,
                           backdrop.height, float(kTextureWidth), float(kTextureHeight), 0, 0,
                           float(kPictureWidth), float(kPictureHeight));
    graphics->RenderSprite(app->sprites->GetSprite(kLogoSprite), (width - 400) / 2, cy - 190, 400, 100);

    // The panel behind the fields and buttons, in the skin, framed in the GUI
    // root's colours so that it matches the controls on it.
    graphics->RenderSkin(Client::Instance()->settings->GetSkin(), cx - 195, cy - 120, 390, 197);
    const uint32_t light = gui->root->lightColor;
    const uint32_t dark = gui->root->darkColor;
    graphics->RenderBox(cx - 195, cy - 120, 390, 197, light, dark, 0);
    graphics->RenderBox(cx - 194, cy - 119, 388, 195, light, dark, 0);
    graphics->RenderBox(cx - 175, cy - 20, 350, 27, dark, light, 0);
    graphics->RenderBox(cx - 175, cy + 30, 350, 27, dark, light, 0);
    graphics->RenderRectangle(dark, cx - 175, cy + 17, 350, 1);
    graphics->RenderRectangle(light, cx - 175, cy + 18, 350, 1);

    if (notificationText.empty())
        return;
    graphics->RenderBox(cx - 260, cy + 120, 520, (notificationLines + 3) * 16, kBannerEdge, kBannerEdge,
                        kBannerFill);
    graphics->RenderText("Active Notification:", cx - 250, cy + 130, kBannerTitle, true);
    graphics->RenderText(notificationText, cx - 250, cy + 155, kBannerText, true);
}

// The About dialog, the options dialog, the character list and the GUI's
// message box (such as "Connecting") take Enter while they are open. They are
// dialogs at the top of the tree. One that waits for deletion still counts
// until the GUI's next update: the Enter that presses a box's button is
// handed to the GUI before the main loop sees it, and must not log in as
// well as close the box.
bool MainMenu::IsDialogOpen() {
    for (const GUIControl* control : gui->root->children) {
        const int32_t id = control->id;
        if (id == LoginIds::kAboutDialog || id == LoginIds::kOptionsDialog || id == LoginIds::kCharacterListDialog ||
            id == GUIManager::kMessageBoxId)
            return true;
    }
    return false;
}

void MainMenu::OnLogin() {
    // Empty fields are not refused: the server answers them.
    const std::string account = FieldText(gui, kAccountBox);
    const std::string password = FieldText(gui, kPasswordBox);

    Client* client = Client::Instance();
    if (client->game)
        return;
    // Kept by the protocol, so that a lost game connection logs in again
    // without the player typing them a second time.
    client->protocol->account = account;
    client->protocol->password = password;
    client->protocol->Connect(0, client->loginHosts, client->loginPort);
}

void MainMenu::OnLoginClicked(void* menu) { static_cast<MainMenu*>(menu)->OnLogin(); }

void MainMenu::OnOptionsClicked(void*) { Client::Instance()->optionsDialog->Open(); }

void MainMenu::OnAboutClicked(void*) { Client::Instance()->aboutDialog->Open(); }

// What the browser makes of the address is not the client's business.
void MainMenu::OnWebsiteClicked(void*) { platform::OpenInShell(kWebsiteUrl); }
