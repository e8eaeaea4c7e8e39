// The program's entry point.
#include "engine/Clock.h"
#include "engine/KEngine2.h"
#include "platform/Platform.h"

int main() {
    GetTicks();
    KEngine2* app = new KEngine2();
    app->SetSize(1000, 700);
    app->SetTitle("Velmora Online", true);
    if (!app->CreateMainWindow(false)) {
        delete app;
        return 1;
    }
    while (app->running) {
        app->PumpMessages();
        while (app->HasEvents())
            app->PopEvent();
        app->UpdateFps(true);
        platform::SleepMs(15);
    }
    delete app;
    return 0;
}
