// Start-up and shutdown: the font registration in-process, then the real program
// from its start to its exit code, with a temp directory of its own per run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/save_path.h"
#include "app/settings.h"
#include "app/startup.h"
#include "resource.h"
#include "store/game.h"
#include "support/files.h"
#include "support/pixels.h"
#include "support/program.h"
#include "support/registry.h"
#include "support/ui_driver.h"

namespace {

std::string FontResourceBytes()
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_SKIN_FONT), MAKEINTRESOURCEA(8));
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    return std::string(bytes, SizeofResource(nullptr, resource));
}

// A font of another family: the resource with its family name changed.
std::string ForeignFontBytes()
{
    std::string bytes = FontResourceBytes();
    const std::string family("\0E\0x\0o\0c\0e\0t", 12);
    for (size_t at = bytes.find(family); at != std::string::npos; at = bytes.find(family, at))
        bytes[at + 11] = 'x';
    return bytes;
}

RegValue Setting(const char* name) { return ReadValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, name); }

// The real program with a save directory holding one savegame, on a cleared registry.
class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearAllKeys();
        WriteBytes(save + "\\Amy.d2s", "x");
    }
    void TearDown() override
    {
        for (RunningProgram* run : {&program, &other})
            if (run->started)
                WaitForExit(*run, 0);
        ClearAllKeys();
        RemoveTree(temp);
        RemoveTree(save);
    }
    void Start() { ASSERT_TRUE((program = StartSlotkeeper(temp.c_str())).started); }
    std::string temp = MakeTempDir("run_tmp");
    std::string save = MakeTempDir("run_save");
    std::string fontFile = temp + "\\" TEMP_FONT_NAME;
    RunningProgram program = {};
    RunningProgram other = {};
};

// The window's lower part, below the list: four buttons that draw with the
// look's font.
std::vector<COLORREF> LowerPart(HWND main)
{
    Picture shown = CaptureClient(main);
    return std::vector<COLORREF>(shown.pixels.begin() + 320 * shown.width, shown.pixels.end());
}

// Switches a running program's window to the other look through its menu,
// and returns its lower part once it has changed.
std::vector<COLORREF> ToggleLook(HWND main)
{
    std::vector<COLORREF> before = LowerPart(main), after = before;
    PostMessageA(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main), MAKELPARAM(10, 10));
    PostMessageA(WaitForWindow("#32768", nullptr, 5000), WM_CHAR, 't', 1);
    for (DWORD t0 = GetTickCount(); after == before && GetTickCount() - t0 < 5000; Sleep(50))
        after = LowerPart(main);
    Sleep(100);   // the first change seen may be half a paint
    return LowerPart(main);
}

}  // namespace

// Only a registered font file can be removed from the registration.
TEST(FontInstallation, RegistersTheFileUntilItIsRemoved)
{
    ASSERT_TRUE(InstallSkinFont());
    std::string file = appState.tempFontPath;
    EXPECT_TRUE(RemoveFontResourceA(file.c_str()));
    ASSERT_NE(AddFontResourceA(file.c_str()), 0);
    RemoveSkinFont();
    EXPECT_FALSE(RemoveFontResourceA(file.c_str()));
    EXPECT_FALSE(FileExists(file));
}

TEST_F(ProgramRun, StoredPathLeadsStraightToTheMainWindowAndExitReleasesTheFont)
{
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, save);
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, REG_BINARY, std::string(1, '\0'));
    Start();
    // Nobody answers here: any question or warning would keep the window away.
    HWND main = WaitForDialogWithControl("Slotkeeper", IDC_EXIT, 20000);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(FileExists(fontFile));
    EXPECT_TRUE(GetFileAttributesA(fontFile.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    PressButton(main, IDC_EXIT);
    EXPECT_EQ(WaitForExit(program), 0u);
    EXPECT_FALSE(FileExists(fontFile));
    RegValue mode = Setting(GRAPHIC_MODE_VALUE);
    EXPECT_EQ(mode.type, static_cast<DWORD>(REG_NONE));   // written back at the end
    EXPECT_EQ(mode.data, std::string(1, '\0'));
    EXPECT_EQ(Setting(SAVE_PATH_VALUE).data, save);
}

TEST_F(ProgramRun, FirstRunConfirmsTheGamesPathAndStoresItAndTheGraphicMode)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, save);
    WriteBytes(fontFile, ForeignFontBytes());   // another font left there is replaced
    Start();
    BoxSeen question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDYES, 20000).get();
    BoxSeen warning = AnswerMessageBox(RUNNING_GAME_WARNING_CAPTION, IDOK).get();
    AnswerMessageBox("Important hint!", IDOK, 3000).get();   // on a display that tells no resolution
    HWND main = WaitForDialogWithControl("Slotkeeper", IDC_EXIT);
    EXPECT_EQ(question.text, save);
    EXPECT_TRUE(question.yesNo);
    EXPECT_FALSE(question.hasIcon);
    EXPECT_EQ(warning.text, RUNNING_GAME_WARNING_TEXT);
    EXPECT_TRUE(warning.hasIcon);
    ASSERT_NE(main, nullptr);
    RegValue path = Setting(SAVE_PATH_VALUE);
    EXPECT_EQ(path.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(path.data, save);   // no terminator in the data
    EXPECT_EQ(Setting(GRAPHIC_MODE_VALUE).data, "\x01");   // created before the window opened
    EXPECT_EQ(ReadBytes(fontFile), FontResourceBytes());
    PressButton(main, IDC_EXIT);
    EXPECT_EQ(WaitForExit(program), 0u);
}

TEST_F(ProgramRun, RefusingEveryPathEndsWithZeroWritesNothingAndKeepsTheFontFile)
{
    // An earlier run's file is registered again without being rewritten.
    WriteBytes(fontFile, FontResourceBytes());
    SetLastWriteTime(fontFile, 2001, 2, 3, 4, 5);
    FILETIME before = GetLastWriteFileTime(fontFile);
    SetString(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_SAVE_PATH_VALUE, save);
    Start();
    EXPECT_TRUE(AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDNO, 20000).get().found);
    HWND browser = WaitForDialogHolding("SysTreeView32");
    ASSERT_NE(browser, nullptr);
    PressButton(browser, IDCANCEL);
    EXPECT_TRUE(AnswerMessageBox(QUIT_QUESTION_CAPTION, IDYES).get().found);
    EXPECT_EQ(WaitForExit(program), 0u);
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
    FILETIME after = GetLastWriteFileTime(fontFile);   // only the normal end removes the file
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

// A directory, or a read-only file holding another font, stands where the
// font goes: the program must neither run with that font nor remove it.
TEST_F(ProgramRun, FontThatCannotBeWrittenEndsWithMinusOneBeforeAnyQuestion)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, save);
    const std::string foreign = ForeignFontBytes();
    for (bool directory : {false, true}) {
        SCOPED_TRACE(directory ? "directory" : "read-only file");
        if (directory) {
            SetFileAttributesA(fontFile.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(fontFile.c_str());
            MakeDir(fontFile);
        } else {
            WriteBytes(fontFile, foreign);
            SetFileAttributesA(fontFile.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        Start();
        BoxSeen error = AnswerMessageBox(STARTUP_ERROR_CAPTION, IDOK, 20000).get();
        EXPECT_EQ(WaitForExit(program), 0xFFFFFFFFu);
        EXPECT_EQ(error.text, FONT_ERROR_TEXT);
        EXPECT_FALSE(error.yesNo);
        EXPECT_FALSE(error.hasIcon);
        EXPECT_TRUE(directory ? DirectoryExists(fontFile) : ReadBytes(fontFile) == foreign);
        HKEY key;   // nothing written, not even the key
        EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key), 0);
    }
}

// Every copy of the program uses the same font file. A second copy starts
// beside the first, and whichever ends first leaves the other its face: the
// one left draws with the skin's font for the first time after the other
// has gone.
TEST_F(ProgramRun, SecondCopyStartsAndEitherEndsWithoutTakingTheOthersFace)
{
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, save);
    for (bool firstEndsFirst : {true, false}) {
        SCOPED_TRACE(firstEndsFirst ? "first ends first" : "second ends first");
        SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, REG_BINARY, std::string(1, '\0'));
        Start();
        HWND first = WaitForProgramWindow(program, "Slotkeeper");
        ASSERT_TRUE((other = StartSlotkeeper(temp.c_str())).started);
        HWND second = WaitForProgramWindow(other, "Slotkeeper");
        ASSERT_TRUE(first && second);
        int x = 0;
        for (HWND main : {first, second}) {   // the template's face gives 8 x 13 base units
            RECT rect = {};
            GetWindowRect(main, &rect);
            EXPECT_EQ(rect.right - rect.left, 490);
            EXPECT_EQ(rect.bottom - rect.top, 486);
            SetWindowPos(main, nullptr, x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);   // side by side
            x += 600;
        }
        RunningProgram& ending = firstEndsFirst ? program : other;
        RunningProgram& staying = firstEndsFirst ? other : program;
        HWND endingMain = firstEndsFirst ? first : second;
        HWND stayingMain = firstEndsFirst ? second : first;
        std::vector<COLORREF> skinned = ToggleLook(endingMain);
        PressButton(endingMain, IDC_EXIT);
        EXPECT_EQ(WaitForExit(ending), 0u);
        EXPECT_TRUE(ToggleLook(stayingMain) == skinned) << "the window left lost its face";
        PressButton(stayingMain, IDC_EXIT);
        EXPECT_EQ(WaitForExit(staying), 0u);
        EXPECT_FALSE(FileExists(fontFile));   // the last one out removes it
    }
}
