#pragma once

#include <cstdint>
#include <string>

// The message boxes of the login road: "Connecting", "Error" and "New
// Version", all in the GUI's one message box. The protocol says what happened;
// only this module builds and changes the box for it.
class LoginBoxes {
public:
    // "Connecting" with the text, its Close button disabled: the attempt ends
    // in another box or in the character list.
    static void Connecting(const std::string& text);
    // "Error" with the text and a working Close.
    static void Error(const std::string& text);
    // "New Version": its button becomes "Patch", which asks the client for the
    // self-update to the version.
    static void NewVersion(uint32_t version);
    // The login has been answered: the box goes.
    static void Close();

    // The "Patch" button; the context is the version.
    static void OnPatchClicked(void* context);

private:
    static void Show(const std::string& title, const std::string& text);
};
