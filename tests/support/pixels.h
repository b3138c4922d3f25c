// What a window shows, for tests that check colours and tips.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;   // row by row, top row first
};

// The window's client area as the screen shows it now, copied at once.
inline Picture CaptureClient(HWND window)
{
    Picture picture;
    RECT client = {};
    GetClientRect(window, &client);
    picture.width = client.right;
    picture.height = client.bottom;
    BITMAPINFO info = {{sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0,
                        0, 0, 0}, {}};
    DWORD* bits = nullptr;
    HDC screen = GetDC(window), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS,
                                      reinterpret_cast<void**>(&bits), nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    GdiFlush();
    for (int i = 0; bits && i < client.right * client.bottom; ++i)   // 0x00RRGGBB
        picture.pixels.push_back(RGB(bits[i] >> 16 & 0xFF, bits[i] >> 8 & 0xFF, bits[i] & 0xFF));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return picture;
}

// The row of the window's client area by which `count` pixels have shown
// `colour`, reading from the top, or -1.
inline int FirstRowWith(HWND window, COLORREF colour, int count = 1)
{
    Picture shown = CaptureClient(window);
    for (size_t i = 0; i < shown.pixels.size(); ++i)
        if (shown.pixels[i] == colour && --count == 0)
            return static_cast<int>(i) / shown.width;
    return -1;
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
