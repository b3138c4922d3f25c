#include "support/player.h"

#include <atomic>
#include <cstring>
#include <set>
#include <thread>

namespace {

const int kBoxTextId = 0xFFFF;    // the platform's id of a message box's text
const int kBoxIconId = 0x0440;
const UINT kRunWork = WM_APP + 0x3A1;

bool IsDialog(HWND window, const char* caption = nullptr)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return IsWindowVisible(window) && strcmp(name, "#32770") == 0 &&
           (!caption || WindowText(window) == caption);
}

struct Search {
    const std::set<HWND>* skip;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    if (!IsDialog(window, search->caption) || search->skip->count(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND NextDialog(const std::set<HWND>& skip, const char* caption = nullptr)
{
    Search search = {&skip, caption, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM param)
{
    if (IsDialog(window))
        reinterpret_cast<std::set<HWND>*>(param)->insert(window);
    return TRUE;
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

void Press(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// The visible button of this id, or null.
HWND Button(HWND window, int id)
{
    HWND button = GetDlgItem(window, id);
    return button && IsWindowVisible(button) ? button : nullptr;
}

// Carries out one answer; false when the window lacks what it asks for.
bool Carry(HWND window, const Answer& answer)
{
    if (answer.act) {
        answer.act(window);
        return true;
    }
    const std::string& button = answer.button;
    if (button == "Close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return true;
    }
    if (!button.empty() && button[0] == '=') {
        HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);
        if (!edit)
            return false;
        SetWindowTextA(edit, button.c_str() + 1);
        Press(window, IDOK);
        return true;
    }
    const struct { const char* name; int id; } kButtons[] = {
        {"Yes", IDYES}, {"No", IDNO}, {"OK", IDOK}, {"Cancel", IDCANCEL}};
    for (const auto& known : kButtons) {
        if (button == known.name && Button(window, known.id)) {
            Press(window, known.id);
            return true;
        }
    }
    return false;
}

// Gets rid of a window nobody expected, by whatever button it has.
void Dismiss(HWND window)
{
    for (int id : {IDCANCEL, IDNO, IDOK}) {
        if (Button(window, id)) {
            Press(window, id);
            return;
        }
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
}

void WaitGone(HWND window, const std::atomic<bool>& done)
{
    for (int i = 0; i < 500 && IsWindow(window) && IsWindowVisible(window) && !done; ++i)
        Sleep(10);
}

struct Shown {
    DLGPROC proc;
    HWND dialog;
    HANDLE ready;
};
Shown shown;

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
    std::set<HWND> skip;
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&skip));
    std::atomic<bool> done(false);
    Seen seen;
    std::thread player([&]() {
        size_t next = 0;
        while (!done) {
            HWND window = NextDialog(skip);
            if (!window) {
                Sleep(5);
                continue;
            }
            skip.insert(window);
            seen.push_back(Describe(window));
            if (next >= script.size() || !Carry(window, script[next])) {
                seen.back() += " (unanswered)";
                Dismiss(window);
            }
            ++next;
            WaitGone(window, done);
        }
    });
    action();
    done = true;
    player.join();
    return seen;
}

INT_PTR ShowDialog(int id, DLGPROC proc, const std::function<void(HWND)>& drive)
{
    shown = {proc, nullptr, nullptr};
    std::atomic<bool> ended(false);
    std::thread driver([&]() {
        while (!ended && !(shown.dialog && IsWindowVisible(shown.dialog)))
            Sleep(5);
        if (ended)
            return;
        drive(shown.dialog);
        if (IsWindow(shown.dialog))
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
    std::set<HWND> none;
    for (int i = 0; i < 500; ++i) {
        if (HWND window = NextDialog(none, caption))
            return window;
        Sleep(10);
    }
    return nullptr;
}
