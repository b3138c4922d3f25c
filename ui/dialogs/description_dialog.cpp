#include "ui/dialogs/description_dialog.h"

#include <cstdlib>

#include "app/app_state.h"
#include "resource.h"
#include "store/backup_store.h"

namespace {

// Ends the prompt with a block holding the typed text, cut to fit; the
// caller owns the block. Without memory the prompt ends as if closed.
// The analyzer loses the block in the dialog's integer result, which
// AskDescription turns back into the pointer it returns.
// NOLINTBEGIN(clang-analyzer-unix.Malloc)
void AcceptDescription(HWND dialog)
{
    char* block = static_cast<char*>(malloc(DESCRIPTION_SIZE));
    if (block) {
        block[0] = '\0';
        GetDlgItemTextA(dialog, IDC_DESCRIPTION_EDIT, block, DESCRIPTION_SIZE);
    }
    EndDialog(dialog, reinterpret_cast<INT_PTR>(block));
}
// NOLINTEND(clang-analyzer-unix.Malloc)

// Only OK counts; Cancel (Escape) leaves the prompt open.
BOOL HandleDescriptionCommand(HWND dialog, int id)
{
    if (id != IDOK)
        return FALSE;
    AcceptDescription(dialog);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK DescriptionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message) {
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return FALSE;
    case WM_COMMAND:
        return HandleDescriptionCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

char* AskDescription(HWND owner)
{
    INT_PTR result = DialogBoxParamA(appState.instance, MAKEINTRESOURCEA(IDD_DESCRIPTION), owner,
                                     DescriptionDlgProc, 0);
    // -1: the prompt could not be shown at all, which counts as closed.
    if (result == 0 || result == -1)
        return nullptr;
    return reinterpret_cast<char*>(result);
}
