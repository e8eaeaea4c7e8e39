#pragma once

#include <string>
#include <vector>

class GUIManager;
class KEngine2;

// The "Open Channel" dialog: the list of chat channels the server offers.
// One instance, made on first use.
class OpenChannelDialog {
public:
    static OpenChannelDialog* Instance();

    // Builds the dialog and asks the server for the channel list.
    void Open();
    // The channel list the server sent, in its order.
    void ClearChannels();
    void AddChannel(const std::string& name);

    std::vector<std::string> channels;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;

private:
    OpenChannelDialog();
};
