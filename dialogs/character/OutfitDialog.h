#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GUIManager;
class KEngine2;
struct Sprite;

// One outfit, hair or beard the server offers, with its requirement code:
// 2 premium time, 3 a completed quest, 20 and above that many achievement
// points; every other code asks nothing.
struct OutfitOption {
    int id = 0;
    uint8_t requirement = 0;
};

// What the chosen outfit, hair and beard require, as the dialog says it in red,
// or "" when the choice is available. The outfit's code is looked at first,
// then the hair's, then the beard's; the first that requires something is the
// one told.
std::string OutfitRequirementText(uint8_t outfitCode, uint8_t hairCode, uint8_t beardCode);

// The palette swatch under a point of the dialog (X, Y, W its left, top and
// width): a skin tone 0 .. 5 on the "Skin" tab, else a colour 0 .. 127 in
// columns of eight; -1 when the point hits none.
int OutfitPaletteHit(bool skinTab, int X, int Y, int W, int x, int y);

// The decimal text of a number.
std::string IntToString(int value);

// The "Character Outfit" dialog (27): the player picks an outfit, a hair
// style and a beard among the options of the server's last message, and six
// colours, sees the look from four sides and sends it with "Save". One module
// for the whole run, made on first use; the server's options message opens
// the dialog with the character's current look.
//
// The four preview pictures are made for the engine of their time: they are
// built by the first draw after a change and freed on every change, on
// closing, before the engine is replaced, and when the dialog opens again
// (the game screen's teardown removes the dialog without closing the module).
class OutfitDialog {
public:
    static OutfitDialog* Instance();

    void AddOutfitOption(int id, uint8_t requirement);
    void AddHairOption(int id, uint8_t requirement);
    void AddBeardOption(int id, uint8_t requirement);
    // Empties the three option lists; each options message replaces them.
    void ClearOptions();
    // Builds the dialog unless it is open.
    void Open();
    // Picks the options at the three indices, each wrapped around its list
    // (an empty list leaves its part as it is), and drops the preview.
    void ReleasePreview(int outfitIndex, int hairIndex, int beardIndex);
    void BuildPreview();
    void FreeTextures();
    // The index of the current outfit, hair or beard in its list (the first
    // option with that id), 0 when it is not there.
    static int IndexOf(const std::vector<OutfitOption>& options, int id);
    // The requirement of the current choice in a list; 0 (nothing) when the
    // list is empty.
    static uint8_t RequirementOf(const std::vector<OutfitOption>& options, int id);

    // The dialog's callbacks; the argument is the module.
    static void Draw(void* module);
    static void OnClick(void* module, int x, int y);
    static void PrevHair(void* module);
    static void NextHair(void* module);
    static void PrevBeard(void* module);
    static void NextBeard(void* module);
    static void PrevOutfit(void* module);
    static void NextOutfit(void* module);
    static void Save(void* module);
    static void Close(void* unused);

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
    // The selection, in the order of a creature's outfit values and of the
    // outfit request.
    int outfit = 10;
    int hair = 0;
    int beard = 0;
    int hairColour = 0;
    int beardColour = 0;
    int skinColour = 7;
    int bodyColour = 7;
    int legsColour = 12;
    int feetColour = 127;
    Sprite* preview[4] = {};
    // Built since the last change; a look without pictures stays unbuilt
    // only until the next change, not for every frame.
    bool previewBuilt = false;
    int* colourTarget = nullptr;  // the colour the active tab edits
    std::vector<OutfitOption> outfits;
    std::vector<OutfitOption> hairs;
    std::vector<OutfitOption> beards;

private:
    OutfitDialog();
    void Step(int outfitStep, int hairStep, int beardStep);
    void SelectionValues(int values[9]) const;
};
