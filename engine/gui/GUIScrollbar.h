#pragma once

#include "engine/gui/GUIControl.h"

// A vertical scroll bar: an up arrow at the top, a down arrow at the bottom and
// a draggable thumb between them. It holds a position from 0 to a maximum and
// fires nothing: the control that embeds it sets the range, forwards the wheel
// and reads GetPosition when it draws.
//
// Geometry for the rectangle x, y, w, h: the arrows are w x w squares at y and
// y + h - w; the track runs from y + w and is T = h - 2w long; the thumb is at
// least 6 pixels long.
class GUIScrollbar : public GUIControl {
public:
    GUIScrollbar() = default;

    int GetPosition() const { return position; }
    int GetMaximum() const { return maximum; }
    // Lowers the position to the new maximum when it lies above it; otherwise
    // nothing else changes.
    void SetMaximum(int value);
    // The thumb's length is visible / total of the track; nothing is recomputed.
    void SetProportion(int visible, int total);
    // Clamped to 0 .. maximum.
    void SetPosition(int value);
    // Positive moves down.
    void Scroll(int delta);
    void UpdateThumb();

    void Draw() override;
    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;

    void DrawArrow(int x, int y, int w, int h, bool pressed, int spriteId);
    int TrackLength() const { return height - 2 * width; }
    int ThumbLength() const;
    // False while the maximum is 0: no thumb is drawn or dragged. A negative
    // maximum (content shorter than the view) keeps a thumb at the top.
    bool HasThumb() const { return hasThumb; }

    int position = 0;
    int maximum = 10;
    int thumbOffset = 0;
    int visibleAmount = 1;
    int totalAmount = 1;
    int grabOffset = 0;
    bool upPressed = false;
    bool downPressed = false;
    bool dragging = false;

private:
    bool hasThumb = true;
};
