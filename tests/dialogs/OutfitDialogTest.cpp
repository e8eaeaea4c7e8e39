// The character outfit dialog: the options message, the arrows, what each
// choice requires, the palette, the preview pictures and their lifetime
// across games and engines, and the outfit request "Save" sends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/character/OutfitDialog.h"
#include "engine/GraphicsEngine.h"
#include "engine/Sprite.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "game/GameControlIds.h"
#include "tests/dialogs/CharacterDialogFixture.h"
#include "world/Camera.h"
#include "world/Creature.h"
#include "world/Map.h"
#include "world/OutfitPalette.h"

namespace {

struct Choice {
    uint32_t id;
    uint8_t requirement;
};

Bytes Options(const std::vector<Choice>& outfits, const std::vector<Choice>& hairs, const std::vector<Choice>& beards) {
    Wire wire;
    wire.U8(0x33).U8(uint32_t(outfits.size())).U8(uint32_t(hairs.size())).U8(uint32_t(beards.size()));
    for (const auto* list : {&outfits, &hairs, &beards})
        for (const Choice& choice : *list)
            wire.U32(choice.id).U8(choice.requirement);
    return wire.bytes;
}

class OutfitDialogTest : public CharacterDialogTest {
protected:
    void SetUp() override {
        // Outfit 10's standing frames (10, 13, 16, 19) and their masks (22 ... 31).
        Enter({{10, 32, 32}, {13, 32, 32}, {16, 32, 32}, {19, 32, 32},
               {22, 32, 32}, {25, 32, 32}, {28, 32, 32}, {31, 32, 32}});
        // The singleton outlives clients: each case starts from its defaults.
        OutfitDialog& d = dialog();
        d.ClearOptions();
        d.FreeTextures();
        d.colourTarget = nullptr;
        const int defaults[9] = {10, 0, 0, 0, 0, 7, 7, 12, 127};
        SetSelection(defaults);
    }
    void TearDown() override { dialog().FreeTextures(); }
    static OutfitDialog& dialog() { return *OutfitDialog::Instance(); }
    static void SetSelection(const int values[9]) {
        OutfitDialog& d = dialog();
        int* fields[9] = {&d.outfit,      &d.hair,       &d.beard,      &d.hairColour, &d.beardColour,
                          &d.skinColour, &d.bodyColour, &d.legsColour, &d.feetColour};
        for (int i = 0; i < 9; ++i)
            *fields[i] = values[i];
    }
    // The player's creature, followed by the camera, wearing a look.
    void Wear(const int outfit[9]) {
        Creature* player = new Creature(game().map);
        player->id = 5;
        player->name = "Aldric";
        player->SetPosition(100, 100, 7);
        for (int i = 0; i < 9; ++i)
            player->outfit[i] = outfit[i];
        game().map->AddCreature(player);
        game().map->camera->SetCreature(player);
    }
    const GUIControl* Window() { return gui().FindControl(GameIds::kOutfitDialog); }
    void SelectTab(int32_t id) { Click(id); }
    // The preview pictures drawn in the last frame.
    std::vector<const RecordedCall*> PreviewDraws() {
        std::vector<const RecordedCall*> draws;
        for (const RecordedCall* call : engine().Calls("RenderSprite"))
            for (Sprite* sprite : dialog().preview)
                if (sprite && call->sprite == sprite)
                    draws.push_back(call);
        return draws;
    }
    std::string Availability() {
        Redraw();
        for (const DrawnText& text : Texts())
            if (text.x == Window()->x + 25 && text.y == Window()->y + 274)
                return text.text + (text.color == 0xFF64FF64u ? " (green)" : " (red)");
        return "none";
    }
};

}  // namespace

TEST(OutfitRulesTest, TheFirstPartThatRequiresSomethingIsTold) {
    const struct {
        uint8_t outfit, hair, beard;
        const char* text;
    } cases[] = {
        {0, 0, 0, ""},
        {1, 0, 0, ""},
        {19, 4, 1, ""},
        {2, 25, 0, "This outfit requires premium time."},
        {0, 3, 2, "This hair requires a quest to be completed."},
        {1, 19, 2, "This beard requires premium time."},
        {25, 0, 0, "This outfit requires 25 achievement points."},
        {20, 0, 0, "This outfit requires 20 achievement points."},
        {0, 0, 255, "This beard requires 255 achievement points."},
        {3, 2, 2, "This outfit requires a quest to be completed."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutfitRequirementText(c.outfit, c.hair, c.beard), c.text)
            << int(c.outfit) << " " << int(c.hair) << " " << int(c.beard);
    EXPECT_EQ(IntToString(-42), "-42");
}

// A dialog at (0, 0), 392 wide: skin rows 16 high from y 164, colour cells
// 22 x 12 from (21, 164) in columns of eight; edges count for both cells and
// the lower index wins.
TEST(OutfitRulesTest, ThePaletteUnderAPoint) {
    const struct {
        bool skin;
        int x, y;
        int hit;
    } cases[] = {
        {true, 30, 200, 2},   {false, 30, 200, 2},  {true, 30, 164, 0},   {true, 373, 170, 0},
        {true, 374, 170, -1}, {true, 30, 260, 5},   {true, 30, 163, -1},  {false, 20, 170, -1},
        {false, 21, 164, 0},  {false, 43, 164, 0},  {false, 44, 164, 8},  {false, 30, 248, 6},
        {false, 30, 250, 7},  {false, 350, 250, 119}, {false, 373, 164, 120}, {false, 374, 164, -1},
        {false, 30, 261, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutfitPaletteHit(c.skin, 0, 0, 392, c.x, c.y), c.hit) << c.skin << " " << c.x << "," << c.y;
}

// The options replace the last message's, the dialog opens, and the
// selection becomes the character's look.
TEST_F(OutfitDialogTest, TheOptionsMessageOpensTheDialogOnTheCharactersLook) {
    const int look[9] = {145, 3, 2, 11, 12, 2, 40, 50, 60};
    Wear(look);
    Dispatch(Options({{10, 0}, {145, 2}}, {{3, 3}}, {{2, 0}, {4, 2}}));
    Dispatch(Options({{10, 0}, {145, 2}, {806, 25}}, {{0, 0}, {3, 3}}, {{2, 0}}));
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Window()->x, 500 - 196);
    EXPECT_EQ(Window()->y, 350 - 180);
    ASSERT_EQ(dialog().outfits.size(), 3u) << "replaced, not appended";
    EXPECT_EQ(dialog().outfits[2].id, 806);
    EXPECT_EQ(dialog().outfits[2].requirement, 25);
    EXPECT_EQ(dialog().hairs.size(), 2u);
    EXPECT_EQ(dialog().beards.size(), 1u);
    const int selection[9] = {dialog().outfit,     dialog().hair,       dialog().beard,
                              dialog().hairColour, dialog().beardColour, dialog().skinColour,
                              dialog().bodyColour, dialog().legsColour, dialog().feetColour};
    EXPECT_EQ(std::vector<int>(selection, selection + 9), std::vector<int>(look, look + 9));
    EXPECT_EQ(Availability(), "Thisoutfitrequirespremiumtime. (red)");
    EXPECT_EQ(gui().enterButtonId, GameIds::kOutfitSave);
}

TEST_F(OutfitDialogTest, TheArrowsWrapRoundTheirLists) {
    Dispatch(Options({{10, 0}, {145, 2}, {806, 25}}, {{0, 0}, {7, 3}}, {{0, 0}}));
    dialog().outfit = 806;
    Click(GameIds::kOutfitNext);
    EXPECT_EQ(dialog().outfit, 10);
    EXPECT_EQ(Availability(), "Thisoutfitisavailable. (green)");
    Click(GameIds::kOutfitPrevious);
    EXPECT_EQ(dialog().outfit, 806);
    EXPECT_EQ(Availability(), "Thisoutfitrequires25achievementpoints. (red)");
    // Hair: previous from the first wraps to the last; beard: one option.
    OutfitDialog::PrevHair(&dialog());
    EXPECT_EQ(dialog().hair, 7);
    OutfitDialog::NextBeard(&dialog());
    EXPECT_EQ(dialog().beard, 0);
    // A value not in its list counts as index 0.
    dialog().outfit = 4242;
    OutfitDialog::NextOutfit(&dialog());
    EXPECT_EQ(dialog().outfit, 145);
}

// Lists the server left empty: that part stays, counts as available, and
// its arrows do nothing.
TEST_F(OutfitDialogTest, EmptyListsLeaveTheirPartAsItIs) {
    Dispatch(Options({}, {}, {}));
    ASSERT_NE(Window(), nullptr);
    const int before[3] = {dialog().outfit, dialog().hair, dialog().beard};
    for (auto arrow : {&OutfitDialog::PrevOutfit, &OutfitDialog::NextOutfit, &OutfitDialog::PrevHair,
                       &OutfitDialog::NextHair, &OutfitDialog::PrevBeard, &OutfitDialog::NextBeard})
        arrow(&dialog());
    EXPECT_EQ(dialog().outfit, before[0]);
    EXPECT_EQ(dialog().hair, before[1]);
    EXPECT_EQ(dialog().beard, before[2]);
    EXPECT_EQ(Availability(), "Thisoutfitisavailable. (green)");
    dialog().ReleasePreview(-1, 5, 1000);
    EXPECT_EQ(dialog().outfit, before[0]);
}

TEST_F(OutfitDialogTest, APaletteClickSetsTheActiveTabsColour) {
    Dispatch(Options({{10, 0}}, {{0, 0}}, {{0, 0}}));
    const int X = Window()->x;
    const int Y = Window()->y;
    for (auto [tab, field] : {std::pair{GameIds::kOutfitTabSkin, &dialog().skinColour},
                              {GameIds::kOutfitTabBody, &dialog().bodyColour},
                              {GameIds::kOutfitTabHair, &dialog().hairColour},
                              {GameIds::kOutfitTabFeet, &dialog().feetColour}}) {
        SelectTab(tab);
        Redraw();  // the draw picks the colour the tab edits
        ClickAt(X + 30, Y + 200);
        EXPECT_EQ(*field, 2) << tab;
    }
    // Outside the swatches nothing changes.
    ClickAt(X + 30, Y + 300);
    EXPECT_EQ(dialog().feetColour, 2);

    // The chosen swatch has a white frame 2 pixels wide around it.
    SelectTab(GameIds::kOutfitTabLegs);
    dialog().legsColour = 9;  // column 1, row 1
    Redraw();
    const std::vector<std::string> log = engine().Log();
    const std::string frame = "RenderRectangle(0xffffffff, " + std::to_string(X + 41) + ", " +
                              std::to_string(Y + 174) + ", 24, 14)";
    const auto at = std::find(log.begin(), log.end(), frame);
    ASSERT_NE(at, log.end()) << frame;
    EXPECT_NE((at + 1)->find(std::to_string(X + 43) + ", " + std::to_string(Y + 176) + ", 20, 10)"),
              std::string::npos)
        << *(at + 1);
}

// Save sends what is chosen, whatever it requires; Enter is Save.
TEST_F(OutfitDialogTest, SaveSendsTheSelectionEvenWhenItIsNotAvailable) {
    const int look[9] = {806, 0x1234, 7, 1, 2, 6, 200, 127, 255};
    Wear(look);
    Dispatch(Options({{806, 25}}, {{0x1234, 3}}, {{7, 2}}));
    EXPECT_EQ(Availability(), "Thisoutfitrequires25achievementpoints. (red)");
    PressEnter();
    PressEnter();
    EXPECT_EQ(Requests(), std::vector<Bytes>{Bytes({0x0C, 0x26, 0x03, 0x34, 0x12, 7, 0, 1, 2, 6, 200, 127, 255})})
        << "one request";
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(gui().focus, gui().FindControl(GameIds::kChatInput));
    for (Sprite* sprite : dialog().preview)
        EXPECT_EQ(sprite, nullptr);
}

// The four views are built once per change, drawn 1.5 times their size side
// by side, and freed on every change.
TEST_F(OutfitDialogTest, ThePreviewIsBuiltOncePerChange) {
    Dispatch(Options({{10, 0}, {145, 2}}, {{0, 0}}, {{0, 0}}));
    const int X = Window()->x;
    const int Y = Window()->y;
    Redraw();  // the first frame also makes the store's sprites it draws
    dialog().FreeTextures();
    const int generated = engine().spritesGenerated;
    Redraw();
    EXPECT_EQ(engine().spritesGenerated, generated + 4);
    const std::vector<const RecordedCall*> draws = PreviewDraws();
    ASSERT_EQ(draws.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(draws[size_t(k)]->args[0], X + 126 + 65 * k - 48) << k;
        EXPECT_EQ(draws[size_t(k)]->args[1], Y + 108 - 48) << k;
        EXPECT_EQ(draws[size_t(k)]->args[2], 48) << k;
    }
    Redraw();
    EXPECT_EQ(engine().spritesGenerated, generated + 4) << "not built again";

    // Outfit 145 has no pictures in this file: nothing is drawn, and nothing
    // is tried again until the next change.
    Click(GameIds::kOutfitNext);
    EXPECT_EQ(dialog().outfit, 145);
    EXPECT_GE(engine().spritesReleased, 4);
    Redraw();
    EXPECT_TRUE(PreviewDraws().empty());
    EXPECT_TRUE(dialog().previewBuilt);
    Redraw();
    EXPECT_EQ(engine().spritesGenerated, generated + 4);

    // Ids past the store and server colours past the palette: no picture, no
    // reading outside the palette, the values kept for the request.
    const int odd[9] = {19999, -1, int(0x80000000u), 200, 255, 6, 200, 128, 255};
    SetSelection(odd);
    dialog().FreeTextures();
    Redraw();
    EXPECT_TRUE(PreviewDraws().empty());
    dialog().outfit = 10;
    dialog().FreeTextures();
    Redraw();
    EXPECT_EQ(PreviewDraws().size(), 4u) << "colours past the palette take its last ones";
    EXPECT_EQ(dialog().skinColour, 6);
}

// Left open when the game ends, the dialog goes with the game screen; the
// module keeps its pictures until the engine is replaced, so the next game's
// dialog draws pictures of the engine of its time.
TEST_F(OutfitDialogTest, ANewEngineAndANewGameGetFreshPictures) {
    Dispatch(Options({{10, 0}}, {{0, 0}}, {{0, 0}}));
    Redraw();
    ASSERT_EQ(PreviewDraws().size(), 4u);
    client->ReturnToMenu();
    gui().Update();
    EXPECT_EQ(Window(), nullptr);
    ASSERT_TRUE(client->CreateEngine(kEngineOpenGL));
    for (Sprite* sprite : dialog().preview)
        EXPECT_EQ(sprite, nullptr) << "freed before the old engine went";

    client->StartGame(false);
    ASSERT_NE(client->game, nullptr);
    Dispatch(Options({{10, 0}}, {{0, 0}}, {{0, 0}}));
    Redraw();
    const std::vector<const RecordedCall*> draws = PreviewDraws();
    ASSERT_EQ(draws.size(), 4u);
    for (const RecordedCall* call : draws)
        EXPECT_EQ(call->sprite->engine, client->app->engine);

    // A picture left from before is freed when the dialog opens again.
    OutfitDialog::Close(nullptr);
    gui().Update();
    dialog().BuildPreview();
    ASSERT_NE(dialog().preview[0], nullptr);
    const int released = engine().spritesReleased;
    dialog().Open();
    EXPECT_EQ(engine().spritesReleased, released + 4);
}

// Without a game screen the message is read whole and dropped.
TEST_F(OutfitDialogTest, BeforeTheGameTheMessageIsDropped) {
    client->ReturnToMenu();
    gui().Update();
    Dispatch(Options({{10, 0}, {20, 1}}, {{0, 0}}, {{0, 0}}));
    EXPECT_EQ(Window(), nullptr);
    EXPECT_TRUE(dialog().outfits.empty());
}
