#include "dialogs/social/OptionsDialog.h"

#include <string>
#include <vector>

#include "client/Client.h"
#include "client/ConfigFile.h"
#include "client/Settings.h"
#include "client/TextUtils.h"
#include "engine/Graphics.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelector.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"
#include "game/GameInterface.h"
#include "sidewindows/SidePanel.h"

namespace {

using namespace LoginIds;

const uint32_t kRowFill = 0x1E000000;    // black at alpha 30
const uint32_t kTabsFill = 0x32000000;   // black at alpha 50
const uint32_t kLabelColor = 0xFFDCDCDC; // opaque light grey
const int kDualInterfaceWidth = 165;

// The y of row r (0 to 7) from the dialog's top: rows are 30 pixels apart.
int RowY(int r) { return 65 + 30 * r; }

const int32_t kInterfacePage[] = {kOptionsSkin,         kOptionsStatBars,     kOptionsDualInterface,
                                  kOptionsForceRight,   kOptionsAutoOpenTab,  kOptionsClassicClick,
                                  kOptionsExperience,   kOptionsLootMessages};
const int32_t kGraphicsPage[] = {kOptionsStretching, kOptionsTimerMovement, kOptionsFloorFading,
                                 kOptionsSidestep,   kOptionsHealthWarning, kOptionsDirect3D,
                                 kOptionsDirectDraw, kOptionsOpenGL,        kOptionsFpsLimit};

Settings* CurrentSettings() { return Client::Instance()->settings; }
// The game screen, while the player is in the world.
GameInterface* Game() { return Client::Instance()->game; }

void Relayout() {
    if (GameInterface* game = Game())
        game->LayoutChatArea();
}

// The checked state of a check box of the dialog; false when it is gone.
bool Checked(const OptionsDialog* module, int32_t id) {
    const GUICheckbox* box = DialogHelper(module->gui, OptionsDialog::kDialogId).Find<GUICheckbox>(id);
    return box && box->checked;
}

// A switch of either page: a check box over one boolean option.
struct Switch {
    int32_t id;
    const char* label;
    int row;
    bool (Settings::*get)() const;
    void (Settings::*set)(bool);
    bool relayout;  // the game screen lays out its field again
    GUIControl::ClickCallback onClick;
};

void Toggle(void* context, int32_t id);

const Switch kSwitches[] = {
    {kOptionsForceRight, "Force new windows to the right", 4, &Settings::GetForceWindowsRight,
     &Settings::SetForceWindowsRight, false, [](void* m, int, int) { Toggle(m, kOptionsForceRight); }},
    {kOptionsAutoOpenTab, "Automatically open private chat tabs", 5, &Settings::GetAutoOpenTab,
     &Settings::SetAutoOpenTab, false, [](void* m, int, int) { Toggle(m, kOptionsAutoOpenTab); }},
    {kOptionsClassicClick, "Classic right click (no menu)", 6, &Settings::GetDisableMenu, &Settings::SetDisableMenu,
     false, [](void* m, int, int) { Toggle(m, kOptionsClassicClick); }},
    {kOptionsExperience, "Show experience calculator", 7, &Settings::GetExperienceCalculator,
     &Settings::SetExperienceCalculator, false, [](void* m, int, int) { Toggle(m, kOptionsExperience); }},
    {kOptionsStretching, "Enable game field stretching", 0, &Settings::GetFieldStretching,
     &Settings::SetFieldStretching, true, [](void* m, int, int) { Toggle(m, kOptionsStretching); }},
    {kOptionsTimerMovement, "Enable timer-based movement", 1, &Settings::GetTimerMovement,
     &Settings::SetTimerMovement, false, [](void* m, int, int) { Toggle(m, kOptionsTimerMovement); }},
    {kOptionsFloorFading, "Enable smooth floor fading", 2, &Settings::GetFloorFading, &Settings::SetFloorFading,
     false, [](void* m, int, int) { Toggle(m, kOptionsFloorFading); }},
    {kOptionsSidestep, "Enable smooth sidestepping", 3, &Settings::GetSmoothSidestep, &Settings::SetSmoothSidestep,
     false, [](void* m, int, int) { Toggle(m, kOptionsSidestep); }},
    {kOptionsHealthWarning, "Enable pulsating low health warning", 4, &Settings::GetHealthWarning,
     &Settings::SetHealthWarning, false, [](void* m, int, int) { Toggle(m, kOptionsHealthWarning); }},
};

void Toggle(void* context, int32_t id) {
    Settings* settings = CurrentSettings();
    if (!settings)
        return;
    for (const Switch& s : kSwitches) {
        if (s.id != id)
            continue;
        (settings->*s.set)(Checked(static_cast<OptionsDialog*>(context), id));
        if (s.relayout)
            Relayout();
    }
}

// The left side panel is on when it has a width; its key is the layout's,
// which the options only write.
void OnDualInterface(void* context, int, int) {
    const int width = Checked(static_cast<OptionsDialog*>(context), kOptionsDualInterface) ? kDualInterfaceWidth : 0;
    if (GameInterface* game = Game()) {
        if (game->leftPanel)
            game->leftPanel->SetWidth(width);
        game->LayoutChatArea();
    }
    if (Settings* settings = CurrentSettings())
        settings->options->SetInt("windows", "leftbarwidth", width);
}

// The selector lists every skin the settings know, so an index is bounded by
// that list, not by a fixed count.
void OnSkin(int index, void* context) {
    Settings* settings = CurrentSettings();
    if (!settings || index < 0 || size_t(index) >= settings->GetSkins().size())
        return;
    const int32_t sprite = settings->GetSkinSprite(index);
    settings->SetSkin(sprite);
    // Every control copied its look from the root when it was added: the
    // whole tree takes the new skin, every open dialog included.
    GUIControl* root = static_cast<OptionsDialog*>(context)->gui->root;
    root->SetStyleTree(sprite);
    root->SetColorsTree(settings->GetSkinHighlightColor(), settings->GetSkinShadowColor());
}

void OnStatBars(int index, void*) {
    if (Settings* settings = CurrentSettings())
        settings->SetStatBarPosition(index);
    Relayout();
}

void OnLootMessages(int index, void*) {
    if (Settings* settings = CurrentSettings())
        settings->SetLootMessageDisplay(index);
}

// The three back-end buttons are a radio group: the chosen one stays pushed
// in. The switch itself waits for the main loop's safe point; the name is
// stored as chosen even when the client falls back to another back end.
void ChooseEngine(OptionsDialog* module, int kind, const char* name) {
    const struct {
        int32_t id;
        int kind;
    } buttons[] = {{kOptionsDirect3D, kEngineDirect3D}, {kOptionsDirectDraw, kEngineDirectDraw},
                   {kOptionsOpenGL, kEngineOpenGL}};
    for (const auto& button : buttons)
        if (GUIButton* control = DialogHelper(module->gui, OptionsDialog::kDialogId).Find<GUIButton>(button.id))
            control->SetStyle(button.kind == kind ? 1 : 0);
    const std::string chosen = name;
    Client::Instance()->Defer([kind, chosen] {
        Client* client = Client::Instance();
        client->CreateEngine(kind);
        if (client->settings)
            client->settings->SetEngine(chosen);
    });
}

void OnDirect3D(void* module) { ChooseEngine(static_cast<OptionsDialog*>(module), kEngineDirect3D, "direct3d"); }
void OnDirectDraw(void* module) { ChooseEngine(static_cast<OptionsDialog*>(module), kEngineDirectDraw, "directdraw"); }
void OnOpenGL(void* module) { ChooseEngine(static_cast<OptionsDialog*>(module), kEngineOpenGL, "opengl"); }

void OnInterfaceTab(void* module, int, int) { static_cast<OptionsDialog*>(module)->ShowInterfaceTab(); }
void OnGraphicsTab(void* module, int, int) { static_cast<OptionsDialog*>(module)->ShowGraphicsTab(); }
void OnCloseClicked(void* module) { static_cast<OptionsDialog*>(module)->Close(); }

void SetHidden(GUIManager* gui, int32_t id, bool hidden) {
    if (GUIControl* control = DialogHelper(gui, OptionsDialog::kDialogId).Find<GUIControl>(id)) {
        if (hidden)
            control->SetFlag(GUIControl::kHidden);
        else
            control->ClearFlag(GUIControl::kHidden);
    }
}

}  // namespace

OptionsDialog::OptionsDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

bool OptionsDialog::Open() {
    Settings* settings = CurrentSettings();
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = settings ? dialog.OpenCentred("Options", 360, 365) : nullptr;
    if (!frame)
        return false;
    frame->drawCallback = &OptionsDialog::Draw;
    frame->drawContext = this;

    GUITabgroup* tabs = dialog.Add(new GUITabgroup(), 20, 38, 320, 20);
    tabs->SetTabWidth(159);
    tabs->fillColor = kTabsFill;
    const struct {
        const char* caption;
        GUIControl::ClickCallback onClick;
    } pages[] = {{"Interface", &OnInterfaceTab}, {"Graphics", &OnGraphicsTab}};
    for (const auto& page : pages) {
        GUITab* tab = new GUITab();
        tab->caption = page.caption;
        tab->clickCallback = page.onClick;
        tab->clickContext = this;
        tabs->AddTab(tab);
        tab->fillColor = 0;
    }

    std::vector<std::string> skinNames;
    for (const SkinEntry& skin : settings->GetSkins())
        skinNames.push_back(skin.name);
    const struct {
        int32_t id;
        const char* label;
        std::vector<std::string> items;
        int selected;
        GUISelector::ChangeCallback onChange;
    } selectors[] = {
        {kOptionsSkin, "Skin", skinNames, settings->GetSkinIndex(), &OnSkin},
        {kOptionsStatBars, "Stat bars", {"Hide", "Sides", "Top", "Bottom"}, settings->GetStatBarPosition(),
         &OnStatBars},
        {kOptionsLootMessages,
         "Loot messages",
         {"Hide", "Main chat & screen", "Main chat only", "Screen only"},
         settings->GetLootMessageDisplay(),
         &OnLootMessages},
    };
    int row = 0;
    for (const auto& made : selectors) {
        GUISelector* selector = dialog.Add(new GUISelector(), 20, RowY(row++), 320, 25);
        selector->id = made.id;
        selector->SetLabel(made.label);
        selector->SetItems(made.items);
        selector->SetSelected(made.selected);
        selector->changeCallback = made.onChange;
        selector->callbackContext = this;
        selector->fillColor = kRowFill;
    }

    auto addSwitch = [&](int32_t id, const char* label, int r, bool checked, GUIControl::ClickCallback onClick) {
        GUICheckbox* box = dialog.Add(new GUICheckbox(), 20, RowY(r), 320, 25);
        box->id = id;
        box->label = label;
        box->framed = true;
        box->checked = checked;
        box->clickCallback = onClick;
        box->clickContext = this;
    };
    addSwitch(kOptionsDualInterface, "Enable dual interface", 3, settings->GetLeftBarWidth() > 0, &OnDualInterface);
    for (const Switch& s : kSwitches)
        addSwitch(s.id, s.label, s.row, (settings->*s.get)(), s.onClick);

    const int engine = settings->GetEngine();
    const struct {
        int32_t id;
        const char* caption;
        GUIButton::Action onClick;
        int dx;
        int kind;
    } engines[] = {{kOptionsDirect3D, "Direct3D", &OnDirect3D, 21, kEngineDirect3D},
                   {kOptionsDirectDraw, "DirectDraw", &OnDirectDraw, 127, kEngineDirectDraw},
                   {kOptionsOpenGL, "OpenGL", &OnOpenGL, 233, kEngineOpenGL}};
    for (const auto& made : engines)
        dialog.AddButton(made.id, made.caption, made.onClick, this, made.dx, 241, 106, 23)
            ->SetStyle(engine == made.kind ? 1 : 0);

    GUITextbox* fps = dialog.Add(new GUITextbox(), 87, RowY(7), 253, 25);
    fps->id = kOptionsFpsLimit;
    fps->SetText(std::to_string(settings->GetFpsLimit()));

    dialog.Add(new GUILine(), 7, 320, 346, 1);
    dialog.AddButton(kCloseButtonId, "Close", &OnCloseClicked, this, 120, 330, 120, 25);
    ShowInterfaceTab();
    return true;
}

// Also called at shutdown, open or not, so that the options reach the disk.
void OptionsDialog::Close() {
    DialogHelper(gui, kDialogId).CloseAndFocus(GameIds::kChatInput);
    if (Settings* settings = Client::Instance()->settings)
        settings->Save();
}

void OptionsDialog::ShowInterfaceTab() {
    tab = 0;
    for (int32_t id : kGraphicsPage)
        SetHidden(gui, id, true);
    for (int32_t id : kInterfacePage)
        SetHidden(gui, id, false);
}

void OptionsDialog::ShowGraphicsTab() {
    tab = 1;
    for (int32_t id : kInterfacePage)
        SetHidden(gui, id, true);
    for (int32_t id : kGraphicsPage)
        SetHidden(gui, id, false);
}

void OptionsDialog::Draw(void* context) {
    OptionsDialog* module = static_cast<OptionsDialog*>(context);
    DialogHelper dialog(module->gui, kDialogId);
    const GUIControl* frame = dialog.Dialog();
    Graphics* graphics = module->app ? module->app->graphics : nullptr;
    if (!frame || !graphics)
        return;
    dialog.DrawPanel();
    if (module->tab == 0)
        return;
    const int x = frame->x;
    const int y = frame->y;
    const int w = frame->width;
    const GUIControl* root = module->gui->root;
    // An etched line between the switches and the back-end row.
    graphics->RenderRectangle(root->darkColor, x + 20, y + 224, w - 40, 1);
    graphics->RenderRectangle(root->lightColor, x + 20, y + 225, w - 40, 1);
    graphics->RenderText("FPS Limit:", x + 20, y + 280, kLabelColor, true);
    dialog.DrawPanelBox(x + 20, y + 240, w - 40, 25, 0);
    // Read at every frame: whatever the box holds counts from the next frame
    // on, with no bounds (the main loop paces only limits from 1 to 999).
    if (const GUITextbox* fps = dialog.Find<GUITextbox>(kOptionsFpsLimit))
        if (Settings* settings = CurrentSettings())
            settings->SetFpsLimit(ReadLeadingInt(fps->GetText()));
}
