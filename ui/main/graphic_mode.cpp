#include "ui/main/graphic_mode.h"

#include "app/app_state.h"
#include "ui/main/main_controls.h"

namespace {

// The caption and the system menu; WS_CAPTION includes the border, so the
// skinned window loses the template's border with them.
const LONG kFrameStyles = WS_CAPTION | WS_SYSMENU;
const UINT kFrameChangeFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;

const int kSkinWidth = 490;
const int kSkinHeight = 484;
const COLORREF kListBackground = RGB(192, 0, 0);

// The skin's look is laid out for this font resolution.
const WORD kDefaultLogPixels = 96;

const char kHintCaption[] = "Important hint!";
const char kHintUnknownResolution[] =
    "If the dialog seems to be screwed up, right-click anywhere on it\n"
    "and select \"Toggle Graphic Mode\" to turn off the graphical interface";
const char kHintOtherResolution[] =
    "You are not using the default font resolution. This will cause the\n"
    "app to look screwed up in graphical mode. Therefore you are defaulted\n"
    "to non graphical mode. To turn on the graphics, right click on the dialog\n"
    "and select \"Toggle Graphic Mode\".";

void ChangeFrameStyles(HWND dialog, bool present)
{
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    style = present ? (style | kFrameStyles) : (style & ~kFrameStyles);
    SetWindowLongA(dialog, GWL_STYLE, style);
    // The frame is recomputed only when the window is told it changed.
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, kFrameChangeFlags);
}

// The cross of the skin: a horizontal and a vertical arm.
HRGN CreateCrossRegion()
{
    HRGN cross = CreateRectRgn(0, 79, 489, 322);
    HRGN vertical = CreateRectRgn(87, 0, 402, 483);
    CombineRgn(cross, cross, vertical, RGN_OR);
    DeleteObject(vertical);
    return cross;
}

void ShowHint(const char* text)
{
    MessageBoxA(nullptr, text, kHintCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

void SetGraphicMode(HWND dialog, BYTE on)
{
    if (on) {
        appState.graphicMode = 1;
        SetControlFonts(dialog, appState.mainFont);
        ChangeFrameStyles(dialog, false);
        // The window owns the region from here and frees it when replaced.
        SetWindowRgn(dialog, CreateCrossRegion(), TRUE);
    } else {
        appState.graphicMode = 0;
        SetControlFonts(dialog, nullptr);
        ChangeFrameStyles(dialog, true);
        SetWindowRgn(dialog, nullptr, TRUE);
    }
    InvalidateRect(dialog, nullptr, TRUE);
}

BOOL PaintSkin(HWND dialog)
{
    if (!GetUpdateRect(dialog, nullptr, FALSE))
        return FALSE;
    if (!appState.graphicMode)
        return FALSE;
    PAINTSTRUCT paint;
    HDC target = BeginPaint(dialog, &paint);
    HDC skin = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(skin, appState.skinBitmap);
    // The whole picture every time: it is small, and the region hides what
    // lies outside the cross.
    StretchBlt(target, 0, 0, kSkinWidth, kSkinHeight, skin, 0, 0, kSkinWidth, kSkinHeight, SRCCOPY);
    SelectObject(skin, previous);
    DeleteDC(skin);
    EndPaint(dialog, &paint);
    return TRUE;
}

HBRUSH ColorListBox(HDC listDc)
{
    if (!appState.graphicMode)
        return nullptr;
    SetBkColor(listDc, kListBackground);
    return appState.listBrush;
}

void ApplyFontResolutionRule()
{
    ApplyFontResolutionRuleAt(DisplayLogPixels());
}

void ApplyFontResolutionRuleAt(WORD logPixels)
{
    // Only the first start decides; later starts keep the stored choice.
    if (appState.firstRun != 1)
        return;
    if (logPixels == 0) {
        ShowHint(kHintUnknownResolution);
        return;
    }
    if (logPixels != kDefaultLogPixels && appState.graphicMode == 1) {
        ShowHint(kHintOtherResolution);
        appState.graphicMode = 0;
    }
}

WORD DisplayLogPixels()
{
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return mode.dmLogPixels;
}
