// The about window with the scrolling credits and the two links.
#pragma once

#include <windows.h>

#define ABOUT_MAIL_ADDRESS "slotkeeper@example.org"
#define ABOUT_MAIL_TARGET  "mailto:" ABOUT_MAIL_ADDRESS
#define ABOUT_WEB_TARGET   "https://www.example.org/slotkeeper"

#define SCROLL_INTERVAL_MS 200

// Where the credits scroll stands. A new opening starts from StartScroll().
struct ScrollState {
    int counter;  // ticks; negative during the lead-in, wraps to 0 after 350
    int phase;    // 1 and 2: the two extra ticks at the end of each line
};

// What one frame draws: the text's top relative to the top of the panel's
// drawing area, and how many lines of the credits scrolled away above it.
struct ScrollFrame {
    int topOffset;
    int linesSkipped;
};

ScrollState StartScroll();
// Moves the scroll on by one tick and tells where to draw.
ScrollFrame AdvanceScroll(ScrollState& state);

// The rest of the credits after `lines` line feeds; the empty tail when the
// text has fewer.
const char* SkipCreditLines(const char* text, int lines);

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
