// Pictures of what a window shows, for tests that check colours. Header
// only, so any test can use it without a change to the build.
#pragma once

#include <windows.h>

#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;   // row by row, top row first

    int Count(COLORREF colour) const
    {
        int count = 0;
        for (COLORREF pixel : pixels)
            count += pixel == colour;
        return count;
    }
};

// A 32-bit bitmap of the window's client size that `draw` fills, read back.
template <typename Draw>
Picture DrawIntoPicture(HWND window, Draw draw)
{
    Picture picture;
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return picture;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        draw(memory, client);
        GdiFlush();
        picture.width = client.right;
        picture.height = client.bottom;
        const DWORD* source = static_cast<const DWORD*>(bits);
        for (int i = 0; i < picture.width * picture.height; ++i)
            picture.pixels.push_back(RGB(source[i] >> 16 & 0xFF, source[i] >> 8 & 0xFF, source[i] & 0xFF));
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    return picture;
}

// What the window's client area shows on the screen right now.
inline Picture CaptureClient(HWND window)
{
    return DrawIntoPicture(window, [window](HDC memory, const RECT& client) {
        HDC screen = GetDC(window);
        BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
        ReleaseDC(window, screen);
    });
}

// What the control paints when asked to print its client area; it asks its
// dialog for colours as for a real paint.
inline Picture PrintClient(HWND window)
{
    return DrawIntoPicture(window, [window](HDC memory, const RECT&) {
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                     PRF_CLIENT | PRF_ERASEBKGND);
    });
}
