#pragma once

#include <cstdint>
#include <string>

#include "engine/gui/GUIButton.h"

class GUIManager;
class GUITextbox;
class KEngine2;

// The one-line name dialogs of the list windows ("Add Person", "Invite To
// Party"): a label, a name box, a line and two buttons under a sunken field.
namespace name_prompt {

struct Ids {
    int32_t label;  // 0: none of its own
    int32_t dialog;
    int32_t nameBox;
    int32_t okButton;
    int32_t cancelButton;
};

// Opens the dialog from the screen's centre and gives the name box the focus;
// null when it is open already. The draw callback gets the context.
GUITextbox* Open(GUIManager* gui, const Ids& ids, const std::string& title, const std::string& okCaption,
                 GUIButton::Action ok, GUIButton::Action cancel, void (*draw)(void*), void* context);
// The typed name (empty when none); closes the dialog and gives the chat
// input the focus back.
std::string TakeNameAndClose(GUIManager* gui, const Ids& ids);
// The sunken field behind the label and the box.
void DrawField(KEngine2* app, GUIManager* gui, int32_t dialogId);

}  // namespace name_prompt
