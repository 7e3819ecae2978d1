#include "browser_fixture.h"

#include <map>

namespace {

// Four frames in frequency order; byte order puts "The" before "a", and the
// variant counts 10 and 9 tell a numeric sort from a text sort.
const char fourFrameFile[] =
    "of * the\t30\t2\r\nof all the\t20\r\nof it the\t10\r\n\r\n"
    "The * of\t20\t9\r\nThe end of\t20\r\n\r\n"
    "in * of\t10\t10\r\nin one of\t10\r\n\r\n"
    "a * b\t5\t1\r\na c b\t5\r\n";

const std::map<std::string, std::string> variantsOf = {
    {"of * the", "of all the\t20\r\nof it the\t10"},
    {"The * of", "The end of\t20"},
    {"in * of", "in one of\t10"},
    {"a * b", "a c b\t5"},
};

} // namespace

TEST_F(BrowserTest, HeadingClicksSortRowsSelectRowOneAndShowIt)
{
    fileIsFreqOrder = 1; // as the Open command leaves it for a frequency file
    openBrowser(writeFile("f.txt", fourFrameFile));
    ASSERT_EQ(rowCount(), 4);

    const struct {
        int column;
        std::vector<std::string> frameOrder;
        const char* description;
    } clicks[] = {
        {3, {"a * b", "in * of", "The * of", "of * the"}, "sorted by frequency in ascending order"},
        {3, {"of * the", "The * of", "in * of", "a * b"}, "sorted by frequency in descending order"},
        {2, {"The * of", "a * b", "in * of", "of * the"}, "sorted by phrase frame in ascending order"},
        {4, {"in * of", "The * of", "of * the", "a * b"}, "sorted by variants in descending order"},
        {1, {"a * b", "in * of", "The * of", "of * the"}, "sorted by frequency rank in descending order"},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.description);
        // Another row selected and the pane overwritten: the click must
        // still select row 1 and show it afresh.
        selectListRow(3);
        SetWindowTextA(variantPane, "typed over");
        clickHeading(click.column);

        for (int row = 1; row <= 4; ++row)
            EXPECT_EQ(cell(row, 2), click.frameOrder[row - 1]) << row;
        EXPECT_EQ(sortDescription, click.description);
        EXPECT_EQ(selectedRow(), 1);
        EXPECT_EQ(selectedIndex, 1);
        EXPECT_EQ(shownIndex, 1);
        EXPECT_EQ(controlText(frameInfoLabelId),
                  cell(1, 2) + ":  rank " + cell(1, 1) + ", frequency " + cell(1, 3) + ", variants " + cell(1, 4));
        EXPECT_EQ(paneText(), variantsOf.at(cell(1, 2)));
    }
    // Rank descending is the file order reversed.
    EXPECT_EQ(cell(1, 1), "4");
    EXPECT_EQ(cell(4, 1), "1");
}

TEST_F(BrowserTest, MouseClickOnARowShowsThatFrame)
{
    openBrowser(writeFile("f.txt", fourFrameFile));
    RECT row = {};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(frameList, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row)));
    LPARAM point = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    SendMessageA(frameList, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(frameList, WM_LBUTTONUP, 0, point);
    pumpMessages();

    EXPECT_EQ(selectedRow(), 3);
    EXPECT_EQ(selectedIndex, 3);
    EXPECT_EQ(shownIndex, 3);
    EXPECT_EQ(controlText(frameInfoLabelId), "in * of:  rank 3, frequency 10, variants 10");
    EXPECT_EQ(paneText(), "in one of\t10");
}
