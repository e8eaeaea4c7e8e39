#pragma once

#include <string>

#include "engine/gui/GUIControl.h"

// A text label, drawn outlined at its top-left corner; its size is usually 0.
class GUIText : public GUIControl {
public:
    GUIText() = default;

    void SetText(const std::string& value) { text = value; }
    void Draw() override;

    std::string text;
};
