// The control base: the tree operations and the mouse dispatch with its
// dialog shield, flags and snapshots.
#include <functional>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIDialog.h"
#include "tests/gui/GuiTest.h"

namespace {

// A control that writes every event it hears into a shared journal.
class Probe : public GUIControl {
public:
    explicit Probe(std::vector<std::string>* journal = nullptr) : journal_(journal) {}
    void OnMouseDown(int x, int y) override { Note("down"); }
    void OnMouseUp(int x, int y) override { Note("up"); }
    void OnMouseMove(int x, int y) override { Note("move"); }
    void OnMouseWheel(int steps) override { Note("wheel"); }
    void Draw() override { Note("draw"); }

    std::function<void()> onDown;  // runs inside OnMouseDown

private:
    void Note(const std::string& what) {
        if (journal_)
            journal_->push_back(std::to_string(id) + " " + what);
        if (what == "down" && onDown)
            onDown();
    }
    std::vector<std::string>* journal_;
};

// A dialog that notes presses as the probes do.
class ProbeDialog : public GUIDialog {
public:
    explicit ProbeDialog(std::vector<std::string>* journal) : journal_(journal) {}
    void OnMouseDown(int x, int y) override {
        journal_->push_back(std::to_string(id) + " down");
        GUIDialog::OnMouseDown(x, y);
    }

private:
    std::vector<std::string>* journal_;
};

class GUIControlTest : public GuiTest {
protected:
    Probe* AddProbe(int x, int y, int w, int h, int32_t id, GUIControl* parent = nullptr) {
        Probe* probe = new Probe(&journal);
        probe->SetRect(x, y, w, h);
        probe->id = id;
        if (parent)
            parent->AddChild(probe, true);
        else
            gui().AddControl(probe, true);
        return probe;
    }
    std::vector<std::string> Heard(const std::string& kind) {
        std::vector<std::string> out;
        for (const std::string& line : journal)
            if (line.size() > kind.size() && line.compare(line.size() - kind.size(), kind.size(), kind) == 0)
                out.push_back(line.substr(0, line.size() - kind.size() - 1));
        return out;
    }

    std::vector<std::string> journal;
};

TEST_F(GUIControlTest, PressesReachControlsByRectangleParentsFirstAndOutsideTheirParent) {
    Probe* panel = AddProbe(0, 0, 100, 100, 1);
    AddProbe(10, 10, 20, 20, 2, panel);
    AddProbe(200, 200, 20, 20, 3, panel);  // outside its parent
    AddProbe(0, 0, 50, 50, 4);

    gui().OnMouseDown(15, 15);
    EXPECT_EQ(Heard("down"), (std::vector<std::string>{"1", "2", "4"}));
    journal.clear();
    gui().OnMouseDown(205, 205);
    EXPECT_EQ(Heard("down"), (std::vector<std::string>{"3"}));
    journal.clear();
    gui().OnMouseDown(110, 15);  // right edge excluded
    EXPECT_TRUE(Heard("down").empty());
}

TEST_F(GUIControlTest, HiddenAndDisabledParentsBlockPressReleaseAndWheelButNotMoves) {
    struct Case {
        uint32_t flag;
        bool drawn;
    };
    for (Case c : {Case{GUIControl::kHidden, false}, Case{GUIControl::kDisabled, true}}) {
        journal.clear();
        Probe* parent = AddProbe(0, 0, 100, 100, 1);
        AddProbe(10, 10, 20, 20, 2, parent);
        parent->SetFlag(c.flag);
        gui().OnMouseMove(15, 15);
        gui().OnMouseDown(15, 15);
        gui().OnMouseUp(15, 15);
        gui().OnMouseWheel(1);
        EXPECT_TRUE(Heard("down").empty()) << c.flag;
        EXPECT_TRUE(Heard("up").empty()) << c.flag;
        EXPECT_TRUE(Heard("wheel").empty()) << c.flag;
        EXPECT_EQ(Heard("move"), (std::vector<std::string>{"1", "2"})) << c.flag;
        const std::vector<std::string> frame = Frame();
        EXPECT_EQ(Heard("draw").size(), c.drawn ? 2u : 0u) << c.flag;
        gui().RemoveControl(parent, true);
    }
}

TEST_F(GUIControlTest, DisabledLevelsEachLayOneGreyCoverOverTheirChildren) {
    Probe* outer = AddProbe(0, 0, 100, 100, 1);
    Probe* inner = AddProbe(10, 10, 20, 20, 2, outer);
    outer->SetFlag(GUIControl::kDisabled);
    inner->SetFlag(GUIControl::kDisabled);
    EXPECT_EQ(Frame(), (std::vector<std::string>{"RenderRectangle(0x80808080, 10, 10, 20, 20)",
                                                 "RenderRectangle(0x80808080, 0, 0, 100, 100)"}));
}

TEST_F(GUIControlTest, PressOnOverlappingDialogsReachesOnlyTheTopmostOne) {
    ProbeDialog* lower = new ProbeDialog(&journal);
    lower->SetRect(0, 0, 200, 200);
    lower->id = 10;
    gui().AddControl(lower, true);
    Probe* lowerButton = AddProbe(50, 50, 20, 20, 11, lower);
    ProbeDialog* upper = new ProbeDialog(&journal);
    upper->SetRect(40, 40, 100, 100);
    upper->id = 20;
    gui().AddControl(upper, true);
    AddProbe(150, 150, 20, 20, 30);  // a plain control beneath the dialogs

    gui().OnMouseDown(55, 55);
    EXPECT_EQ(Heard("down"), (std::vector<std::string>{"20"}));

    journal.clear();
    upper->SetFlag(GUIControl::kDisabled);
    gui().OnMouseDown(55, 55);
    EXPECT_TRUE(Heard("down").empty()) << "a disabled dialog on top shields everything beneath";

    journal.clear();
    upper->ClearFlag(GUIControl::kDisabled);
    upper->SetFlag(GUIControl::kHidden);
    gui().OnMouseDown(55, 55);
    EXPECT_EQ(Heard("down"), (std::vector<std::string>{"10", "11"}));
    (void)lowerButton;

    journal.clear();
    gui().OnMouseDown(155, 155);  // on the lower dialog, above the plain control
    EXPECT_EQ(Heard("down"), (std::vector<std::string>{"10"}));
}

TEST_F(GUIControlTest, ControlAtFindsTheOutermostVisibleControlLaterSiblingsFirst) {
    Probe* a = AddProbe(0, 0, 100, 100, 1);
    AddProbe(10, 10, 20, 20, 2, a);
    Probe* b = AddProbe(50, 50, 100, 100, 3);
    Probe* far = AddProbe(300, 300, 10, 10, 4, b);
    EXPECT_EQ(gui().ControlAt(15, 15), a);
    EXPECT_EQ(gui().ControlAt(60, 60), b);
    EXPECT_EQ(gui().ControlAt(305, 305), far);
    b->SetFlag(GUIControl::kHidden);
    EXPECT_EQ(gui().ControlAt(60, 60), a);
    EXPECT_EQ(gui().ControlAt(305, 305), nullptr);
    EXPECT_EQ(gui().ControlAt(500, 500), nullptr);
}

TEST_F(GUIControlTest, FindByIdTakesTheFirstInPreOrderAndZeroIsTheRoot) {
    Probe* a = AddProbe(0, 0, 10, 10, 1);
    Probe* deep = AddProbe(0, 0, 10, 10, 7, a);
    AddProbe(0, 0, 10, 10, 7);
    EXPECT_EQ(gui().FindControl(7), deep);
    EXPECT_EQ(gui().FindControl(0), gui().root);
    EXPECT_EQ(gui().FindControl(99), nullptr);
}

TEST_F(GUIControlTest, StyleIsCopiedWhenAddedAndChangedOnlyThroughTheTreeOperations) {
    Probe* panel = AddProbe(0, 0, 100, 100, 1);
    EXPECT_EQ(panel->lightColor, kLight);
    EXPECT_EQ(panel->arrowRightIcon, 9);
    gui().root->lightColor = 0xFF0000FF;
    Probe* later = AddProbe(0, 0, 10, 10, 2, panel);
    EXPECT_EQ(later->lightColor, kLight) << "a child takes its parent's style, not the root's";
    gui().root->SetStyleTree(1373);
    gui().root->SetColorsTree(0xFF010101, 0xFF020202);
    EXPECT_EQ(later->skin, 1373);
    EXPECT_EQ(later->lightColor, 0xFF010101u);
    EXPECT_EQ(later->darkColor, 0xFF020202u);
    EXPECT_EQ(gui().GetSkin(), 1373);
}

TEST_F(GUIControlTest, MoveByMovesTheSubtreeAndSetRectOnlyTheControl) {
    Probe* panel = AddProbe(10, 10, 100, 100, 1);
    Probe* child = AddProbe(20, 20, 10, 10, 2, panel);
    panel->MoveBy(5, -3);
    EXPECT_EQ(child->x, 25);
    EXPECT_EQ(child->y, 17);
    panel->SetRect(0, 0, 50, 50);
    EXPECT_EQ(child->x, 25);
}

TEST_F(GUIControlTest, ControlsAddedDuringADispatchDoNotHearThatEvent) {
    Probe* first = AddProbe(0, 0, 50, 50, 1);
    first->onDown = [&] { AddProbe(0, 0, 50, 50, 2); };
    gui().OnMouseDown(10, 10);
    EXPECT_EQ(Heard("down"), (std::vector<std::string>{"1"}));
    journal.clear();
    first->onDown = nullptr;
    gui().OnMouseDown(10, 10);
    EXPECT_EQ(Heard("down"), (std::vector<std::string>{"1", "2"}));
}

TEST_F(GUIControlTest, ASiblingRemovedDuringADispatchHearsNothingAndIsDeletedAfterIt) {
    Probe* first = AddProbe(0, 0, 50, 50, 1);
    Probe* second = AddProbe(0, 0, 50, 50, 2);
    AddProbe(0, 0, 50, 50, 3, second);
    first->onDown = [&] { gui().RemoveControl(second, true); };
    gui().OnMouseDown(10, 10);  // the sanitizer watches for a touch of the deleted control
    EXPECT_EQ(Heard("down"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(gui().FindControl(2), nullptr);
    EXPECT_EQ(gui().FindControl(3), nullptr);
}

TEST_F(GUIControlTest, AButtonThatClosesItsOwnDialogStopsTheDispatchThere) {
    GUIDialog* dialog = Make<GUIDialog>(0, 0, 200, 200, 40);
    struct Closer {
        GUIManager* gui;
        int fired = 0;
    } closer{&gui()};
    GUIButton* button = Make<GUIButton>(10, 30, 50, 20, 41, dialog);
    button->action = [](void* context) {
        Closer* c = static_cast<Closer*>(context);
        ++c->fired;
        c->gui->DeleteLater(40);
    };
    button->actionContext = &closer;
    Probe* after = AddProbe(10, 30, 50, 20, 42, dialog);
    input.Click(20, 40);
    EXPECT_EQ(closer.fired, 1);
    EXPECT_TRUE(Heard("up").empty()) << "controls of a closed dialog get no more input";
    EXPECT_EQ(gui().FindControl(40), nullptr);
    (void)after;
    Frame();
    EXPECT_TRUE(gui().root->children.empty());
}

TEST_F(GUIControlTest, RemoveChildAndDeleteByIdNeverRemoveTheControlTheyAreCalledOn) {
    Probe* panel = AddProbe(0, 0, 10, 10, 5);
    Probe* child = AddProbe(0, 0, 10, 10, 6, panel);
    EXPECT_TRUE(panel->RemoveChild(panel, true));
    EXPECT_TRUE(panel->DeleteById(5));
    EXPECT_FALSE(panel->RemoveChild(child, false));
    EXPECT_TRUE(panel->children.empty());
    EXPECT_EQ(child->GetParent(), nullptr);
    delete child;
    EXPECT_FALSE(gui().root->DeleteById(5));
    EXPECT_EQ(gui().FindControl(5), nullptr);
}

TEST_F(GUIControlTest, DeletingAControlForgetsTheFocusedDescendant) {
    Probe* panel = AddProbe(0, 0, 10, 10, 5);
    Probe* child = AddProbe(0, 0, 10, 10, 6, panel);
    gui().focus = child;
    gui().RemoveControl(panel, true);
    EXPECT_EQ(gui().focus, nullptr);
}

}  // namespace
