// Runs a modal dialog of the program on the test's thread, as the program
// does, while a helper thread plays the user. Header only, so any test can
// use it without a change to the build.
#pragma once

#include <windows.h>

#include <functional>
#include <thread>

#include "support/ui_driver.h"

namespace dialog_runner_detail {

// Messages no dialog of the program uses.
const UINT kRunWork = WM_APP + 0x3A1;
const UINT kSignal = WM_APP + 0x3A2;

inline DLGPROC innerProc;

inline INT_PTR CALLBACK ForwardingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return TRUE;
    }
    if (message == kSignal) {
        SetEvent(reinterpret_cast<HANDLE>(lParam));
        return TRUE;
    }
    return innerProc(dialog, message, wParam, lParam);
}

}  // namespace dialog_runner_detail

// Shows the template with DialogBoxParamA (no owner, init parameter 0) and
// the program's own dialog procedure. Once the visible dialog with `caption`
// appears, `drive` runs on a helper thread with its handle; if the dialog is
// still open afterwards it is sent WM_CLOSE. Returns what DialogBoxParamA
// returned. Every message reaches `proc` unchanged; the runner only adds the
// two below.
inline INT_PTR RunDialog(int templateId, DLGPROC proc, const char* caption,
                         const std::function<void(HWND)>& drive)
{
    dialog_runner_detail::innerProc = proc;
    std::thread helper([caption, &drive]() {
        HWND dialog = WaitForWindow("#32770", caption, 10000);
        if (!dialog)
            return;
        drive(dialog);
        if (IsWindow(dialog))
            PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                     nullptr, dialog_runner_detail::ForwardingProc, 0);
    // Without a dialog the helper gives up after its timeout.
    helper.join();
    dialog_runner_detail::innerProc = nullptr;
    return result;
}

// Runs `work` on the dialog's own thread, inside its message loop, and
// returns when it is done: for calls that must be made there (painting,
// direct calls of the dialog procedure).
inline void RunOnDialogThread(HWND dialog, const std::function<void()>& work)
{
    SendMessageA(dialog, dialog_runner_detail::kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

// Waits until the dialog's thread has handled everything posted to the
// dialog so far: posted messages are taken in order. Not while a menu or a
// message box of the dialog's thread is open.
inline void SyncWithDialog(HWND dialog)
{
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (PostMessageA(dialog, dialog_runner_detail::kSignal, 0, reinterpret_cast<LPARAM>(done)))
        WaitForSingleObject(done, 5000);
    CloseHandle(done);
}
