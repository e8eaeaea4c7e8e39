#pragma once

class GUIManager;
class KEngine2;

// The "Open Channel" dialog: the list of chat channels the server offers.
// One instance, made on first use.
class OpenChannelDialog {
public:
    static OpenChannelDialog* Instance();

    // Builds the dialog and asks the server for the channel list.
    void Open();

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

private:
    OpenChannelDialog();
};
