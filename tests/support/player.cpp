#include "support/player.h"

#include <atomic>
#include <cstring>
#include <set>
#include <thread>

namespace {

const int kBoxTextId = 0xFFFF;    // the platform's ids of a message box's text and icon
const int kBoxIconId = 0x0440;
const UINT kRunWork = WM_APP + 0x3A1;

BOOL CALLBACK CollectDialog(HWND window, LPARAM param)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && strcmp(name, "#32770") == 0)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleDialogs()
{
    std::vector<HWND> dialogs;
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

std::string Describe(HWND window)
{
    HWND text = GetDlgItem(window, kBoxTextId);
    if (!text)
        return WindowText(window);
    HWND icon = GetDlgItem(window, kBoxIconId);
    bool hasIcon = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0);
    return (hasIcon ? "!" : "") + WindowText(window) + ": " + WindowText(text);
}

// Presses a visible button of this id; false when there is none.
bool Press(HWND window, int id)
{
    HWND button = GetDlgItem(window, id);
    if (!button || !IsWindowVisible(button))
        return false;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

// Carries out one answer; false when the window lacks what it asks for.
bool Carry(HWND window, const Answer& answer)
{
    const std::string& button = answer.button;
    if (answer.act)
        answer.act(window);
    else if (button == "Close")
        PostMessageA(window, WM_CLOSE, 0, 0);
    else if (button[0] == '=') {
        HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);
        if (!edit)
            return false;
        SetWindowTextA(edit, button.c_str() + 1);
        return Press(window, IDOK);
    } else {
        const char* names[] = {"", "OK", "Cancel", "", "", "", "Yes", "No"};
        for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
            if (button == names[id])
                return Press(window, id);
        return false;
    }
    return true;
}

struct Shown {
    DLGPROC proc;
    HWND dialog;
} shown;

INT_PTR CALLBACK ForwardingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return TRUE;
    }
    if (message == WM_INITDIALOG)
        shown.dialog = dialog;
    return shown.proc(dialog, message, wParam, lParam);
}

}  // namespace

Seen Play(const Script& script, const std::function<void()>& action)
{
    std::vector<HWND> before = VisibleDialogs();
    std::set<HWND> skip(before.begin(), before.end());
    std::atomic<bool> done(false);
    Seen seen;
    std::thread player([&]() {
        for (size_t next = 0; !done; Sleep(5)) {
            for (HWND window : VisibleDialogs()) {
                if (!skip.insert(window).second)
                    continue;
                seen.push_back(Describe(window));
                if (next >= script.size() || !Carry(window, script[next])) {
                    seen.back() += " (unanswered)";
                    if (!Press(window, IDCANCEL) && !Press(window, IDNO) && !Press(window, IDOK))
                        PostMessageA(window, WM_CLOSE, 0, 0);
                }
                ++next;
                for (int i = 0; i < 500 && IsWindowVisible(window) && !done; ++i)
                    Sleep(10);
                break;
            }
        }
    });
    action();
    done = true;
    player.join();
    return seen;
}

INT_PTR ShowDialog(int id, DLGPROC proc, const std::function<void(HWND)>& drive)
{
    shown = {proc, nullptr};
    std::atomic<bool> ended(false);
    std::thread driver([&]() {
        while (!ended && !(shown.dialog && IsWindowVisible(shown.dialog)))
            Sleep(5);
        if (ended)
            return;
        drive(shown.dialog);
        PostMessageA(shown.dialog, WM_CLOSE, 0, 0);
    });
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr,
                                     ForwardingProc, 0);
    ended = true;
    driver.join();
    return result;
}

void Click(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void OnDialogThread(HWND dialog, const std::function<void()>& work)
{
    SendMessageA(dialog, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

std::string WindowText(HWND window)
{
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FindDialog(const char* caption)
{
    for (int i = 0; i < 500; Sleep(10), ++i)
        for (HWND window : VisibleDialogs())
            if (WindowText(window) == caption)
                return window;
    return nullptr;
}
