#include "browser_fixture.h"

#include "browser/filechoice.h"
#include "browser/loader.h"

namespace {

const char selectFirst[] = "Please select a phrase frame to copy, then click the \"Copy...\" button.";
const char loadFirst[] = "Please load a phrase-frame file, then click the \"Copy...\" button.";
const char clipboardBusy[] = "The clipboard is in use by another program, so nothing was copied. Please try again.";

// Holds the clipboard open from a window of its own thread until released, or
// for holdFor milliseconds.
struct ClipboardHolder {
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    bool held = false;
    DWORD holdFor;

    static DWORD WINAPI run(void* self)
    {
        auto* holder = static_cast<ClipboardHolder*>(self);
        HWND window = CreateWindowExA(0, "STATIC", "holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        holder->held = OpenClipboard(window) != FALSE;
        SetEvent(holder->opened);
        WaitForSingleObject(holder->release, holder->holdFor);
        if (holder->held)
            CloseClipboard();
        DestroyWindow(window);
        return 0;
    }

    explicit ClipboardHolder(DWORD milliseconds = 10000) : holdFor(milliseconds)
    {
        thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
        WaitForSingleObject(opened, 10000);
    }
    ~ClipboardHolder()
    {
        SetEvent(release);
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        CloseHandle(opened);
        CloseHandle(release);
    }
};

} // namespace

TEST_F(BrowserTest, CopyButtonsPutTheFrameAndTheSortedListOnTheClipboard)
{
    chosenFile = writeFile("corpus-Freq-phraseFrames.txt", twoFrameFile);
    openBrowser(""); // the Open command names the file in the copy
    DeleteFileW(settingsPath().c_str());
    ASSERT_EQ(frameCount, 2);

    selectListRow(2);
    clickButton(copyFrameButtonId);
    EXPECT_EQ(clipboardText(), "B\tg\t2\r\nb1\t3\r\nb2\t1\r\n\r\n");

    clickHeading(1);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(copyAllButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, copyAllButtonId)));
    pumpMessages();
    EXPECT_EQ(clipboardText(),
              "corpus-Freq-phraseFrames.txt, 2 phrase-frames,\r\n"
              "sorted by frequency rank in descending order\r\n\r\n"
              "B\tg\t2\r\nb1\t3\r\nb2\t1\r\n\r\n"
              "A\tf\t1\r\na1\t5\r\n\r\n");
    EXPECT_TRUE(prompts.empty());
}

TEST_F(BrowserTest, CopyAsksFirstAndABusyClipboardIsLeftAloneAndSaid)
{
    openBrowser(writeFile("empty.txt", ""));
    putOnClipboard("before");

    clickButton(copyAllButtonId);
    clickButton(copyFrameButtonId);
    loadPhraseFrameFile(writeFile("a.txt", twoFrameFile));
    selectedIndex = 0;
    clickButton(copyFrameButtonId);
    ASSERT_EQ(prompts.size(), 3u);
    EXPECT_EQ(prompts[0].text, loadFirst);
    EXPECT_EQ(prompts[1].text, selectFirst);
    EXPECT_EQ(prompts[2].text, selectFirst);
    for (const Prompt& prompt : prompts) {
        EXPECT_EQ(prompt.caption, "CorvalePhraseFrames");
        EXPECT_EQ(prompt.style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_EQ(clipboardText(), "before");

    // Held for longer than the copy waits: the user is told that nothing was
    // copied, so the older text is not pasted in the belief that it is new.
    selectedIndex = 1;
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.held);
        clickButton(copyFrameButtonId);
        clickButton(copyAllButtonId);
    }
    ASSERT_EQ(prompts.size(), 5u);
    EXPECT_EQ(prompts[3].text, clipboardBusy);
    EXPECT_EQ(prompts[4].text, clipboardBusy);
    EXPECT_EQ(prompts[4].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(clipboardText(), "before");

    // Held for a moment only, as a clipboard viewer reading the last copy does:
    // the copy waits for it.
    {
        ClipboardHolder holder(100);
        ASSERT_TRUE(holder.held);
        clickButton(copyFrameButtonId);
    }
    EXPECT_EQ(prompts.size(), 5u);
    EXPECT_EQ(clipboardText(), "A\tf\t1\r\na1\t5\r\n\r\n");
    putOnClipboard("before");

    clickButton(copyFrameButtonId);
    EXPECT_EQ(clipboardText(), "A\tf\t1\r\na1\t5\r\n\r\n");
}

// A pasting program ends the text at a NUL: both copies hold a blank there
// and everything after it.
TEST_F(BrowserTest, CopiesShowANulAsABlankAndKeepWhatFollows)
{
    const char bytes[] = "fr\0me\t5\t2\r\na\0b\t3\r\nafter\t2\r\n";
    openBrowser(writeFile("nul-Freq-phraseFrames.txt", std::string(bytes, sizeof bytes - 1)));
    clickButton(copyFrameButtonId);
    EXPECT_EQ(clipboardText(), "fr me\t5\t2\r\na b\t3\r\nafter\t2\r\n\r\n");
    clickButton(copyAllButtonId);
    EXPECT_EQ(clipboardText(), "nul-Freq-phraseFrames.txt, 1 phrase-frames,\r\nsorted by frequency rank in descending "
                               "order\r\n\r\nfr me\t5\t2\r\na b\t3\r\nafter\t2\r\n\r\n");
}
