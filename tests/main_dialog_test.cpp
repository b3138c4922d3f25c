// The main dialog while a slot command waits for an answer. Its questions have no owner, so the
// window stays usable: another slot command meanwhile is ignored, a way out waits for its end.
// First, Load and X are off, and Save without a selection, Enter and Escape change nothing;
// "Amy", found second, is listed first.
#include "support/support.h"

TEST(MainDialog, OneSlotCommandRunsAtATimeAndAClosingWaitsForIt)
{
    const UINT cmd = WM_COMMAND, save = 1002, load = 1009;   // Save and Load Slot 1
    const Seen saved = {"Are you sure?: Do you really want to overwrite this slot?",
                        "Please enter a description for the Backup"};
    const Seen loaded = {"Are you sure?: Do you really want to restore and overwrite your "
                         "current game?"};
    struct { int first; std::vector<std::pair<UINT, WPARAM>> meanwhile; bool atPrompt; } rows[] = {
        {save, {{cmd, 1012}, {cmd, 1003}, {cmd, load}}, 0},   // X 1, Save 2, Load 1
        {save, {{cmd, IDC_EXIT}}, 0}, {save, {{WM_CONTEXTMENU, 0}, {WM_CHAR, 'C'}}, 0},   // &Close
        {save, {{WM_CLOSE, 0}}, 0},
        {save, {{WM_CLOSE, 0}}, 1}, {save, {{WM_SYSCOMMAND, SC_CLOSE}}, 0},   // the last: Alt+F4
        {load, {{cmd, 1003}, {cmd, 1012}, {cmd, IDC_EXIT}}, 0}};
    for (const auto& row : rows) {
        SavePath disk({"Amy\\1\\Amy.d2s=old", "Amy.d2s=new"});
        MainWindowState state(0);
        AddCharacter("Zed"), AddCharacter("Amy", 1), AddCharacter("Bob");
        int meddled = 0;
        ShowMainDialog([&](HWND dialog) {
            Answer answer([&](HWND window) {   // Yes to a question, "busy" to the prompt
                bool prompt = GetDlgItem(window, IDC_DESCRIPTION_EDIT) != nullptr;
                if (prompt == row.atPrompt && !meddled++)   // as from elsewhere, and first
                    for (auto [message, wParam] : row.meanwhile)   // a menu at 65535, 65535
                        PostMessageA(dialog, message, wParam, -1);
                EXPECT_TRUE(IsWindowVisible(dialog)) << "ended under the command " << &row - rows;
                SetDlgItemTextA(window, IDC_DESCRIPTION_EDIT, "busy");
                PostMessageA(window, WM_COMMAND, prompt ? IDOK : IDYES, 0);
            });
            int on = 0;   // Load and X buttons enabled before a selection
            for (int id : {1009, 1010, 1011, 1013, 1014, 1012, 1018, 1019, 1020, 1021})
                on += IsWindowEnabled(GetDlgItem(dialog, id));
            EXPECT_EQ(Play(Script(3, answer), [&] {
                Click(dialog, save), Click(dialog, IDOK), Click(dialog, IDCANCEL);
                Select(dialog, 0), Click(dialog, row.first);
            }), row.first == save ? saved : loaded) << "row " << &row - rows << ", " << on << " on";
            EXPECT_EQ(on, 0);
            EXPECT_EQ(IsWindowVisible(dialog), &row == rows) << "all but the first row close";
        });
        EXPECT_EQ(disk.Tree(), row.first == save ? "Amy.d2s=new, Amy\\, Amy\\1\\, "
                  "Amy\\1\\Amy.d2s=new, Amy\\1\\desc.txt=busy" : "Amy.d2s=old, Amy\\, Amy\\1\\, "
                  "Amy\\1\\Amy.d2s=old");
    }
}
