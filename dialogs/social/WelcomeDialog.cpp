#include "dialogs/social/WelcomeDialog.h"

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameInterface.h"
#include "game/Lifecycle.h"

// The Portuguese letters are single Windows-1252 bytes; a literal is split
// where a letter after an escape would read as one more hex digit.
const std::string WelcomeDialog::kEnglishText =
    "Before you can begin your actual journey on the mainland you will be taken through a short tutorial, which "
    "shouldn't take longer than 5 to 10 minutes to complete. The tutorial will help you learn some of the basic "
    "game mechanics.\n\n"
    "If you encounter any problems or have any questions, do not hesitate to ask in the Support channel, where "
    "other players and sages may help you out! View other language channels by pressing CTRL+P.\n\n"
    "Have fun!";

const std::string WelcomeDialog::kPortugueseText =
    "Antes de voc\xEA come\xE7"
    "ar sua verdadeira jornada, no mainland, ir\xE1 passar por um pequeno tutorial que n\xE3o deve passar de 10 "
    "minutos de dura\xE7\xE3o. O tutorial vai te ajudar a saber mais sobre o b\xE1sico do jogo e suas "
    "mec\xE2nicas.\n\n"
    "Se voc\xEA tiver problemas ou perguntas, n\xE3o hesite em perguntar no Support Channel (em ingl\xEAs) ou no "
    "Portuguese Channel (em portugu\xEAs, CTRL+P), onde outros jogadores ou sages poder\xE3o ajud\xE1-lo!\n\n"
    "Se divirta e bom jogo!";

const std::string WelcomeDialog::kPolishText =
    "Zanim bedziesz mogl rozpoczac swoja przygode na glownym kontynencie, wpierw musisz uporac sie z krotkim "
    "samouczkiem, ktorego ukonczenie nie powinno Ci zajac nie wiecej niz 5 do 10 minut. Nasz samouczek pomoze Ci "
    "przede wszystkim zapoznac sie z podstawowa mechanika gry.\n\n"
    "Jesli natrafisz na jakiekolwiek problemy lub masz jasno sprecyzowane pytania, nie wahaj sie zapytac o pomoc w "
    "oficjalnym kanale pomocy (Support Channel) lub polskim kanale jezykowym (Polish Chat), gdzie medrcy (Sage) jak "
    "i zwykli gracze moga udzielic Ci odpowiedzi na nurtujace Cie pytania. Liste kanalow mozesz otworzyc za pomoca "
    "kombinacji [Ctrl] + [P].";

namespace {

const uint32_t kTextFill = 0x1E000000;   // black at alpha 30
const uint32_t kTextColor = 0xFFC8C8C8;  // opaque light grey
const uint32_t kTabsFill = 0x32000000;   // black at alpha 50

void OnEnglish(void* module, int, int) { static_cast<WelcomeDialog*>(module)->ShowText(WelcomeDialog::kEnglishText); }
void OnPortuguese(void* module, int, int) {
    static_cast<WelcomeDialog*>(module)->ShowText(WelcomeDialog::kPortugueseText);
}
void OnPolish(void* module, int, int) { static_cast<WelcomeDialog*>(module)->ShowText(WelcomeDialog::kPolishText); }
void OnStartClicked(void* module) { static_cast<WelcomeDialog*>(module)->Dismiss(true); }

}  // namespace

WelcomeDialog::WelcomeDialog() {
    app = Client::Instance()->app;
    gui = app->gui;
    lifecycle::Note("WelcomeDialog");
}

WelcomeDialog::~WelcomeDialog() { lifecycle::Note("~WelcomeDialog"); }

bool WelcomeDialog::Show() {
    lifecycle::Note("WelcomeDialog::Show");
    DialogHelper dialog(gui, kDialogId);
    // 401 wide, one more than it is high would suggest.
    GUIDialog* frame = dialog.OpenFromCentre("Welcome to Velmora Online", -200, -165, 401, 330);
    if (!frame)
        return false;
    frame->drawCallback = &WelcomeDialog::Draw;
    frame->drawContext = this;

    GUITextbox* text = dialog.Add(new GUITextbox(), 20, 70, 361, 195);
    text->id = kTextId;
    text->SetFlag(GUIControl::kMultiLine | GUIControl::kReadOnly);
    text->fillColor = kTextFill;
    text->textColor = kTextColor;
    text->EnableScrollbar();
    ShowText(kEnglishText);

    GUITabgroup* tabs = dialog.Add(new GUITabgroup(), 20, 40, 362, 20);
    tabs->id = kTabsId;
    tabs->SetTabWidth(120);
    tabs->fillColor = kTabsFill;
    const struct {
        const char* caption;
        GUIControl::ClickCallback onClick;
    } languages[] = {{"English", &OnEnglish}, {"Portugu\xEAs", &OnPortuguese}, {"Polskim", &OnPolish}};
    for (const auto& language : languages) {
        GUITab* tab = new GUITab();
        tab->caption = language.caption;
        tab->clickCallback = language.onClick;
        tab->clickContext = this;
        tabs->AddTab(tab);
        tab->fillColor = 0;
    }

    dialog.Add(new GUILine(), 7, 285, 387, 1);
    dialog.AddButton(kStartButtonId, "Close & Start Playing", &OnStartClicked, this, 100, 295, 200, 25);
    return true;
}

void WelcomeDialog::Close() {
    lifecycle::Note("WelcomeDialog::Close");
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
}

void WelcomeDialog::Dismiss(bool markViewed) {
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
    if (!markViewed)
        return;
    Client* client = Client::Instance();
    if (client->game)
        client->game->welcomeShown = 0;
    if (client->settings)
        client->settings->options->SetBool("options", "viewedtutorialinfo", true);
}

void WelcomeDialog::ShowText(const std::string& value) {
    if (GUITextbox* text = DialogHelper(gui, kDialogId).Find<GUITextbox>(kTextId)) {
        text->SetText(value);
        // The scroll bar's range follows the new text's lines at once.
        text->Wrap();
        text->UpdateScrollbar();
    }
}

void WelcomeDialog::Draw(void* module) { DialogHelper(static_cast<WelcomeDialog*>(module)->gui, kDialogId).DrawPanel(); }
