#pragma once

#include <cstdint>
#include <string>

#include "client/LoginControlIds.h"
#include "game/GameControlIds.h"

class GUIManager;
class KEngine2;
class KHyperText;

// The self-update: downloads the package of a client version from the patch
// file server, shows the "Patching" dialog with a progress bar meanwhile,
// unpacks the package into the machine's common application-data folder,
// starts "patch.exe" from the working directory (it installs the unpacked
// files) and ends the process.
//
// Client::RunPatcher drives it on the main thread, one Run per pass of its
// own loop, and deletes it when Run returns false. Every failure is shown as a
// "Patching Error" box and ends the patcher; the client then goes on where it
// was. The package is untrusted: an empty download, an archive that cannot be
// read, or an entry that cannot be listed or written fails the patch, so a
// half-unpacked package never reaches "patch.exe".
class PatcherDialog {
public:
    static constexpr int32_t kDialogId = LoginIds::kPatchingDialog;
    static constexpr int32_t kCancelButtonId = LoginIds::kPatchingCancel;
    // Gets the focus back when the dialog closes: the game's chat input.
    static constexpr int32_t kFocusAfterClose = GameIds::kChatInput;
    static constexpr int32_t kDefaultVersion = 475;
    // The package's own copy of the patch program is not unpacked: the one
    // that runs is the copy beside the client.
    static constexpr const char* kPatchProgram = "patch.exe";

    // Version 0 stands for kDefaultVersion.
    explicit PatcherDialog(int32_t version);
    // Frees the HTTP client, closes the dialog and gives the focus back.
    ~PatcherDialog();
    PatcherDialog(const PatcherDialog&) = delete;
    PatcherDialog& operator=(const PatcherDialog&) = delete;

    // Shows the "Patching" dialog with its "Cancel" button, unless it is open.
    void Open();
    // One step: connect, request, receive once, or (once the package has
    // arrived) unpack it and end the process. False when the patcher has
    // finished: cancelled, or failed with its box shown. After a good unpack
    // it ends the process and does not return.
    bool Run();
    // The dialog's frame: the progress bar and the step's text.
    void Draw();

    // "/velmoramedia/client/velmora_" + version + ".zip".
    static std::string DownloadPath(int32_t version);

    KHyperText* http = nullptr;  // owned; made by the first Run
    KEngine2* engine = nullptr;
    GUIManager* gui = nullptr;
    uint8_t downloading = 1;  // 1 while downloading, 0 once the package is here
    float progress = 0;       // percent of the package received
    int32_t version = 0;
    // The patch file server: the built-in one, or VELMORA_PATCH_SERVER.
    std::string host;
    uint16_t port = 0;

private:
    // Unpacks the downloaded package and starts the patch program. Returns
    // false with the error box shown when the package cannot be unpacked
    // whole; otherwise ends the process.
    bool ApplyPackage();
    // Shows the "Patching Error" box with the text.
    void ShowError(const std::string& text);
    void CloseDialog();

    static void DrawThunk(void* context);
    static void OnCancel(void* context);
};
