// The whole life of the process. The command line is not read: the tool
// takes no arguments.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_state.h"
#include "app/save_path.h"
#include "app/startup.h"

namespace {

const int kFailedStart = -1;

bool InitializeControls()
{
    // ICC_BAR_CLASSES holds the tooltip class of the main dialog.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/)
{
    appState.instance = instance;
    if (!InstallSkinFont()) {
        ShowStartupError(FONT_ERROR_TEXT);
        return kFailedStart;
    }
    // S_FALSE would mean someone else initialised COM here first: not ours.
    if (CoInitialize(nullptr) != S_OK) {
        ShowStartupError(COM_ERROR_TEXT);
        return kFailedStart;
    }
    if (!InitializeControls()) {
        ShowStartupError(CONTROLS_ERROR_TEXT);
        return kFailedStart;
    }
    // A refused save path skips the main dialog; the font stays registered
    // and its file is reused by the next start.
    if (DiscoverSavePath())
        RunMainDialog();
    CoUninitialize();
    return 0;
}
