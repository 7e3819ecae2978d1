#include "browser_fixture.h"

namespace {

// Variant lines by falling frequency as a frequency file stores them, with
// ties not in alphabetical order and one line without a frequency.
const char tiedFrameFile[] =
    "x * y\t30\t6\r\nzeta\t9\r\nbeta\t9\r\nalpha\t5\r\nGamma\t5\r\ndelta\t2\r\nepsilon\r\n\r\n"
    "other\t1\t1\r\nother one\t1\r\n";
const char storedOrder[] = "zeta\t9\r\nbeta\t9\r\nalpha\t5\r\nGamma\t5\r\ndelta\t2\r\nepsilon";
const char alphabeticalOrder[] = "Gamma\t5\r\nalpha\t5\r\nbeta\t9\r\ndelta\t2\r\nepsilon\r\nzeta\t9";
const char frequencyOrder[] = "beta\t9\r\nzeta\t9\r\nGamma\t5\r\nalpha\t5\r\ndelta\t2\r\nepsilon";

LRESULT checkOf(int id)
{
    return SendDlgItemMessageA(mainWindow, id, BM_GETCHECK, 0, 0);
}

// The pane's first tab stop in twips, as its paragraph format holds it.
LONG paneTabStop()
{
    CHARRANGE start = {0, 0};
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    PARAFORMAT format = {};
    format.cbSize = sizeof format;
    SendMessageA(variantPane, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format.cTabCount > 0 ? (format.rgxTabs[0] & 0xFFFFFF) : 0;
}

// Where the pane draws character i.
LONG paneX(LONG i)
{
    POINTL point = {};
    SendMessageA(variantPane, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), i);
    return point.x;
}

} // namespace

TEST_F(BrowserTest, AlphaAndFreqReorderThePaneEvenWhenAlreadyChosen)
{
    fileIsFreqOrder = 1;
    openBrowser(writeFile("tied.txt", tiedFrameFile));
    EXPECT_EQ(paneText(), storedOrder);

    clickButton(alphaButtonId);
    EXPECT_EQ(checkOf(alphaButtonId), BST_CHECKED);
    EXPECT_EQ(paneText(), alphabeticalOrder);

    clickButton(freqButtonId);
    EXPECT_EQ(checkOf(freqButtonId), BST_CHECKED);
    EXPECT_EQ(checkOf(alphaButtonId), BST_UNCHECKED);
    EXPECT_EQ(paneText(), frequencyOrder);

    // Shown again, the frame comes in the file's own order, which "&Freq"
    // already matches; clicking "&Freq" again still puts its ties in order.
    selectListRow(2);
    selectListRow(1);
    EXPECT_EQ(paneText(), storedOrder);
    clickButton(freqButtonId);
    EXPECT_EQ(checkOf(freqButtonId), BST_CHECKED);
    EXPECT_EQ(paneText(), frequencyOrder);

    // "&Alpha" clicked while it is on sorts whatever the pane holds.
    clickButton(alphaButtonId);
    SetWindowTextA(variantPane, "b\t1\r\nB\t2\r\na\t3");
    clickButton(alphaButtonId);
    EXPECT_EQ(paneText(), "B\t2\r\na\t3\r\nb\t1");
}

TEST_F(BrowserTest, FreqsLeftAndRightMoveThePaneTabStopWithinItsLimits)
{
    openBrowser(writeFile("a.txt", twoFrameFile));
    ASSERT_EQ(paneText(), "a1\t5");
    const LONG twipsAt64 = paneTabStop();
    const LONG xAt64 = paneX(3); // the frequency after the TAB
    ASSERT_GT(twipsAt64, 0);

    stepCommand(freqsRightCommandId);
    command(freqsRightCommandId); // within 150 ms of the first: dropped
    EXPECT_EQ(tabStop, 72);
    EXPECT_NEAR(paneTabStop(), twipsAt64 * 72 / 64.0, 1.5);
    EXPECT_GT(paneX(3), xAt64);

    // New text in the pane keeps the stop.
    selectListRow(2);
    EXPECT_NEAR(paneTabStop(), twipsAt64 * 72 / 64.0, 1.5);

    stepCommand(freqsLeftCommandId);
    EXPECT_EQ(tabStop, 64);
    EXPECT_NEAR(paneTabStop(), twipsAt64, 1.0);

    const struct { int32_t from; int commandId; int32_t to; } limits[] = {
        {36, freqsLeftCommandId, 32}, {32, freqsLeftCommandId, 32},
        {4092, freqsRightCommandId, 4096}, {4096, freqsRightCommandId, 4096}};
    for (const auto& step : limits) {
        SCOPED_TRACE(step.from);
        tabStop = step.from;
        stepCommand(step.commandId);
        EXPECT_EQ(tabStop, step.to);
        EXPECT_NEAR(paneTabStop(), twipsAt64 * step.to / 64.0, step.to / 64.0 + 1);
    }
}

// "&Alpha" on a frame the pane shows only in part orders the whole frame
// and shows its start: the "aa" variants, which the file keeps after all the
// "zz" ones beyond the part first shown.
TEST_F(BrowserTest, AlphaOnAFrameShownInPartOrdersTheWholeFrame)
{
    // Lines of 60 bytes, so that the zz ones alone fill more than the pane's
    // bound with few lines (the pane's time goes by lines).
    const std::string padding(40, 'p');
    std::string file = "the * of\t540000\t36000";
    for (int i = 0; i < 18000; ++i)
        file += "\r\nthe zz" + std::to_string(10000 + i) + padding + " of\t20";
    for (int i = 0; i < 18000; ++i)
        file += "\r\nthe aa" + std::to_string(10000 + i) + padding + " of\t10";
    fileIsFreqOrder = 1;
    openBrowser(writeFile("big-Freq-phraseFrames.txt", file + "\r\n"));
    ASSERT_EQ(paneText().substr(0, 11), "the zz10000");
    EXPECT_NE(controlText(frameInfoLabelId).find(" of 36,000 variants shown)"), std::string::npos);

    clickButton(alphaButtonId);
    EXPECT_EQ(paneText().substr(0, 11), "the aa10000");
    EXPECT_EQ(paneText().find("zz"), std::string::npos);
    EXPECT_NE(controlText(frameInfoLabelId).find(" of 36,000 variants shown)"), std::string::npos);
}

// One variant line over the line bound is shortened; the lines after it
// are shown, and the label says one line was cut.
TEST_F(BrowserTest, OneLongVariantLineIsShortenedAndTheRestShown)
{
    const std::string longPhrase = "the " + std::string(1500, 'x') + " of";
    openBrowser(writeFile("long-Freq-phraseFrames.txt",
                          "the * of\t9\t3\r\nthe cat of\t5\r\n" + longPhrase + "\t3\r\nthe dog of\t1\r\n"));
    EXPECT_EQ(paneText(), "the cat of\t5\r\n" + longPhrase.substr(0, 1000) + "\r\nthe dog of\t1");
    EXPECT_EQ(controlText(frameInfoLabelId), "the * of:  rank 1, frequency 9, variants 3  (1 variant cut at 1,000 bytes)");
}

// A NUL in a variant would end the pane's text: it shows a blank.
TEST_F(BrowserTest, PaneAndLabelShowANulAsABlank)
{
    const char bytes[] = "fr\0me\t5\t2\r\na\0b\t3\r\nafter\t2\r\n";
    openBrowser(writeFile("nul-Freq-phraseFrames.txt", std::string(bytes, sizeof bytes - 1)));
    EXPECT_EQ(paneText(), "a b\t3\r\nafter\t2");
    EXPECT_EQ(controlText(frameInfoLabelId), "fr me:  rank 1, frequency 5, variants 2");
    const char kept[] = "1\tfr\0me\t5\t2\r\na\0b\t3\r\nafter\t2";
    EXPECT_EQ(frames[1], std::string(kept, sizeof kept - 1));
}
