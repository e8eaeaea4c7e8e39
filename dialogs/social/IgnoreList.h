#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GUIManager;
class KEngine2;

// The players whose chat is hidden; kept in the main ini file. The game screen makes the module
// when the game starts and frees it when the game ends; the dialog is built each time it opens.
class IgnoreList {
public:
    static constexpr int32_t kDialogId = 140;

    IgnoreList();
    ~IgnoreList();
    IgnoreList(const IgnoreList&) = delete;
    IgnoreList& operator=(const IgnoreList&) = delete;

    // Removes the dialog when it is open and gives the focus back to the chat input.
    void Close();
    void Open();
    // True when the name is on the list, compared without regard to case.
    bool IsIgnored(const std::string& name) const;

    std::vector<std::string> names;

    KEngine2* app = nullptr;
    GUIManager* gui = nullptr;
};
