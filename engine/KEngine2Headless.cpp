// The window side of the application object for the native build, which has
// no window: messages arrive only through HandleMessage (from tests), and the
// title text is kept in shownTitle.
#include "engine/KEngine2.h"

#include "engine/Cursor.h"

bool KEngine2::CreateMainWindow(bool) {
    SetCursor(1);
    return true;
}

void* KEngine2::MakeWindow() { return nullptr; }
bool KEngine2::ReplaceMainWindow() { return true; }

void KEngine2::PumpMessages() {}

void KEngine2::SetWindowText(const std::string& text) { shownTitle = text; }
void KEngine2::CaptureMouse() {}
void KEngine2::ReleaseMouse() {}
void KEngine2::CloseMainWindow() {}
void KEngine2::PostQuit() {}

void KEngine2::SetCursor(int kind) { cursorKind = kind; }

void KEngine2::UseCursor(CursorHandle* cursor) {
    if (cursor)
        cursorKind = -1;
}

CursorHandle* KEngine2::CreateCursor(SpriteRecord* image, int, int) {
    if (!IsCursorImage(image))
        return nullptr;
    return new CursorHandle();
}

void DeleteCursorHandle(CursorHandle* cursor) { delete cursor; }

GraphicsEngine* MakeBackEnd(int) { return nullptr; }
