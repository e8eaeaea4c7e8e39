#include "game/GameInterface.h"

#include <cmath>

#include "client/Settings.h"
#include "engine/Clock.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/SpriteStore.h"
#include "engine/gui/GUIControl.h"
#include "engine/gui/GUIManager.h"
#include "game/BuffTimers.h"
#include "game/ChatLog.h"
#include "game/ExperienceWindow.h"
#include "game/HotkeyBar.h"
#include "game/KeyRules.h"
#include "game/PagedTextWindow.h"
#include "game/StatBars.h"
#include "game/TipMessages.h"
#include "sidewindows/CStatus.h"
#include "sidewindows/Minimap.h"
#include "sidewindows/SidePanel.h"
#include "sidewindows/SideWindow.h"
#include "world/Creature.h"
#include "world/FloatingTexts.h"
#include "world/LightMap.h"
#include "world/Map.h"

// The game screen's frame: the update before each frame and the draw.

namespace {

const int kHealthBarSprite = 6195;
const int kManaBarSprite = 6196;
const uint32_t kBarFill = 0x1E000000;
const uint32_t kFadeColor = 0xFF000000;
const uint32_t kWarningColor = 0xFF0000FF;
const uint32_t kFadeMs = 750;
const float kLowHealth = 0.3f;

}  // namespace

void GameInterface::Update() {
    // A modal question: asked here, outside the enter-game message's dispatch.
    minimap->ConvertOldFormatOnce();
    ChatLog::Instance()->UpdatePanes();
    map->UpdateCreatures(app->GetFps());
    WalkFromHeldKeys();

    const int leftWidth = leftPanel->GetWidth();
    if (leftWidth > 0) {
        leftPanel->CollectWindows(false);
        leftPanel->Layout();
    }
    if (rightPanel->GetWidth() > 0) {
        rightPanel->CollectWindows(leftWidth == 0);
        rightPanel->Layout();
    }
    for (SideWindow* window : sideWindows)
        window->PlaceControls();

    // The view is drawn shifted by the player's walk offset.
    const std::vector<Creature*> hovered =
        map->GetCreaturesAt(int(gui->mouseX), int(gui->mouseY), false, viewOffsetX, viewOffsetY);
    map->SetTarget(hovered.empty() ? 0 : hovered.front()->id);

    if (GUIControl* input = gui->FindControl(kChatInputId)) {
        if (HotkeyModeState{hotkeyMode != 0, chatLineOpen != 0}.KeysAreHotkeys())
            input->SetFlag(GUIControl::kDisabled);
        else
            input->ClearFlag(GUIControl::kDisabled);
    }
}

FieldView GameInterface::GetFieldView() const {
    FieldView view;
    view.originX = map->viewX;
    view.originY = map->viewY;
    view.tileWidth = map->tileWidth;
    view.tileHeight = map->tileHeight;
    view.cameraX = map->camera->GetX();
    view.cameraY = map->camera->GetY();
    view.floor = map->camera->GetZ();
    view.offsetX = viewOffsetX;
    view.offsetY = viewOffsetY;
    return view;
}

void GameInterface::Draw() {
    Graphics* graphics = app->graphics;
    const GUIControl* root = gui->root;
    const uint32_t light = root->lightColor;
    const uint32_t dark = root->darkColor;
    Sprite* skin = app->sprites->GetSprite(settings->GetSkin());

    Camera* camera = map->camera;
    if (!camera->creature) {
        camera->SetCreature(map->FindCreature(map->playerId));
        map->CollectLightSources();
    }
    viewOffsetX = 0;
    viewOffsetY = 0;
    camera->GetFollowedOffset(&viewOffsetX, &viewOffsetY, 32);
    map->viewOffsetX = viewOffsetX;
    map->viewOffsetY = viewOffsetY;

    const int tileWidth = map->tileWidth;
    const int tileHeight = map->tileHeight;
    const int fieldWidth = 17 * tileWidth;
    const int fieldHeight = 13 * tileHeight;
    // A stretched field is drawn at 544 x 416 into the buffer and scaled; at
    // its own size it is clipped, since the floors reach beyond the view. The
    // clip leaves its right and bottom edge out, so they lie just past the field.
    const bool stretched = tileWidth != 32 || tileHeight != 32;
    if (stretched) {
        graphics->BeginBuffer();
    } else {
        ClipRect clip;
        clip.left = float(map->viewX);
        clip.top = float(map->viewY);
        clip.right = float(map->viewX + fieldWidth);
        clip.bottom = float(map->viewY + fieldHeight);
        graphics->EnableClipper(clip);
    }
    map->Draw();
    LightMap::Instance()->Update();

    // At most one cover over the field: the fade-in after entering, else the
    // low-health pulse.
    const uint32_t now = GetTicks();
    const uint32_t elapsed = now - enterGameTick;
    if (elapsed < kFadeMs) {
        map->DrawLight(kFadeColor, 1.0f - float(elapsed) / float(kFadeMs));
    } else if (status && status->maxHealth > 0 &&
               double(status->health) / double(status->maxHealth) < double(kLowHealth) &&
               settings->GetHealthWarning()) {
        map->DrawLight(kWarningColor, float((std::sin(now / 300.0) + 1.5) * 0.5 * 0.12));
    }
    if (stretched) {
        graphics->EndBuffer();
        graphics->RenderBuffer(map->viewX, map->viewY, fieldWidth, fieldHeight, 544, 416);
    } else {
        graphics->DisableClipper();
    }
    map->DrawCreatures();
    floatingTexts->Draw();
    StatusLine::Instance()->Draw(GetFieldView());

    // The chat area.
    const int left = leftPanel->GetWidth();
    const int right = rightPanel->GetWidth();
    const int screenWidth = app->clientWidth;
    const int screenHeight = app->clientHeight;
    const int top = screenHeight - chatHeight;
    const int width = screenWidth - left - right;
    graphics->RenderSpriteTiled(skin, left, top, width, chatHeight);
    graphics->RenderBox(left, top, width, chatHeight, light, dark, 0);
    graphics->RenderBox(left + 1, top + 1, width - 2, chatHeight - 2, light, dark, 0);
    graphics->RenderBox(left + 7, top + 32, width - 14, chatHeight - 65, dark, light, 0);

    // The field sits in a sunken one-pixel frame on the skin.
    const int mx = map->viewX;
    const int my = map->viewY;
    graphics->RenderSpriteTiled(skin, left, 0, width, my);
    graphics->RenderRectangle(dark, mx - 1, my - 1, fieldWidth + 2, 1);
    graphics->RenderSpriteTiled(skin, left, my, mx - left, top - my);
    graphics->RenderRectangle(dark, mx - 1, my, 1, fieldHeight + 1);
    graphics->RenderSpriteTiled(skin, mx + fieldWidth, my, left + width - mx - fieldWidth, top - my);
    graphics->RenderRectangle(light, mx + fieldWidth, my, 1, fieldHeight + 1);
    graphics->RenderSpriteTiled(skin, mx, my + fieldHeight, fieldWidth, top - my - fieldHeight);
    graphics->RenderRectangle(light, mx, my + fieldHeight, fieldWidth, 1);

    if (left > 0)
        leftPanel->Draw();
    if (right > 0)
        rightPanel->Draw();
    DrawStatBars();
    if (settings->GetExperienceCalculator())
        experienceWindow->Draw();
    buffTimers->Draw();
    hotkeyBar->Draw();
    tipMessages->Draw();
    pagedText->Draw();
}

void GameInterface::DrawStatBars() {
    const int position = settings->GetStatBarPosition();
    if (position == 0 || !status)
        return;
    Graphics* graphics = app->graphics;
    const GUIControl* root = gui->root;
    const uint32_t light = root->lightColor;
    const uint32_t dark = root->darkColor;
    const int mx = map->viewX;
    const int my = map->viewY;
    const int tileWidth = map->tileWidth;
    const int tileHeight = map->tileHeight;

    const double ratios[2] = {StatRatio(status->health, status->maxHealth), StatRatio(status->mana, status->maxMana)};
    Sprite* sprites[2] = {app->sprites->GetSprite(kHealthBarSprite), app->sprites->GetSprite(kManaBarSprite)};
    for (int bar = 0; bar < 2; ++bar) {
        const StatBarRects rects = PlaceStatBar(position, bar, mx, my, tileWidth, tileHeight, ratios[bar]);
        graphics->RenderBox(rects.x, rects.y, rects.width, rects.height, dark, light, kBarFill);
        // A fill size of 0 would mean the sprite's own size to the renderer.
        if (rects.fillWidth > 0 && rects.fillHeight > 0)
            graphics->RenderSprite(sprites[bar], rects.fillX, rects.fillY, rects.fillWidth, rects.fillHeight, 64, 13,
                                   0, 0, 64, 13);
    }
}
