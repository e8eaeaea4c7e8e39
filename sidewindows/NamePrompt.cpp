#include "sidewindows/NamePrompt.h"

#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextbox.h"
#include "game/GameControlIds.h"

namespace name_prompt {

namespace {
constexpr uint32_t kFieldColor = 0x1E000000;
}

GUITextbox* Open(GUIManager* gui, const Ids& ids, const std::string& title, const std::string& okCaption,
                 GUIButton::Action ok, GUIButton::Action cancel, void (*draw)(void*), void* context) {
    DialogHelper box(gui, ids.dialog);
    GUIDialog* frame = box.OpenFromCentre(title, -135, -130, 280, 120);
    if (!frame)
        return nullptr;
    frame->drawCallback = draw;
    frame->drawContext = context;
    GUIText* label = box.AddText("Player name:", 20, 38);
    if (ids.label)
        label->id = ids.label;
    GUITextbox* name = box.Add(new GUITextbox(), 115, 35, 145, 25);
    name->id = ids.nameBox;
    box.Add(new GUILine(), 7, 75, 266, 1);
    box.AddButton(ids.okButton, okCaption, ok, context, 37, 87, 95, 25);
    box.AddButton(ids.cancelButton, "Cancel", cancel, context, 147, 87, 95, 25);
    gui->focus = name;
    return name;
}

std::string TakeNameAndClose(GUIManager* gui, const Ids& ids) {
    DialogHelper box(gui, ids.dialog);
    std::string text;
    if (GUITextbox* name = box.Find<GUITextbox>(ids.nameBox))
        text = name->GetText();
    box.CloseAndFocus(GameIds::kChatInput);
    return text;
}

void DrawField(KEngine2* app, GUIManager* gui, int32_t dialogId) {
    GUIControl* frame = DialogHelper(gui, dialogId).Dialog();
    const GUIControl* root = gui->root;
    if (!frame || !root)
        return;
    app->graphics->RenderBox(frame->x + 10, frame->y + 28, frame->width - 20, 39, root->darkColor, root->lightColor,
                             kFieldColor);
}

}  // namespace name_prompt
