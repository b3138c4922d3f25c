// The description prompt, shown for real and answered as a player would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "app/app_state.h"
#include "resource.h"
#include "support/ui_driver.h"
#include "ui/dialogs/description_dialog.h"

namespace {

// Types `keys` into the prompt, '\n' as the Enter key, and presses `button`;
// a prompt still open after Cancel is closed. The block, or "<null>".
std::string Ask(const std::string& keys, int button = IDOK)
{
    appState.instance = GetModuleHandleA(nullptr);
    std::thread helper([&]() {
        HWND prompt = WaitForDialog("Please enter a description for the Backup");
        HWND edit = GetDlgItem(prompt, IDC_DESCRIPTION_EDIT);
        for (char c : keys) {
            if (c != '\n') {
                SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
                continue;
            }
            // The key must pass the prompt's own loop, which posts its line break.
            int length = GetWindowTextLengthA(edit);
            PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
            for (int tries = 0; GetWindowTextLengthA(edit) == length && tries < 500; ++tries)
                Sleep(10);
        }
        PressButton(prompt, button);
        if (button == IDCANCEL) {
            Sleep(300);
            EXPECT_TRUE(IsWindowVisible(prompt)) << "Cancel closed the prompt";
            PostMessageA(prompt, WM_CLOSE, 0, 0);
        }
    });
    char* block = AskDescription(nullptr);
    helper.join();
    std::string text = block ? block : "<null>";
    free(block);
    return text;
}

}  // namespace

TEST(DescriptionPrompt, OkGivesTheTypedLinesCutTo1023AndCancelOnlyACloseGivesNothing)
{
    const std::string text = std::string(1022, 'a') + "yz" + std::string(476, 'b');
    EXPECT_EQ(Ask(""), "");
    EXPECT_EQ(Ask("first\nsecond"), "first\r\nsecond");
    EXPECT_EQ(Ask(text), text.substr(0, 1023));
    EXPECT_EQ(Ask("kept?", IDCANCEL), "<null>");

    // A module without the template: the platform's -1 is no block address.
    appState.instance = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(AskDescription(nullptr), nullptr);
}
