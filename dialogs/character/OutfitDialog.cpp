#include "dialogs/character/OutfitDialog.h"

#include <sstream>

#include "client/Client.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/SpriteStore.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "game/GameControlIds.h"
#include "protocol/Protocol.h"
#include "world/OutfitPalette.h"

namespace {

const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kUnavailableColour = 0xFF6464FF;
const uint32_t kAvailableColour = 0xFF64FF64;
const int kPreviousIcon = 8;
const int kNextIcon = 9;
const int kMaskOffset = 12;  // from a standing frame to its colour mask
const int kFacings = 4;
const int kFramesPerFacing = 3;
const int kColumnHeight = 8;  // palette colours per column
const int kFirstPointsCode = 20;

OutfitDialog* Module(void* context) { return static_cast<OutfitDialog*>(context); }

uint32_t Packed(const OutfitColor& colour) {
    return uint32_t(colour.alpha) << 24 | uint32_t(colour.blue) << 16 | uint32_t(colour.green) << 8 | colour.red;
}

// The requirement message of one part, or "" when the code asks nothing.
std::string RequirementText(const char* part, uint8_t code) {
    const std::string subject = std::string("This ") + part + " requires ";
    if (code == 2)
        return subject + "premium time.";
    if (code == 3)
        return subject + "a quest to be completed.";
    if (code >= kFirstPointsCode)
        return subject + IntToString(code) + " achievement points.";
    return std::string();
}

// The index wrapped into a list of n entries, as the arrows step round.
int Wrap(int index, int n) {
    if (index < 0)
        return n - 1;
    if (index >= n)
        return 0;
    return index;
}

// A sprite id the store can hold, else 0: the picture of an id the store
// cannot hold is no picture, and the palette adds offsets to these ids.
int StoreId(int id) { return id > 0 && id < SpriteStore::kMaxSprites ? id : 0; }

GUITab* ActiveTab(GUIManager* gui) {
    const GUITabgroup* tabs = DialogHelper(gui, GameIds::kOutfitDialog).Find<GUITabgroup>(GameIds::kOutfitTabs);
    return tabs ? tabs->activeTab : nullptr;
}

bool SkinTabActive(GUIManager* gui) {
    const GUITab* tab = ActiveTab(gui);
    return tab && tab->id == GameIds::kOutfitTabSkin;
}

}  // namespace

std::string IntToString(int value) {
    std::ostringstream text;
    text << long(value);
    return text.str();
}

std::string OutfitRequirementText(uint8_t outfitCode, uint8_t hairCode, uint8_t beardCode) {
    for (const auto& [part, code] : {std::pair{"outfit", outfitCode}, {"hair", hairCode}, {"beard", beardCode}}) {
        std::string text = RequirementText(part, code);
        if (!text.empty())
            return text;
    }
    return std::string();
}

int OutfitPaletteHit(bool skinTab, int X, int Y, int W, int x, int y) {
    if (!(X + 21 <= x && x < X + W - 18 && Y + 164 <= y && y <= Y + 260))
        return -1;
    if (skinTab) {
        for (int k = 0; k < OutfitPalette::kSkinCount; ++k)
            if (Y + 164 + 16 * k <= y && y <= Y + 180 + 16 * k && x <= X + W - 19)
                return k;
        return -1;
    }
    for (int i = 0; i < OutfitPalette::kColorCount; ++i) {
        const int left = X + 21 + 22 * (i / kColumnHeight);
        const int top = Y + 164 + 12 * (i % kColumnHeight);
        if (left <= x && x <= left + 22 && top <= y && y <= top + 12)
            return i;
    }
    return -1;
}

OutfitDialog* OutfitDialog::Instance() {
    static OutfitDialog* instance = new OutfitDialog();
    return instance;
}

OutfitDialog::OutfitDialog() {
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
}

void OutfitDialog::AddOutfitOption(int id, uint8_t requirement) { outfits.push_back(OutfitOption{id, requirement}); }
void OutfitDialog::AddHairOption(int id, uint8_t requirement) { hairs.push_back(OutfitOption{id, requirement}); }
void OutfitDialog::AddBeardOption(int id, uint8_t requirement) { beards.push_back(OutfitOption{id, requirement}); }

void OutfitDialog::ClearOptions() {
    outfits.clear();
    hairs.clear();
    beards.clear();
}

int OutfitDialog::IndexOf(const std::vector<OutfitOption>& options, int id) {
    for (size_t i = 0; i < options.size(); ++i)
        if (options[i].id == id)
            return int(i);
    return 0;
}

uint8_t OutfitDialog::RequirementOf(const std::vector<OutfitOption>& options, int id) {
    return options.empty() ? 0 : options[size_t(IndexOf(options, id))].requirement;
}

void OutfitDialog::Open() {
    // The client's application object may be another one than at the
    // singleton's making (a process that makes more than one client).
    app = Client::Instance()->app;
    gui = app ? app->gui : nullptr;
    DialogHelper dialog(gui, GameIds::kOutfitDialog);
    if (dialog.IsOpen())
        return;
    // Pictures left from an earlier stay in the game may belong to an engine
    // that is gone.
    FreeTextures();
    GUIDialog* window = dialog.OpenFromCentre("Character Outfit", -196, -180, 392, 360);
    if (!window)
        return;
    window->drawCallback = &OutfitDialog::Draw;
    window->drawContext = this;
    window->clickCallback = &OutfitDialog::OnClick;
    window->clickContext = this;

    dialog.Add(new GUILine(), 7, 315, 378, 1);
    dialog.AddButton(GameIds::kOutfitSave, "Save", &OutfitDialog::Save, this, 88, 325, 95, 25);
    dialog.AddButton(GameIds::kOutfitClose, "Close", &OutfitDialog::Close, gui, 209, 325, 95, 25);
    const struct {
        int32_t id;
        int icon;
        GUIButton::Action action;
        int dx, dy, height;
    } kArrows[] = {
        {0, kPreviousIcon, &OutfitDialog::PrevHair, 21, 42, 15},
        {0, kPreviousIcon, &OutfitDialog::PrevBeard, 21, 57, 15},
        {GameIds::kOutfitPrevious, kPreviousIcon, &OutfitDialog::PrevOutfit, 21, 72, 48},
        {GameIds::kOutfitNext, kNextIcon, &OutfitDialog::NextOutfit, 356, 72, 48},
        {0, kNextIcon, &OutfitDialog::NextHair, 356, 42, 15},
        {0, kNextIcon, &OutfitDialog::NextBeard, 356, 57, 15},
    };
    for (const auto& arrow : kArrows)
        dialog.AddButton(arrow.id, "", arrow.action, this, arrow.dx, arrow.dy, 15, arrow.height)->SetIcon(arrow.icon);
    gui->enterButtonId = GameIds::kOutfitSave;

    // The tabs only choose the colour the palette edits; the draw reads the
    // active one.
    dialog.AddTabStrip(GameIds::kOutfitTabs, 21, 133, 350, 20, 58,
                       {{GameIds::kOutfitTabHair, "Hair", nullptr},
                        {GameIds::kOutfitTabBeard, "Beard", nullptr},
                        {GameIds::kOutfitTabSkin, "Skin", nullptr},
                        {GameIds::kOutfitTabBody, "Body", nullptr},
                        {GameIds::kOutfitTabLegs, "Legs", nullptr},
                        {GameIds::kOutfitTabFeet, "Feet", nullptr}},
                       this);
}

void OutfitDialog::Step(int outfitStep, int hairStep, int beardStep) {
    ReleasePreview(IndexOf(outfits, outfit) + outfitStep, IndexOf(hairs, hair) + hairStep,
                   IndexOf(beards, beard) + beardStep);
}

void OutfitDialog::PrevHair(void* module) { Module(module)->Step(0, -1, 0); }
void OutfitDialog::NextHair(void* module) { Module(module)->Step(0, 1, 0); }
void OutfitDialog::PrevBeard(void* module) { Module(module)->Step(0, 0, -1); }
void OutfitDialog::NextBeard(void* module) { Module(module)->Step(0, 0, 1); }
void OutfitDialog::PrevOutfit(void* module) { Module(module)->Step(-1, 0, 0); }
void OutfitDialog::NextOutfit(void* module) { Module(module)->Step(1, 0, 0); }

void OutfitDialog::ReleasePreview(int outfitIndex, int hairIndex, int beardIndex) {
    // An empty list has nothing to pick: that part stays as it is.
    for (auto [options, index, value] : {std::tuple{&outfits, outfitIndex, &outfit}, {&hairs, hairIndex, &hair},
                                         {&beards, beardIndex, &beard}}) {
        if (!options->empty())
            *value = (*options)[size_t(Wrap(index, int(options->size())))].id;
    }
    FreeTextures();
}

void OutfitDialog::SelectionValues(int values[9]) const {
    const int selection[9] = {outfit,      hair,       beard,     hairColour, beardColour,
                              skinColour, bodyColour, legsColour, feetColour};
    for (int i = 0; i < 9; ++i)
        values[i] = selection[i];
}

void OutfitDialog::BuildPreview() {
    previewBuilt = true;
    // Each facing's standing frame lies three sprites after the last, its
    // mask twelve after it: an outfit the store cannot hold has no pictures.
    const int last = outfit + kFramesPerFacing * (kFacings - 1) + kMaskOffset;
    if (StoreId(outfit) == 0 || last >= SpriteStore::kMaxSprites)
        return;
    int values[9];
    SelectionValues(values);
    values[1] = StoreId(values[1]);
    values[2] = StoreId(values[2]);
    OutfitSpriteCache* cache = OutfitPalette::Instance();
    for (int k = 0; k < kFacings; ++k)
        preview[k] = cache->GetSprite(outfit + kFramesPerFacing * k, kMaskOffset, k, values);
}

void OutfitDialog::FreeTextures() {
    // Deleting a sprite hands its image back to the engine that made it.
    for (Sprite*& sprite : preview) {
        delete sprite;
        sprite = nullptr;
    }
    previewBuilt = false;
}

void OutfitDialog::Draw(void* module) {
    OutfitDialog* self = Module(module);
    DialogHelper dialog(self->gui, GameIds::kOutfitDialog);
    const GUIControl* window = dialog.Dialog();
    Graphics* graphics = self->app ? self->app->graphics : nullptr;
    if (!window || !graphics)
        return;
    const int X = window->x;
    const int Y = window->y;
    const int W = window->width;
    dialog.DrawPanel();

    if (const GUITab* tab = ActiveTab(self->gui)) {
        switch (tab->id) {
        case GameIds::kOutfitTabHair: self->colourTarget = &self->hairColour; break;
        case GameIds::kOutfitTabBeard: self->colourTarget = &self->beardColour; break;
        case GameIds::kOutfitTabSkin: self->colourTarget = &self->skinColour; break;
        case GameIds::kOutfitTabBody: self->colourTarget = &self->bodyColour; break;
        case GameIds::kOutfitTabLegs: self->colourTarget = &self->legsColour; break;
        case GameIds::kOutfitTabFeet: self->colourTarget = &self->feetColour; break;
        default: break;
        }
    }

    dialog.DrawPanelBox(X + 20, Y + 163, W - 40, 96);
    const OutfitPalette* palette = OutfitPalette::Instance();
    const bool skin = SkinTabActive(self->gui);
    const int count = skin ? OutfitPalette::kSkinCount : OutfitPalette::kColorCount;
    for (int i = 0; i < count; ++i) {
        const int sx = skin ? X + 21 : X + 21 + 22 * (i / kColumnHeight);
        const int sy = skin ? Y + 164 + 16 * i : Y + 164 + 12 * (i % kColumnHeight);
        if (self->colourTarget && *self->colourTarget == i) {
            const int stepX = skin ? W - 40 : 22;
            const int stepY = skin ? 16 : 12;
            graphics->RenderRectangle(kWhite, sx - 2, sy - 2, stepX + 2, stepY + 2);
        }
        const OutfitColor colour = skin ? palette->GetSkinColor(i) : palette->GetColor(i);
        graphics->RenderRectangle(Packed(colour), sx, sy, skin ? W - 42 : 20, skin ? 14 : 10);
    }

    if (!self->previewBuilt)
        self->BuildPreview();
    dialog.DrawPanelBox(X + 20, Y + 41, W - 40, 80);
    for (int k = 0; k < kFacings; ++k) {
        Sprite* sprite = self->preview[k];
        if (!sprite)
            continue;
        const float w = 1.5f * sprite->width;
        const float h = 1.5f * sprite->height;
        graphics->RenderSprite(sprite, int(float(X + 126 + 65 * k) - w), int(float(Y + 108) - w), int(w), int(h));
    }

    dialog.DrawPanelBox(X + 20, Y + 269, W - 40, 25);
    const std::string requirement =
        OutfitRequirementText(RequirementOf(self->outfits, self->outfit), RequirementOf(self->hairs, self->hair),
                              RequirementOf(self->beards, self->beard));
    if (requirement.empty())
        graphics->RenderText("This outfit is available.", X + 25, Y + 274, kAvailableColour, true);
    else
        graphics->RenderText(requirement, X + 25, Y + 274, kUnavailableColour, true);
}

void OutfitDialog::OnClick(void* module, int x, int y) {
    OutfitDialog* self = Module(module);
    const GUIControl* window = DialogHelper(self->gui, GameIds::kOutfitDialog).Dialog();
    if (!window)
        return;
    const int hit = OutfitPaletteHit(SkinTabActive(self->gui), window->x, window->y, window->width, x, y);
    if (hit < 0)
        return;
    if (self->colourTarget)
        *self->colourTarget = hit;
    self->FreeTextures();
}

// The server decides whether the look is allowed: it is sent as it is.
void OutfitDialog::Save(void* module) {
    OutfitDialog* self = Module(module);
    Client::Instance()->protocol->SendOutfit(self->outfit, self->hair, self->beard, self->hairColour,
                                             self->beardColour, self->skinColour, self->bodyColour,
                                             self->legsColour, self->feetColour);
    Close(nullptr);
}

// The tabs go with their dialog: only the dialog is queued.
void OutfitDialog::Close(void*) {
    OutfitDialog* self = Instance();
    self->FreeTextures();
    DialogHelper(self->gui, GameIds::kOutfitDialog).CloseAndFocus(GameIds::kChatInput);
}
