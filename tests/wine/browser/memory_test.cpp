// Running out of memory in any user action ends that action with a box, not
// the program, and leaves the state as before the action. Each action is run
// once for each of its allocations, with that one failing.
#include "allocation_failure.h"
#include "browser_fixture.h"

#include "browser/finddialog.h"
#include "browser/loader.h"
#include "browser/memoryguard.h"
#include "browser/core/panetext.h"
#include "common/core/numbertext.h"

namespace {

const char fourFrameFile[] =
    "of * the\t30\t2\r\nof all the\t20\r\nof it the\t10\r\n\r\n"
    "The * of\t20\t1\r\nThe end of\t20\r\n\r\n"
    "in * of\t10\t1\r\nin one of\t10\r\n\r\n"
    "a * b\t5\t1\r\na c b\t5\r\n";

struct Snapshot {
    std::vector<std::string> frames;
    std::vector<int32_t> sortState;
    std::string sortDescription;
    std::string loadedFileName;
    int32_t fileIsFreqOrder;
    int rows;
    bool operator==(const Snapshot& other) const
    {
        return frames == other.frames && sortState == other.sortState && sortDescription == other.sortDescription &&
               loadedFileName == other.loadedFileName && fileIsFreqOrder == other.fileIsFreqOrder &&
               rows == other.rows;
    }
};

class MemoryTest : public BrowserTest {
protected:
    void TearDown() override
    {
        stopFailingAllocations();
        BrowserTest::TearDown();
    }

    Snapshot snapshot() const
    {
        return {frames, std::vector<int32_t>(sortState, sortState + 5), sortDescription, loadedFileName,
                fileIsFreqOrder, rowCount()};
    }

    // Runs action once for each allocation it makes, with that allocation
    // failing, until a run makes no more allocations than the one before.
    // After each failed run: exactly one box, and check(box text). Returns
    // the number of failed runs.
    template <class Action, class Check>
    int failEachAllocation(Action action, Check check)
    {
        int failures = 0;
        for (long n = 1; n < 100000; ++n) {
            prompts.clear();
            failAllocationAfter(n);
            action();
            bool failed = allocationFailed();
            stopFailingAllocations();
            pumpMessages();
            if (!failed)
                return failures;
            ++failures;
            SCOPED_TRACE("allocation " + std::to_string(n));
            if (prompts.size() != 1) {
                ADD_FAILURE() << prompts.size() << " boxes";
                continue;
            }
            EXPECT_EQ(prompts[0].caption, "CorvalePhraseFrames");
            EXPECT_EQ(prompts[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
            check(prompts[0].text);
        }
        ADD_FAILURE() << "the action never ran without failing";
        return failures;
    }
};

} // namespace

TEST_F(MemoryTest, LoadingThatRunsOutOfMemoryKeepsTheShownFile)
{
    const std::string first = writeFile("first-Freq-phraseFrames.txt", twoFrameFile);
    const std::string next = writeFile("next-Alpha-phraseFrames.txt", fourFrameFile);
    chosenFile = first;
    openBrowser("");
    ASSERT_EQ(frameCount, 2);
    const Snapshot before = snapshot();
    const std::string status = controlText(statusLabelId);

    chosenFile = next;
    int failures = failEachAllocation([] { command(openCommandId); }, [&](const std::string& box) {
        if (box == noMemoryToShow) {
            // The data was replaced; only the pane could not be filled.
            EXPECT_EQ(frameCount, 4);
            EXPECT_EQ(loadedFileName, "next-Alpha-phraseFrames.txt");
            EXPECT_EQ(fileIsFreqOrder, 0);
            // Back to the first file for the next run.
            chosenFile = first;
            command(openCommandId);
            chosenFile = next;
        } else {
            EXPECT_TRUE(box == noMemoryToOpen ||
                        box == "There is not enough memory to load\r\n" + next +
                                   "\r\n\r\nThe file shown before stays loaded.")
                << box;
            EXPECT_TRUE(snapshot() == before);
            EXPECT_EQ(controlText(statusLabelId), status);
            EXPECT_EQ(SendDlgItemMessageA(mainWindow, freqButtonId, BM_GETCHECK, 0, 0), BST_CHECKED);
        }
    });
    EXPECT_GT(failures, 5);
}

TEST_F(MemoryTest, SortingThatRunsOutOfMemoryKeepsTheOrder)
{
    openBrowser(writeFile("four.txt", fourFrameFile));
    for (int column : {2, 3}) {
        SCOPED_TRACE(column);
        Snapshot before = snapshot();
        int failures = failEachAllocation([&] { clickHeading(column); }, [&](const std::string& box) {
            if (box == noMemoryToSort) {
                EXPECT_TRUE(snapshot() == before);
            } else {
                EXPECT_EQ(box, noMemoryToShow);
                EXPECT_NE(sortDescription, before.sortDescription);
            }
            before = snapshot();
        });
        EXPECT_GT(failures, 1);
    }
}

TEST_F(MemoryTest, ShowingReorderingCopyingAndSearchingThatRunOutOfMemoryEndTheActionOnly)
{
    openBrowser(writeFile("four.txt", fourFrameFile));
    const Snapshot before = snapshot();

    failEachAllocation([] { selectListRow(3); selectListRow(1); },
                       [](const std::string& box) { EXPECT_EQ(box, noMemoryToShow); });
    failEachAllocation([] { clickButton(alphaButtonId); },
                       [](const std::string& box) { EXPECT_EQ(box, noMemoryToReorder); });
    selectListRow(1);
    putOnClipboard("before");
    failEachAllocation([] { clickButton(copyFrameButtonId); }, [](const std::string& box) {
        EXPECT_EQ(box, noMemoryToCopy);
        EXPECT_EQ(clipboardText(), "before");
    });
    putOnClipboard("before");
    failEachAllocation([] { clickButton(copyAllButtonId); }, [](const std::string& box) {
        EXPECT_EQ(box, noMemoryToCopy);
        EXPECT_EQ(clipboardText(), "before");
    });
    EXPECT_TRUE(snapshot() == before);

    command(findCommandId);
    ASSERT_TRUE(findWindow);
    failEachAllocation(
        [] {
            selectListRow(1);
            SetWindowTextA(GetDlgItem(findWindow, 410), "one");
            SendMessageA(GetDlgItem(findWindow, 410), WM_CHAR, 13, 1);
        },
        [](const std::string& box) { EXPECT_TRUE(box == noMemoryToSearch || box == noMemoryToShow) << box; });
    EXPECT_EQ(selectedIndex, 3);
    EXPECT_TRUE(snapshot() == before);
}

// A frame with a line longer than the pane is handed: the pane shows the
// lines around it and its beginning, the label says it was cut; Find and the
// copy work on the whole record.
TEST_F(MemoryTest, LongLineIsShownInPartAndFoundAndCopiedWhole)
{
    const std::string longLine = std::string(5 * paneLineBound, 'v') + " needle\t2";
    const std::string variants = "a\t1\r\n" + longLine + "\r\nc\t3";
    const std::string record = "big *\t9\t3\r\n" + variants;
    openBrowser(writeFile("big.txt", "small *\t1\t1\r\ns\t1\r\n\r\n" + record + "\r\n"));
    selectListRow(2);
    // By frequency (neither button is on), the whole frame ordered first.
    EXPECT_EQ(paneText(), "c\t3\r\n" + longLine.substr(0, paneLineBound) + "\r\na\t1");
    EXPECT_EQ(controlText(frameInfoLabelId), "big *:  rank 2, frequency 9, variants 3  (1 variant cut at 1,000 bytes)");

    selectListRow(1);
    command(findCommandId);
    SetWindowTextA(GetDlgItem(findWindow, 410), "needle");
    SendMessageA(GetDlgItem(findWindow, 410), WM_CHAR, 13, 1);
    pumpMessages();
    EXPECT_EQ(selectedIndex, 2);
    EXPECT_TRUE(prompts.empty());

    clickButton(copyFrameButtonId);
    EXPECT_EQ(clipboardText(), record + "\r\n\r\n");
}
