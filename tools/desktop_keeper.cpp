// Holds a hidden window until it is killed. Wine shuts its desktop down
// after a few idle seconds and the next window then waits ten seconds for
// the desktop to come back; the test run keeps this program alive so the
// desktop stays up between test programs.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
