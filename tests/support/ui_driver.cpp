#include "support/ui_driver.h"

#include <cstring>

namespace {

// The id that the platform gives the text of a message box.
const int kMessageBoxTextId = 0xFFFF;
const int kMessageBoxIconId = 0x0440;

struct FindRequest {
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    FindRequest* request = reinterpret_cast<FindRequest*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    char text[512];
    if (request->className) {
        GetClassNameA(window, text, sizeof text);
        if (strcmp(text, request->className) != 0)
            return TRUE;
    }
    if (request->caption) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, request->caption) != 0)
            return TRUE;
    }
    request->found = window;
    return FALSE;
}

HWND FindVisible(const char* className, const char* caption)
{
    FindRequest request = {className, caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

}  // namespace

HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindVisible(className, caption);
        if (window)
            return window;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(10);
    }
}

HWND WaitForDialog(const char* caption, DWORD timeoutMs)
{
    return WaitForWindow("#32770", caption, timeoutMs);
}

namespace {

struct HoldingRequest {
    const char* caption;
    int controlId;
    const char* childClass;
    HWND found;
};

struct ChildSearch {
    const char* className;
    bool found;
};

BOOL CALLBACK MatchChildClass(HWND child, LPARAM param)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(param);
    char name[64];
    GetClassNameA(child, name, sizeof name);
    search->found = strcmp(name, search->className) == 0;
    return search->found ? FALSE : TRUE;
}

bool HoldsChildOfClass(HWND window, const char* childClass)
{
    ChildSearch search = {childClass, false};
    EnumChildWindows(window, MatchChildClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK MatchHoldingDialog(HWND window, LPARAM param)
{
    HoldingRequest* request = reinterpret_cast<HoldingRequest*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    char text[512];
    GetClassNameA(window, text, sizeof text);
    if (strcmp(text, "#32770") != 0)
        return TRUE;
    if (request->caption) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, request->caption) != 0)
            return TRUE;
    }
    if (request->controlId && !GetDlgItem(window, request->controlId))
        return TRUE;
    if (request->childClass && !HoldsChildOfClass(window, request->childClass))
        return TRUE;
    request->found = window;
    return FALSE;
}

HWND WaitForHoldingDialog(HoldingRequest request, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        request.found = nullptr;
        EnumWindows(MatchHoldingDialog, reinterpret_cast<LPARAM>(&request));
        if (request.found)
            return request.found;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(10);
    }
}

}  // namespace

HWND WaitForDialogWithControl(const char* caption, int controlId, DWORD timeoutMs)
{
    return WaitForHoldingDialog({caption, controlId, nullptr, nullptr}, timeoutMs);
}

HWND WaitForDialogHolding(const char* childClass, DWORD timeoutMs)
{
    return WaitForHoldingDialog({nullptr, 0, childClass, nullptr}, timeoutMs);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

BoxSeen ReadMessageBox(HWND box)
{
    BoxSeen seen = {false, std::string(), std::string(), false, false};
    if (!box)
        return seen;
    seen.found = true;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, kMessageBoxTextId));
    HWND icon = GetDlgItem(box, kMessageBoxIconId);
    seen.hasIcon = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    HWND yes = GetDlgItem(box, IDYES);
    HWND no = GetDlgItem(box, IDNO);
    seen.yesNo = yes && no && IsWindowVisible(yes) && IsWindowVisible(no);
    return seen;
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::future<BoxSeen> AnswerMessageBox(const char* caption, int button, DWORD timeoutMs)
{
    std::string wanted = caption;
    return std::async(std::launch::async, [wanted, button, timeoutMs]() {
        HWND box = WaitForDialog(wanted.c_str(), timeoutMs);
        BoxSeen seen = ReadMessageBox(box);
        if (box) {
            PressButton(box, button);
            DWORD start = GetTickCount();
            while (IsWindow(box) && GetTickCount() - start < timeoutMs)
                Sleep(10);
        }
        return seen;
    });
}

namespace {

BOOL CALLBACK CloseOwnDialog(HWND window, LPARAM)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64];
    GetClassNameA(window, name, sizeof name);
    if (process == GetCurrentProcessId() && strcmp(name, "#32770") == 0 && IsWindowVisible(window))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void CloseStrayDialogs()
{
    EnumWindows(CloseOwnDialog, 0);
}
