// What windows show, for tests that read colours and tips off the screen.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// The row of the window's client area by which `count` pixels have shown
// `colour` on the screen, reading from the top, or -1.
inline int FirstRowWith(HWND window, COLORREF colour, int count = 1)
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

// The fixed text that a tooltip holds for a dialog's control.
inline std::string TipText(HWND tooltip, HWND dialog, int id)
{
    char text[80] = "";
    TOOLINFOA tool = {TTTOOLINFOA_V1_SIZE, 0, dialog, UINT_PTR(GetDlgItem(dialog, id)), {},
                      nullptr, text, 0, nullptr};
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}
