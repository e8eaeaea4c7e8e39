#include "client/MainMenu.h"

#include "client/Client.h"
#include "client/Settings.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "net/Protocol.h"

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

// The buttons, the two labels and the two text boxes (flag 16, shown as "*")
// are added under the GUI root in this order, and the account box takes the
// focus: "Options", "About", "Website", "Login", "Login name:", the account
// box, "Password:", the password box. They come with the GUI toolkit.
void MainMenu::CreateControls() {}

// Queues for removal only those of the menu's ids (and of the About and
// character-list dialogs) that exist now, so that a game-screen control
// made right after with one of the ids survives the GUI's next update.
void MainMenu::DeleteControls() {}

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

// Each control gets its rectangle of LayoutRects, found by its id, once the
// controls exist.
void MainMenu::Layout() { LayoutRects(app->clientWidth, app->clientHeight); }

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

    // The panel behind the fields and buttons, in the skin with its frame
    // colours (the same the GUI root is given at start-up).
    const Settings* settings = Client::Instance()->settings;
    graphics->RenderSkin(settings->GetSkin(), cx - 195, cy - 120, 390, 197);
    const uint32_t light = settings->GetSkinHighlightColor();
    const uint32_t dark = settings->GetSkinShadowColor();
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

// The About dialog (5), the options dialog (172), the character list (20) and
// the GUI's message box (65536), such as "Connecting", take Enter when open.
// They are looked for once the GUI toolkit can find controls by id.
bool MainMenu::IsDialogOpen() { return false; }

void MainMenu::OnLogin() {
    // The texts of the account box (13) and the password box (16), read once
    // the text boxes exist; empty fields are sent as they are.
    std::string account;
    std::string password;

    Client* client = Client::Instance();
    if (client->game)
        return;
    client->protocol->account = account;
    client->protocol->password = password;
    client->protocol->Connect(0, client->loginHosts, client->loginPort);
}
