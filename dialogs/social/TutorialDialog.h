#pragma once

#include <cstdint>
#include <string>

#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;

// The "Congratulations!" dialog the server shows when the beginners'
// tutorial is done (0x3C): a short text and two picture buttons that open the
// fan sites' list and the capital's city map in the browser. The game screen
// makes the module and closes it at its end; the dialog is built each time it
// opens, and a second opening while it is open changes nothing.
class TutorialDialog {
public:
    static constexpr int32_t kDialogId = GameIds::kTutorialDialog;
    static constexpr int32_t kTextId = GameIds::kTutorialText;
    static constexpr int32_t kCloseButtonId = GameIds::kTutorialClose;
    // The pictures of the two link buttons.
    static constexpr int kFansitePicture = 6601;
    static constexpr int kCityMapPicture = 6600;

    TutorialDialog();
    ~TutorialDialog();
    TutorialDialog(const TutorialDialog&) = delete;
    TutorialDialog& operator=(const TutorialDialog&) = delete;

    // Builds the dialog; false, changing nothing, when it is open.
    bool Open();
    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    // The dialog's draw callback: its panels and the links' captions.
    static void Draw(void* module);
    // One caption, centred on a picture button's lower part; measured at
    // each draw, so it follows the font's widths.
    void DrawLinkCaption(const std::string& text, int left, int top);

    // The congratulation, naming the next quest's giver.
    static const std::string kText;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};

// The web pages of the two picture buttons, opened in the user's browser; a
// browser that does not start is not reported.
void OpenFansitePage();
void OpenCityMapPage();
