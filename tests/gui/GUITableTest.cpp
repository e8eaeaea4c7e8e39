// The table: sorting, selection, scrolling and cell drawing.
#include "engine/Font.h"
#include "engine/gui/GUIScrollbar.h"
#include "engine/gui/GUITable.h"
#include "platform/Platform.h"
#include "tests/gui/GuiTest.h"
#include "tests/support/DrawnText.h"

namespace {

class GUITableTest : public GuiTest {
protected:
    // A table at (10, 10) with the columns Item (x 5) and Price (x 105).
    GUITable* Table(int h = 200) {
        GUITable* table = Make<GUITable>(10, 10, 300, h, 1);
        table->AddColumn("Item", 100);
        table->AddColumn("Price", 100);
        return table;
    }
    GUITableRow* Row(GUITable* table, const std::string& item, int price) {
        GUITableRow* row = table->AddRow();
        row->SetCellText(0, item);
        row->SetCellInt(1, price);
        return row;
    }
    std::vector<std::string> Items(GUITable* table) {
        std::vector<std::string> items;
        for (const auto& row : table->rows) {
            const GUITableCell* cell = row->Cell(0);
            items.push_back(cell ? cell->text : "?");
        }
        return items;
    }
};

TEST_F(GUITableTest, HeaderClicksSortAscendingThenReverseAndNewRowsForgetTheOrder) {
    GUITable* table = Table();
    Row(table, "sword", 30);
    Row(table, "axe", 10);
    Row(table, "bow", 20);
    input.Click(10 + 110, 20);  // Price
    EXPECT_EQ(Items(table), (std::vector<std::string>{"axe", "bow", "sword"}));
    EXPECT_EQ(table->sortKey, "Price");
    EXPECT_FALSE(table->descending);
    input.Click(10 + 110, 20);
    EXPECT_EQ(Items(table), (std::vector<std::string>{"sword", "bow", "axe"}));
    EXPECT_TRUE(table->descending);
    Row(table, "club", 5);
    input.Click(10 + 110, 20);
    EXPECT_EQ(Items(table), (std::vector<std::string>{"club", "axe", "bow", "sword"}));
    EXPECT_FALSE(table->descending);
    input.Click(10 + 6, 20);  // Item
    EXPECT_EQ(Items(table), (std::vector<std::string>{"axe", "bow", "club", "sword"}));
    input.Click(10 + 3, 20);  // left of the first column
    EXPECT_EQ(table->sortKey, "Item");
}

TEST_F(GUITableTest, RowComparisonPutsEmptyTextsFirstAndLeavesRowsWithoutACellInPlace) {
    GUITable* table = Table();
    GUITableRow* b = table->AddRow();
    b->SetCellText(0, "b");
    GUITableRow* none = table->AddRow();  // no cell in column 0
    none->SetCellInt(1, 1);
    GUITableRow* empty = table->AddRow();
    empty->SetCellText(0, "");
    GUITableRow* a = table->AddRow();
    a->SetCellText(0, "a");
    GUITableRow* high = table->AddRow();
    high->SetCellText(0, "\xe9t\xe9");  // signed: bytes from 128 sort before letters
    input.Click(10 + 6, 20);
    std::vector<GUITableRow*> order;
    for (const auto& row : table->rows)
        order.push_back(row.get());
    EXPECT_EQ(order, (std::vector<GUITableRow*>{empty, high, a, b, none}));
}

TEST_F(GUITableTest, NumbersSpritesAndIntegersCompareWhenBothTextsAreEmpty) {
    GUITable* table = Table();
    table->AddRow()->SetCellNumber(1, 2.5);
    table->AddRow()->SetCellNumber(1, 0.25);
    table->AddRow()->SetCellInt(1, -3);
    input.Click(10 + 110, 20);
    std::vector<std::string> shown;
    Frame();
    for (const DrawnText& text : VisibleTexts(log(), test.app->font->sheet))
        shown.push_back(text.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"Item", "Price", "-3", "0.25", "2.50"}));
}

TEST_F(GUITableTest, ClicksSelectOrMarkTheVisibleRowUnderThePoint) {
    GUITable* table = Table();
    GUITableRow* first = Row(table, "axe", 1);
    GUITableRow* hidden = Row(table, "bow", 2);
    GUITableRow* third = Row(table, "club", 3);
    hidden->SetVisible(false);
    input.Click(20, 10 + 25);
    EXPECT_EQ(table->selectedRow, first);
    input.Click(20, 10 + 45);  // hidden rows take no space
    EXPECT_EQ(table->selectedRow, third);
    test.platform.keys.down.insert(platform::kVkControl);
    input.Click(20, 10 + 30);
    test.platform.keys.down.clear();
    EXPECT_EQ(table->markedRow, first);
    EXPECT_EQ(table->selectedRow, third);
    input.Click(20, 10 + 150);  // below the last row
    EXPECT_EQ(table->selectedRow, third);
    table->Clear();
    EXPECT_EQ(table->selectedRow, nullptr);
    EXPECT_EQ(table->markedRow, nullptr) << "Clear forgets the marked row with the rows";
    EXPECT_TRUE(table->sortKey.empty());
}

TEST_F(GUITableTest, ScrollRangeUsesTheSinglePrecisionRowHeight) {
    struct Case {
        int rows, height, maximum;
    };
    // trunc(6.6666665 x (rows + 1) + 1) - (height - 2) / 3 in single
    // precision: for 2, 5, 8 rows the product rounds up to the whole number.
    for (Case c : {Case{10, 200, 8}, Case{2, 200, 21 - 66}, Case{5, 62, 41 - 20}, Case{8, 62, 61 - 20},
                   Case{0, 8, 7 - 2}, Case{3, 200, 27 - 66}}) {
        GUITable* table = Table(c.height);
        for (int i = 0; i < c.rows; ++i)
            Row(table, "r", i);
        Row(table, "hidden", 0)->SetVisible(false);
        table->EnableScrollbar();
        GUIScrollbar* bar = table->Scrollbar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->GetMaximum(), c.maximum) << c.rows << " rows, height " << c.height;
        EXPECT_EQ((std::vector<int>{bar->x, bar->y, bar->width, bar->height}),
                  (std::vector<int>{10 + 300 - 15, 10, 15, c.height}));
        gui().RemoveControl(table, true);
    }
}

TEST_F(GUITableTest, ScrolledRowsAbove5PixelsAreNeitherDrawnNorHit) {
    GUITable* table = Table(100);
    for (int i = 0; i < 10; ++i)
        Row(table, "row" + std::to_string(i), i + 1);
    table->EnableScrollbar();
    input.Move(20, 50);
    input.Wheel(1);  // 15 units of 3 px: rows move up by 45 px
    EXPECT_EQ(table->Scrollbar()->GetPosition(), 15);
    // Row 1 now has offset 25 - 45 + 20 = 0, row 2 offset 20, row 3 offset 40.
    input.Click(20, 10 + 3);
    EXPECT_EQ(table->selectedRow, nullptr) << "the header band";
    input.Click(20, 10 + 26);
    EXPECT_EQ(table->selectedRow, table->rows[2].get());
    input.Click(10 + 300 - 14, 10 + 50);  // the scroll bar's strip
    EXPECT_EQ(table->selectedRow, table->rows[2].get());
    Frame();
    std::vector<std::string> shown;
    for (const DrawnText& text : VisibleTexts(log(), test.app->font->sheet))
        shown.push_back(text.text);
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown[2], "row2") << "the first drawn row has an offset above 5";
}

TEST_F(GUITableTest, TextCellsAreShortenedToTheirColumnButOneCharacterNeverIs) {
    GUITable* table = Make<GUITable>(10, 10, 300, 200, 1);
    table->AddColumn("N", 25);  // room for less than 6 px
    table->AddColumn("Name", 60);
    GUITableRow* row = table->AddRow();
    row->SetCellText(0, "W");
    row->SetCellText(1, "Dragon scale mail");
    table->selectedRow = row;
    const std::vector<std::string> frame = Frame();
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0x1effffff, 10, 35, 300, 20)"));
    EXPECT_TRUE(Drew(frame, "EnableClipper(10, 35, 294, 210)"));
    std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2].text, "W");
    EXPECT_EQ(texts[3].text.substr(texts[3].text.size() - 3), "...");
    EXPECT_LT(test.app->font->GetTextWidth(texts[3].text) - test.app->font->GetTextWidth("..."), 60 - 19);
    EXPECT_EQ(texts[3].x, float(10 + 30));
    EXPECT_EQ(texts[0].color, 0xFF969696u);
}

TEST_F(GUITableTest, AShortTableShowsAThumbFillingItsTrack) {
    // 3 rows in 200 px: the maximum is negative, the thumb fills the track.
    GUITable* table = Table(200);
    for (int i = 0; i < 3; ++i)
        Row(table, "r", i);
    table->EnableScrollbar();
    GUIScrollbar* bar = table->Scrollbar();
    EXPECT_EQ(bar->GetMaximum(), -39);
    EXPECT_TRUE(bar->HasThumb());
    EXPECT_EQ(bar->GetPosition(), 0);
    EXPECT_EQ(bar->ThumbLength(), 200 - 2 * 15);
    const std::vector<std::string> frame = Frame();
    EXPECT_TRUE(Drew(frame, "RenderRectangle(0xff111111, 295, 25, 15, 1)")) << "the thumb's top edge";
    // Dragging it moves nothing.
    input.Down(300, 100);
    EXPECT_TRUE(bar->dragging);
    input.Move(300, 150);
    EXPECT_EQ(bar->GetPosition(), 0);
    input.Up(300, 150);
}

TEST_F(GUITableTest, TitleWidthsComeFromTheApplicationsFontBeforeTheTableJoinsTheTree) {
    // Columns added first, the usual order when a dialog is built; the sort
    // arrow is drawn at the column's x plus this width.
    GUITable* table = new GUITable();
    table->SetRect(10, 10, 300, 200);
    table->AddColumn("Item", 100);
    table->AddColumn("Price", 100);
    gui().AddControl(table, true);
    EXPECT_EQ(table->columns[0].titleWidth, test.app->font->GetTextWidth("Item"));
    EXPECT_EQ(table->columns[1].titleWidth, test.app->font->GetTextWidth("Price"));
    EXPECT_GT(table->columns[1].titleWidth, 0);
}

TEST_F(GUITableTest, TheSortedColumnsTitleIsOrangeWithItsArrow) {
    GUITable* table = Table();
    Row(table, "axe", 1);
    input.Click(10 + 110, 20);
    Frame();
    const std::vector<DrawnText> texts = VisibleTexts(log(), test.app->font->sheet);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, "Price");
    EXPECT_EQ(texts[1].color, 0xFF005AFAu);
}

}  // namespace
