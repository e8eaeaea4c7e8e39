#include "client/PatcherDialog.h"

#include <cstdlib>

#include "client/Client.h"
#include "client/Hosts.h"
#include "client/TextUtils.h"
#include "engine/Graphics.h"
#include "engine/KEngine2.h"
#include "engine/gui/DialogHelper.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "net/KHyperText.h"
#include "net/ZipArchive.h"
#include "platform/Platform.h"

namespace {

const char kPatchServerVariable[] = "VELMORA_PATCH_SERVER";
const char kErrorTitle[] = "Patching Error";

const uint32_t kPanelFill = 0x1E000000;
const uint32_t kBarColor = 0x64808080;
const uint32_t kTextColor = 0xFFC8C8C8;

// The reader's text for its last result, for the error box.
std::string ZipResultText() {
    char text[64];
    ZipFormatMessage(kZipLastResult, text, sizeof text);
    return text;
}

}  // namespace

PatcherDialog::PatcherDialog(int32_t patchVersion)
    : version(patchVersion != 0 ? patchVersion : kDefaultVersion), host(kPatchHost), port(kPatchPort) {
    Client* client = Client::Instance();
    engine = client->app;
    gui = engine ? engine->gui : nullptr;
    // "host" or "host:port"; the port stays as it is without one.
    if (const char* server = std::getenv(kPatchServerVariable)) {
        const std::string text = server;
        const size_t colon = text.rfind(':');
        host = text.substr(0, colon);
        if (colon != std::string::npos)
            port = uint16_t(uint32_t(ReadLeadingInt(text.substr(colon + 1))));
    }
}

PatcherDialog::~PatcherDialog() {
    delete http;
    CloseDialog();
}

std::string PatcherDialog::DownloadPath(int32_t version) {
    return "/velmoramedia/client/velmora_" + std::to_string(version) + ".zip";
}

void PatcherDialog::Open() {
    DialogHelper dialog(gui, kDialogId);
    GUIDialog* frame = dialog.OpenCentred("Patching", 400, 150);
    if (!frame)
        return;
    frame->drawCallback = &PatcherDialog::DrawThunk;
    frame->drawContext = this;
    dialog.Add(new GUILine(), 7, 105, 386, 1);
    dialog.AddButton(kCancelButtonId, "Cancel", &PatcherDialog::OnCancel, this, 140, 115, 120, 25);
}

bool PatcherDialog::Run() {
    // Gone: the player pressed "Cancel".
    if (!DialogHelper(gui, kDialogId).IsOpen())
        return false;

    if (!downloading)
        return ApplyPackage();

    if (!http) {
        http = new KHyperText();
        if (!http->Connect(host, port)) {
            ShowError("Could not connect to the patching server.");
            return false;
        }
    }
    if (!http->IsReceiving() && !http->Get(DownloadPath(version))) {
        ShowError("Could not send patching request.");
        return false;
    }

    const int result = http->Receive();
    if (result == 0) {
        const int32_t length = http->contentLength > 0 ? http->contentLength : 1;
        progress = float(http->GetBytesReceived()) / float(length) * 100.0f;
        return true;
    }
    if (result == 200) {
        progress = 0;
        downloading = 0;
        return true;
    }
    ShowError("Failed patch download (error code: " + std::to_string(result) + ").");
    return false;
}

bool PatcherDialog::ApplyPackage() {
    // A 200 answer without a usable length comes with no body: there is
    // nothing to install, and "patch.exe" must not run on the old files.
    if (!http || !http->body || http->contentLength <= 0) {
        ShowError("Failed patch download (the package is empty).");
        return false;
    }
    // Without the folder the names would land at the root of the drive.
    const std::string common = platform::GetKnownFolder(platform::KnownFolder::CommonAppData);
    if (common.empty()) {
        ShowError("Could not find the folder for the patch files.");
        return false;
    }
    const std::string folder = common + "/";

    ZipHandle* zip = ZipOpen(http->body, uint32_t(http->contentLength), nullptr);
    if (!zip) {
        ShowError("Failed to unpack the patch (" + ZipResultText() + ").");
        return false;
    }
    ZipEntry entry;
    ZipGetItem(zip, -1, &entry);
    const int32_t count = entry.index;
    bool unpacked = true;
    for (int32_t i = 0; i < count && unpacked; ++i) {
        // A fresh record each time: an entry that cannot be listed must not
        // be written under the name of the one before it.
        entry = ZipEntry();
        if (ZipGetItem(zip, i, &entry) != kZipSuccess) {
            unpacked = false;
            break;
        }
        if (entry.name == kPatchProgram)
            continue;
        // The reader refuses names that would leave the folder or name a
        // device, data that fails its CRC-32 and packages that unpack too much.
        unpacked = ZipUnzipItemToFile(zip, i, folder + entry.name) == kZipSuccess;
    }
    const std::string reason = unpacked ? std::string() : ZipResultText();
    ZipClose(zip);
    if (!unpacked) {
        ShowError("Failed to unpack the patch (" + reason + ").");
        return false;
    }

    // The patch program's box is shown without an owner.
    if (!platform::OpenInShell(kPatchProgram, std::string(), platform::kSwShow))
        platform::ShowMessageBox("Patch files downloaded - please run patch.exe manually with admin privileges.",
                                 "Patching", platform::kMbOk);
    // The patch program replaces this one: end at once, saving nothing.
    platform::EndProcess(0);
    return false;
}

void PatcherDialog::ShowError(const std::string& text) {
    if (!gui)
        return;
    // A fresh box with its own "Close": the one open may be the "New Version"
    // box, whose button has become "Patch".
    if (gui->FindControl(GUIManager::kMessageBoxId))
        gui->DeleteLater(GUIManager::kMessageBoxId);
    gui->MessageBox(kErrorTitle, text);
}

void PatcherDialog::CloseDialog() { DialogHelper(gui, kDialogId).CloseAndFocus(kFocusAfterClose); }

void PatcherDialog::Draw() {
    const GUIControl* dialog = DialogHelper(gui, kDialogId).Dialog();
    Graphics* graphics = engine ? engine->graphics : nullptr;
    if (!dialog || !graphics)
        return;
    const int x = dialog->x;
    const int y = dialog->y;
    const int w = dialog->width;
    const int h = dialog->height;
    const uint32_t light = gui->root->lightColor;
    const uint32_t dark = gui->root->darkColor;
    graphics->RenderBox(x + 10, y + 30, w - 20, h - 85, dark, light, kPanelFill);
    graphics->RenderBox(x + 20, y + 40, w - 40, 25, dark, light, kPanelFill);
    graphics->RenderRectangle(kBarColor, x + 21, y + 41, int(progress / 100.0f * float(w - 42)), 23);
    graphics->RenderText(downloading ? "Step 1/2: Downloading patch..." : "Step 2/2: Applying patch...", x + 20,
                         y + 70, kTextColor);
}

void PatcherDialog::DrawThunk(void* context) { static_cast<PatcherDialog*>(context)->Draw(); }

void PatcherDialog::OnCancel(void* context) { static_cast<PatcherDialog*>(context)->CloseDialog(); }
