#include "support/support.h"

#include <process.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <set>
#include <thread>

namespace {

const UINT kRunWork = WM_APP + 0x3A1;

// The first visible dialog window of any process that is not yet in `known`, which it joins.
HWND NewDialog(std::set<HWND>& known)
{
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));)
        if (IsWindowVisible(window) && known.insert(window).second)
            return window;
    return nullptr;
}

std::string Describe(HWND window)
{
    HWND text = GetDlgItem(window, 0xFFFF), icon = GetDlgItem(window, 0x0440);   // a box's
    if (!text) return WindowText(window);
    bool hasIcon = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0);
    return (hasIcon ? "!" : "") + WindowText(window) + ": " + WindowText(text);
}

// Presses a visible button of this id; false when there is none.
bool Press(HWND window, int id)
{
    HWND button = GetDlgItem(window, id);
    if (!button || !IsWindowVisible(button)) return false;
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(button));
}

// Carries out one answer; false when the window lacks what it asks for.
bool Carry(HWND window, const Answer& answer)
{
    const std::string& button = answer.button;
    if (answer.act) return answer.act(window), true;
    if (button == "Close") return PostMessageA(window, WM_CLOSE, 0, 0);
    if (button[0] == '=')
        return SetWindowTextA(FindWindowExA(window, nullptr, "Edit", nullptr), button.c_str() + 1)
               && Press(window, IDOK);
    return Press(window, button == "Yes" ? IDYES : button == "No" ? IDNO
                         : button == "OK" ? IDOK : button == "Cancel" ? IDCANCEL : 0);
}

INT_PTR CALLBACK ForwardingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunWork)
        return (*reinterpret_cast<const std::function<void()>*>(lParam))(), TRUE;
    return MainDialogProc(dialog, message, wParam, lParam);
}

}  // namespace

Seen Play(const Script& script, const std::function<void()>& action)
{
    std::set<HWND> known;
    while (NewDialog(known)) {}   // those showing already
    std::atomic<bool> done(false);
    Seen seen;
    std::thread player([&]() {
        for (size_t next = 0; !done; Sleep(5))
            if (HWND window = NewDialog(known)) {
                seen.push_back(Describe(window));
                if (next >= script.size() || !Carry(window, script[next++])) {
                    seen.back() += " (unanswered)";
                    if (!Press(window, IDCANCEL) && !Press(window, IDNO)) Press(window, IDOK);
                    PostMessageA(window, WM_CLOSE, 0, 0);   // the prompt ignores Cancel
                }
                for (int i = 0; i < 500 && IsWindowVisible(window) && !done; ++i) Sleep(10);
                if (IsWindowVisible(window) && !done)   // the answer did not end it
                    seen.back() += " (still open)", PostMessageA(window, WM_CLOSE, 0, 0);
            }
    });
    action();
    done = true;
    player.join();
    return seen;
}

MainWindowState::MainWindowState(BYTE graphicMode)
{
    appState.instance = GetModuleHandleA(nullptr), appState.graphicMode = graphicMode;
    appState.mainFont = CreateFontA(13, 0, 0, 0, FW_DONTCARE, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                                    "Exocet");
}

MainWindowState::~MainWindowState()
{
    DeleteObject(appState.mainFont), ReleaseStore();
    appState = AppState();
}

CharacterEntry* AddCharacter(const char* name, DWORD slotMask)
{
    CharacterEntry* entry = static_cast<CharacterEntry*>(calloc(1, sizeof(CharacterEntry)));
    strncpy(entry->name, name, sizeof entry->name - 1);
    entry->slotMask = slotMask;
    CharacterEntry** tail = &appState.characters;
    while (*tail) tail = &(*tail)->next;
    return *tail = entry;
}

INT_PTR ShowMainDialog(const std::function<void(HWND)>& drive)
{
    INT_PTR result = 0;   // the dialog is the player's one window to answer
    Play({Answer([&](HWND dialog) { drive(dialog), PostMessageA(dialog, WM_CLOSE, 0, 0); })}, [&] {
        result = DialogBoxParamA(appState.instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                 ForwardingProc, 0);
    });
    return result;
}

void Click(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

void Select(HWND dialog, int index)
{
    HWND list = GetDlgItem(dialog, IDC_CHARACTER_LIST);
    for (int i = 0; i <= index; ++i) SendMessageA(list, WM_KEYDOWN, i ? VK_DOWN : VK_HOME, 0);
}

void OnDialogThread(HWND dialog, const std::function<void()>& work)
{
    SendMessageA(dialog, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

std::string WindowText(HWND window)
{
    char text[4096];
    return std::string(text, GetWindowTextA(window, text, sizeof text));
}

int FirstRowWith(HWND window, COLORREF colour, int count)
{
    RECT client = {};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int at = 0, end = client.right * client.bottom;
    while (at < end && (GetPixel(dc, at % client.right, at / client.right) != colour || --count))
        ++at;
    ReleaseDC(window, dc);
    return at < end ? at / client.right : -1;
}

int HandlesLeakedBy(const std::function<void()>& work)
{
    auto reach = [] {   // of a few thousand new ones, which fill the freed slots, then go beyond
        std::vector<std::array<UINT_PTR, 3>> made(3000);
        std::array<int, 3> top = {};
        for (auto& m : made) {
            m = {UINT_PTR(CreateEventA(0, 0, 0, 0)), UINT_PTR(CreateSolidBrush(0)),
                 UINT_PTR(CreatePopupMenu())};
            for (int i = 0; i < 3; ++i) top[i] = std::max(top[i], int(m[i] & 0xFFFF));
        }
        for (auto& m : made)
            CloseHandle(HANDLE(m[0])), DeleteObject(HGDIOBJ(m[1])), DestroyMenu(HMENU(m[2]));
        return top;
    };
    std::array<int, 3> before = reach(), after = (work(), reach());
    return std::max({after[0] - before[0], after[1] - before[1], after[2] - before[2]});
}

DWORD RunSlotkeeper()
{
    std::string program = _pgmptr;   // this test program's path
    program = program.substr(0, program.rfind('\\') + 1) + "slotkeeper.exe";
    HANDLE run = HANDLE(_spawnl(_P_NOWAIT, program.c_str(), program.c_str(), nullptr));
    DWORD code = 259;
    if (WaitForSingleObject(run, 15000) != WAIT_OBJECT_0)   // a box that nobody can answer
        TerminateProcess(run, code);
    GetExitCodeProcess(run, &code), CloseHandle(run);
    return code;
}
