// The prompt seam's text mode, which the Linux scripts use so that no box
// waits on a display no one sees.
#include "common/win/prompts.h"

#include <gtest/gtest.h>

TEST(PromptsToStandardError, TheDefaultButtonAnswers)
{
    EXPECT_EQ(defaultButtonOf(MB_OK), IDOK);
    EXPECT_EQ(defaultButtonOf(MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(defaultButtonOf(MB_OKCANCEL), IDOK);
    EXPECT_EQ(defaultButtonOf(MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING), IDCANCEL);
    EXPECT_EQ(defaultButtonOf(MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(defaultButtonOf(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    EXPECT_EQ(defaultButtonOf(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
    EXPECT_EQ(defaultButtonOf(MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(defaultButtonOf(MB_CANCELTRYCONTINUE | MB_DEFBUTTON3), IDCONTINUE);
    // A default button beyond the box's buttons falls back to the first, as
    // the system's box does.
    EXPECT_EQ(defaultButtonOf(MB_YESNO | MB_DEFBUTTON3), IDYES);
}

TEST(PromptsToStandardError, TheBoxAsText)
{
    EXPECT_EQ(messageBoxAsText("These files were skipped:\r\n\r\nro.txt: read-only\rx", "CorvaleStopwords", IDOK),
              "[CorvaleStopwords]\nThese files were skipped:\n\nro.txt: read-only\nx\n(answered OK)\n\n");
    EXPECT_EQ(messageBoxAsText("", "t", IDCANCEL), "[t]\n\n(answered Cancel)\n\n");
}

// With the variable set, no box is shown: the call returns at once with the
// default button (a shown box would wait here until the test's time ran out).
TEST(PromptsToStandardError, NoBoxIsShownWithTheVariableSet)
{
    SetEnvironmentVariableA("CORVALE_PROMPTS_TO_STDERR", "1");
    int answer = showMessageBox(nullptr, "Load it anyway?", "CorvalePhraseFrames", MB_OKCANCEL | MB_DEFBUTTON2);
    SetEnvironmentVariableA("CORVALE_PROMPTS_TO_STDERR", nullptr);
    EXPECT_EQ(answer, IDCANCEL);
}
