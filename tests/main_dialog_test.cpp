// The main dialog while a slot command waits for an answer. Its questions have no owner, so the
// window stays usable: another slot command meanwhile is ignored, a way out waits for its end.
// First, Save without a selection, Enter and Escape change nothing; "Amy", found second, is first.
#include "support/support.h"

TEST(MainDialog, OneSlotCommandRunsAtATimeAndAClosingWaitsForIt)
{
    const UINT cmd = WM_COMMAND, save = IDC_SAVE_SLOT1;
    struct { int first; std::vector<std::pair<UINT, WPARAM>> meanwhile; bool atPrompt; } rows[] = {
        {save, {{cmd, IDC_DELETE_SLOT1}, {cmd, IDC_SAVE_SLOT2}, {cmd, IDC_LOAD_SLOT1}}, 0},
        {save, {{cmd, IDC_EXIT}}, 0}, {save, {{WM_CONTEXTMENU, 0}}, 0}, {save, {{WM_CLOSE, 0}}, 0},
        {save, {{WM_CLOSE, 0}}, 1}, {save, {{WM_SYSCOMMAND, SC_CLOSE}}, 0},   // the last: Alt+F4
        {IDC_LOAD_SLOT1, {{cmd, IDC_SAVE_SLOT2}, {cmd, IDC_DELETE_SLOT1}, {cmd, IDC_EXIT}}, 0}};
    for (const auto& row : rows) {
        SavePath disk({"Amy\\1\\Amy.d2s=old", "Amy.d2s=new"});
        MainWindowState state(0);
        AddCharacter("Zed"), AddCharacter("Amy", 1), AddCharacter("Bob");
        int meddled = 0;
        ShowMainDialog([&](HWND dialog) {
            Answer answer([&](HWND window) {   // Yes to a question, "busy" to the prompt
                bool prompt = GetDlgItem(window, IDC_DESCRIPTION_EDIT) != nullptr;
                if (prompt == row.atPrompt && !meddled++)
                    OnDialogThread(dialog, [&] {   // as from elsewhere, handled before it returns
                        for (auto [message, wParam] : row.meanwhile) {
                            if (message == WM_CONTEXTMENU)   // the menu finds "&Close" typed
                                PostMessageA(dialog, WM_CHAR, 'C', 1);
                            SendMessageA(dialog, message, wParam, -1);   // the menu at 65535, 65535
                        }
                    });
                EXPECT_TRUE(IsWindowVisible(dialog)) << "ended under the command " << &row - rows;
                SetDlgItemTextA(window, IDC_DESCRIPTION_EDIT, "busy");
                PostMessageA(window, WM_COMMAND, prompt ? IDOK : IDYES, 0);
            });
            EXPECT_EQ(Play(Script(3, answer), [&] {
                Click(dialog, IDC_SAVE_SLOT1), Click(dialog, IDOK), Click(dialog, IDCANCEL);
                Select(dialog, 0), Click(dialog, row.first);
            }).size(), row.first == save ? 2u : 1u) << "row " << &row - rows;
            EXPECT_EQ(IsWindowVisible(dialog), &row == rows) << "all but the first row close";
        });
    }
}
