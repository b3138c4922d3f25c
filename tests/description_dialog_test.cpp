// The description prompt, shown for real and answered as a player would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "resource.h"
#include "support/ui_driver.h"
#include "ui/dialogs/description_dialog.h"

namespace {

const char kPromptCaption[] = "Please enter a description for the Backup";

class DescriptionPrompt : public ::testing::Test {
protected:
    void SetUp() override { appState.instance = GetModuleHandleA(nullptr); }
    void TearDown() override
    {
        CloseStrayDialogs();
        free(block);
    }

    // Shows the prompt on this thread while `drive` works it from a helper.
    void Show(const std::function<void(HWND)>& drive)
    {
        std::thread helper([&drive]() {
            HWND prompt = WaitForDialog(kPromptCaption);
            if (prompt)
                drive(prompt);
        });
        block = AskDescription(nullptr);
        helper.join();
    }

    char* block = nullptr;
};

HWND Edit(HWND prompt)
{
    return GetDlgItem(prompt, IDC_DESCRIPTION_EDIT);
}

// Key presses as the keyboard sends them; the prompt's message loop turns
// them into characters.
void PressKey(HWND prompt, WPARAM key)
{
    PostMessageA(Edit(prompt), WM_KEYDOWN, key, 1);
    PostMessageA(Edit(prompt), WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

void Type(HWND prompt, const char* text)
{
    for (const char* c = text; *c; ++c)
        PostMessageA(Edit(prompt), WM_CHAR, static_cast<unsigned char>(*c), 1);
}

bool WaitForTextLength(HWND prompt, int length)
{
    DWORD start = GetTickCount();
    while (GetWindowTextLengthA(Edit(prompt)) != length) {
        if (GetTickCount() - start > 5000)
            return false;
        Sleep(10);
    }
    return true;
}

}  // namespace

TEST_F(DescriptionPrompt, OkWithNothingTypedGivesAnEmptyTextNotNothing)
{
    LRESULT defaultId = 0;
    Show([&defaultId](HWND prompt) {
        defaultId = SendMessageA(prompt, DM_GETDEFID, 0, 0);
        PressButton(prompt, IDOK);
    });

    EXPECT_EQ(LOWORD(defaultId), IDOK);
    EXPECT_EQ(HIWORD(defaultId), DC_HASDEFID);
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(block, "");
}

TEST_F(DescriptionPrompt, EnterStartsASecondLineInsteadOfPressingOk)
{
    std::string typed;
    Show([&typed](HWND prompt) {
        Type(prompt, "first");
        PressKey(prompt, VK_RETURN);
        // The line break arrives as a character only once the key is
        // translated, so the second line waits for it.
        WaitForTextLength(prompt, 7);
        Type(prompt, "second");
        if (WaitForTextLength(prompt, 13))
            typed = WindowText(Edit(prompt));
        PressButton(prompt, IDOK);
    });

    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(block), "first\r\nsecond");
    EXPECT_EQ(strlen(block), 13u);
    EXPECT_EQ(typed, block);
}

TEST_F(DescriptionPrompt, LongTextIsCutTo1023Characters)
{
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += static_cast<char>('a' + i % 26);
    bool allTyped = false;
    Show([&](HWND prompt) {
        Type(prompt, text.c_str());
        allTyped = WaitForTextLength(prompt, 1500);
        PressButton(prompt, IDOK);
    });

    EXPECT_TRUE(allTyped) << "the edit control took fewer than 1500 characters";
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(block), text.substr(0, 1023));
}

TEST_F(DescriptionPrompt, CancelIsIgnoredAndClosingGivesNothing)
{
    bool openAfterCancel = false;
    Show([&openAfterCancel](HWND prompt) {
        Type(prompt, "kept?");
        WaitForTextLength(prompt, 5);
        PressButton(prompt, IDCANCEL);
        Sleep(300);
        openAfterCancel = IsWindow(prompt) && IsWindowVisible(prompt);
        PostMessageA(prompt, WM_CLOSE, 0, 0);
    });

    EXPECT_TRUE(openAfterCancel);
    EXPECT_EQ(block, nullptr);
    EXPECT_TRUE(WaitForDialogGone(kPromptCaption, 1000));
}

TEST_F(DescriptionPrompt, APromptThatCannotBeShownCountsAsClosed)
{
    // A module without the template: the platform reports -1, which must not
    // be taken for the address of a description.
    appState.instance = GetModuleHandleA("kernel32.dll");
    block = AskDescription(nullptr);
    EXPECT_EQ(block, nullptr);
}
