// Start-up and shutdown: the font registration in-process, then the real program
// from its start to its exit code, with a temp directory of its own per run.
#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/save_path.h"
#include "app/settings.h"
#include "app/startup.h"
#include "resource.h"
#include "support/files.h"
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
        if (program.started)
            WaitForExit(program, 0);
        ClearAllKeys();
        RemoveTree(temp);
        RemoveTree(save);
    }
    void Start() { ASSERT_TRUE((program = StartSlotkeeper(temp.c_str())).started); }
    std::string temp = MakeTempDir("run_tmp");
    std::string save = MakeTempDir("run_save");
    std::string fontFile = temp + "\\" TEMP_FONT_NAME;
    RunningProgram program = {};
};

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
