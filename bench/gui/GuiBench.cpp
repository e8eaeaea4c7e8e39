// The GUI's per-frame cost and the chat log's wrapping.
//
// Update draws through an engine that only counts the calls that reach it (a
// recording engine formats every call into a string, which would cost more
// than the GUI itself), with the Direct3D type so that texts go as glyph
// batches, as they do in the game.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/Font.h"
#include "engine/GraphicsEngine.h"
#include "engine/KEngine2.h"
#include "engine/Sprite.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUIDialog.h"
#include "engine/gui/GUILine.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUISelect.h"
#include "engine/gui/GUISelector.h"
#include "engine/gui/GUITab.h"
#include "engine/gui/GUITabgroup.h"
#include "engine/gui/GUITable.h"
#include "engine/gui/GUIText.h"
#include "engine/gui/GUITextbox.h"

namespace {

class CountingEngine : public GraphicsEngine {
public:
    void GenerateSprite(Sprite* sprite, SpriteRecord*, bool) override { AdoptSprite(sprite); }
    ~CountingEngine() override { ReleaseAllSprites(); }
    long calls = 0;

protected:
    bool InitInternal() override { return true; }
    bool BeginSceneInternal() override { return true; }
    void RenderRectangleInternal(uint32_t, float, float, float, float, float, bool) override { ++calls; }
    void RenderSpriteInternal(Sprite*, float, float, float, float, float, float, float, float, float, float, float,
                              bool) override {
        ++calls;
    }
    void RenderSpriteBatchInternal(Sprite*, const BatchQuad*, int) override { ++calls; }
    void EnableClipperInternal(ClipRect) override { ++calls; }
    void DisableClipperInternal() override { ++calls; }
};

GraphicsEngine* MakeCountingEngine(int) { return new CountingEngine(); }

// An application object with the counting engine and a font whose glyph cells
// are inked up to their built-in advance widths.
std::unique_ptr<KEngine2> MakeApp(SpriteRecord& sheet) {
    KEngine2::engineFactory = &MakeCountingEngine;
    std::unique_ptr<KEngine2> app(new KEngine2());
    GUIManager::Attach(*app);
    app->SetSize(1280, 1024);
    app->CreateGraphicsEngine(kEngineDirect3D);
    sheet.width = 512;
    sheet.height = 128;
    sheet.pixels.reset(new uint8_t[512 * 128 * 4]());
    for (int cell = 1; cell < 224; ++cell)
        for (int dx = 0; dx < kBuiltInAdvances[cell] && dx < 16; ++dx)
            for (int dy = 4; dy < 12; ++dy) {
                const int x = (cell % 32) * 16 + dx;
                const int rowFromBottom = 127 - ((cell / 32) * 16 + dy);
                uint8_t* p = sheet.pixels.get() + (size_t(rowFromBottom) * 512 + size_t(x)) * 4;
                p[0] = p[1] = p[2] = p[3] = 255;
            }
    app->SetFont(&sheet, true);
    GUIControl* root = app->gui->root;
    root->owner = app.get();
    root->lightColor = 0xFF6E6E6E;
    root->darkColor = 0xFF1E1E1E;
    root->fillColor = 0;
    root->textColor = 0xFFC8C8C8;
    return app;
}

template <class T>
T* Add(GUIControl* parent, int x, int y, int w, int h) {
    T* control = new T();
    control->SetRect(x, y, w, h);
    parent->AddChild(control, true);
    return control;
}

// One dialog whose subtree holds 50 controls once drawn (scroll bars, tabs and
// the selector's buttons included).
void AddDialog(GUIManager& gui, int index) {
    GUIDialog* dialog = new GUIDialog();
    const int ox = 20 + (index % 5) * 240;
    const int oy = 20 + (index / 5) * 480;
    dialog->SetRect(ox, oy, 230, 470);
    dialog->SetTitle("Dialog " + std::to_string(index));
    gui.AddControl(dialog, true);
    for (int i = 0; i < 15; ++i)
        Add<GUIButton>(dialog, ox + 5 + (i % 3) * 75, oy + 25 + (i / 3) * 25, 70, 22)->SetCaption("Button");
    for (int i = 0; i < 8; ++i)
        Add<GUIText>(dialog, ox + 5, oy + 150 + i * 15, 0, 0)->SetText("Label number " + std::to_string(i));
    for (int i = 0; i < 4; ++i)
        Add<GUILine>(dialog, ox + 5, oy + 275 + i * 4, 220, 2);
    for (int i = 0; i < 4; ++i)
        Add<GUICheckbox>(dialog, ox + 120, oy + 150 + i * 20, 100, 18)->label = "Option";
    for (int i = 0; i < 5; ++i)
        Add<GUITextbox>(dialog, ox + 5, oy + 295 + i * 22, 110, 20)->SetText("typed text " + std::to_string(i));
    GUITextbox* log = Add<GUITextbox>(dialog, ox + 120, oy + 295, 105, 60);
    log->SetFlag(GUIControl::kMultiLine | GUIControl::kReadOnly);
    log->EnableScrollbar();
    for (int i = 0; i < 20; ++i)
        log->AppendText("Chat line " + std::to_string(i), 0xFF00FFFF, true);
    GUISelect* list = Add<GUISelect>(dialog, ox + 120, oy + 360, 105, 62);
    for (int i = 0; i < 10; ++i)
        list->AddItem("Row " + std::to_string(i), "12");
    GUITabgroup* tabs = Add<GUITabgroup>(dialog, ox + 5, oy + 410, 220, 20);
    tabs->SetTabWidth(70);
    for (const char* caption : {"One", "Two", "Three"}) {
        GUITab* tab = new GUITab();
        tab->caption = caption;
        tabs->AddTab(tab);
    }
    GUITable* table = Add<GUITable>(dialog, ox + 5, oy + 405, 110, 60);
    table->AddColumn("Item", 60);
    table->AddColumn("Price", 40);
    for (int i = 0; i < 6; ++i) {
        GUITableRow* row = table->AddRow();
        row->SetCellText(0, "Item " + std::to_string(i));
        row->SetCellInt(1, i * 10);
    }
    table->EnableScrollbar();
    GUISelector* selector = Add<GUISelector>(dialog, ox + 120, oy + 440, 105, 25);
    selector->SetLabel("Skin");
    selector->SetItems({"Stone", "Wood"});
}

void BM_UpdateOf500Controls(benchmark::State& state) {
    SpriteRecord sheet;
    std::unique_ptr<KEngine2> app = MakeApp(sheet);
    GUIManager& gui = *app->gui;
    for (int i = 0; i < 10; ++i)
        AddDialog(gui, i);
    gui.Update();  // makes the selectors' buttons
    const size_t controls = gui.root->CollectDescendants().size();
    if (controls != 500) {
        state.SkipWithError(("tree of " + std::to_string(controls) + " controls, not 500").c_str());
        return;
    }
    gui.OnMouseMove(300, 300);
    CountingEngine* engine = static_cast<CountingEngine*>(app->engine);
    engine->calls = 0;
    for (auto _ : state)
        gui.Update();
    state.counters["controls"] = double(controls);
    state.counters["engine calls"] =
        benchmark::Counter(double(engine->calls), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_UpdateOf500Controls)->Unit(benchmark::kMicrosecond);

void BM_WrapOf5000ByteChatLog(benchmark::State& state) {
    SpriteRecord sheet;
    std::unique_ptr<KEngine2> app = MakeApp(sheet);
    GUITextbox* log = new GUITextbox();
    log->SetRect(0, 0, 300, 200);
    log->SetFlag(GUIControl::kMultiLine | GUIControl::kReadOnly);
    app->gui->AddControl(log, true);
    log->EnableScrollbar();
    const uint32_t colors[] = {0xFFC8C8C8, 0xFF00FFFF, 0xFFFFA000, 0xFF60FF60};
    for (int i = 0; log->GetText().size() < GUITextbox::kKeptBytes; ++i)
        log->AppendText("Player" + std::to_string(i % 7) + ": a chat message of a few words, number " +
                            std::to_string(i) + ", with a longwordwithoutanyblanksinit too",
                        colors[i % 4], true);
    if (log->GetText().size() != GUITextbox::kKeptBytes) {
        state.SkipWithError("the log is not 5000 bytes");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(log->Wrap());
    state.counters["lines"] = double(log->lineCount);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(GUITextbox::kKeptBytes));
}
BENCHMARK(BM_WrapOf5000ByteChatLog)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
