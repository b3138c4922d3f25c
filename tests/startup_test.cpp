// Start-up and shutdown: the embedded font in-process, then the real
// slotkeeper.exe from its start to its exit code, each run with a private
// temp directory so its font file can be watched.
#include <gtest/gtest.h>

#include <cstring>
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

const char kMainCaption[] = "Slotkeeper";
const char kHintCaption[] = "Important hint!";
const DWORD kFailedStartCode = 0xFFFFFFFF;

std::string FontResourceBytes()
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_SKIN_FONT), MAKEINTRESOURCEA(8));
    if (!resource)
        return std::string();
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    return std::string(bytes, SizeofResource(nullptr, resource));
}

bool IsHidden(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
}

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceIsInstalled(const char* face)
{
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    strcpy(wanted.lfFaceName, face);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Points this process's temp directory at a fresh one for one test.
class FontInstallation : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetEnvironmentVariableA("TMP", savedTmp, sizeof savedTmp);
        GetEnvironmentVariableA("TEMP", savedTemp, sizeof savedTemp);
        temp = MakeTempDir("font");
        SetEnvironmentVariableA("TMP", temp.c_str());
        SetEnvironmentVariableA("TEMP", temp.c_str());
        fontFile = temp + "\\\\" TEMP_FONT_NAME;
    }
    void TearDown() override
    {
        RemoveFontResourceA(appState.tempFontPath);
        SetEnvironmentVariableA("TMP", savedTmp);
        SetEnvironmentVariableA("TEMP", savedTemp);
        RemoveTree(temp);
    }
    char savedTmp[MAX_PATH] = {};
    char savedTemp[MAX_PATH] = {};
    std::string temp;
    std::string fontFile;   // as the program names it, with the doubled separator
};

}  // namespace

TEST_F(FontInstallation, WritesTheResourceAsAHiddenFileAndRegistersIt)
{
    EXPECT_TRUE(InstallSkinFont());

    EXPECT_EQ(std::string(appState.tempFontPath), fontFile);
    EXPECT_TRUE(IsHidden(fontFile));
    std::string resource = FontResourceBytes();
    ASSERT_FALSE(resource.empty());
    EXPECT_EQ(ReadBytes(fontFile), resource);
    EXPECT_TRUE(FaceIsInstalled(SKIN_FONT_FACE));

    RemoveSkinFont();
    EXPECT_FALSE(FileExists(fontFile));
    EXPECT_FALSE(FaceIsInstalled(SKIN_FONT_FACE));
}

TEST_F(FontInstallation, FontFileOfAnEarlierRunIsRegisteredWithoutRewriting)
{
    WriteBytes(fontFile, FontResourceBytes());
    SetLastWriteTime(fontFile, 2001, 2, 3, 4, 5);
    FILETIME before = GetLastWriteFileTime(fontFile);

    EXPECT_TRUE(InstallSkinFont());

    FILETIME after = GetLastWriteFileTime(fontFile);
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
    EXPECT_FALSE(IsHidden(fontFile));   // still the file as it was left
    EXPECT_TRUE(FaceIsInstalled(SKIN_FONT_FACE));
}

TEST_F(FontInstallation, LeftoverThatIsNoFontIsReplacedByTheResource)
{
    WriteBytes(fontFile, "not a font");

    EXPECT_TRUE(InstallSkinFont());

    EXPECT_EQ(ReadBytes(fontFile), FontResourceBytes());
    EXPECT_TRUE(FaceIsInstalled(SKIN_FONT_FACE));
}

namespace {

// The real program with a save directory holding one savegame and a temp
// directory of its own; the registry is cleared before and after.
class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearAllKeys();
        temp = MakeTempDir("run_tmp");
        save = MakeTempDir("run_save");
        WriteBytes(save + "\\Amy.d2s", "x");
        fontFile = temp + "\\" TEMP_FONT_NAME;
    }
    void TearDown() override
    {
        if (program.started)
            WaitForExit(program, 0);
        ClearAllKeys();
        RemoveTree(temp);
        RemoveTree(save);
    }
    void Start()
    {
        program = StartSlotkeeper(temp.c_str());
        ASSERT_TRUE(program.started);
    }
    // The main window, once it shows; first-run hints on the way are
    // acknowledged, since whether one shows depends on the display.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            HWND main = WaitForDialogWithControl(kMainCaption, IDC_EXIT, 50);
            if (main)
                return main;
            HWND hint = WaitForDialog(kHintCaption, 0);
            if (hint) {
                PressButton(hint, IDOK);
                WaitForWindowGone(hint);
            }
        }
        return nullptr;
    }
    DWORD ExitThroughTheExitButton(HWND main)
    {
        PressButton(main, IDC_EXIT);
        return WaitForExit(program);
    }
    RegValue Setting(const char* name) { return ReadValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, name); }

    std::string temp;
    std::string save;
    std::string fontFile;
    RunningProgram program = {};
};

}  // namespace

TEST_F(ProgramRun, StoredPathLeadsStraightToTheMainWindowAndExitReleasesTheFont)
{
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SAVE_PATH_VALUE, REG_SZ, save);
    SetValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, GRAPHIC_MODE_VALUE, REG_NONE, std::string("\0", 1));
    Start();

    // Any question or warning would block the start: nobody answers here.
    HWND main = WaitForDialogWithControl(kMainCaption, IDC_EXIT, 20000);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(FileExists(fontFile));
    EXPECT_TRUE(IsHidden(fontFile));

    EXPECT_EQ(ExitThroughTheExitButton(main), 0u);
    EXPECT_FALSE(FileExists(fontFile));
    RegValue mode = Setting(GRAPHIC_MODE_VALUE);
    EXPECT_EQ(mode.type, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(mode.data, std::string("\0", 1));
    EXPECT_EQ(Setting(SAVE_PATH_VALUE).data, save);
}

TEST_F(ProgramRun, FirstRunConfirmsTheGamesPathAndStoresItAndTheGraphicMode)
{
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, save);
    Start();
    BoxSeen question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDYES, 20000).get();
    BoxSeen warning = AnswerMessageBox(RUNNING_GAME_WARNING_CAPTION, IDOK).get();
    HWND main = WaitForMainWindow();

    EXPECT_EQ(question.text, save);
    EXPECT_TRUE(question.yesNo);
    EXPECT_FALSE(question.hasIcon);
    EXPECT_EQ(warning.text, RUNNING_GAME_WARNING_TEXT);
    EXPECT_TRUE(warning.hasIcon);
    ASSERT_NE(main, nullptr);
    RegValue path = Setting(SAVE_PATH_VALUE);
    EXPECT_EQ(path.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(path.data, save);   // no terminator in the data
    // Created on reading, before the main window opened.
    EXPECT_EQ(Setting(GRAPHIC_MODE_VALUE).data, "\x01");

    EXPECT_EQ(ExitThroughTheExitButton(main), 0u);
    RegValue mode = Setting(GRAPHIC_MODE_VALUE);
    EXPECT_EQ(mode.type, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(mode.data, "\x01");
}

TEST_F(ProgramRun, RefusingEveryPathEndsWithZeroAndWritesNothing)
{
    SetString(HKEY_LOCAL_MACHINE, GAME_KEY, GAME_SAVE_PATH_VALUE, save);
    Start();
    BoxSeen question = AnswerMessageBox(SAVE_PATH_QUESTION_CAPTION, IDNO, 20000).get();
    HWND browser = WaitForDialogHolding("SysTreeView32");
    ASSERT_NE(browser, nullptr);
    PressButton(browser, IDCANCEL);
    BoxSeen quit = AnswerMessageBox(QUIT_QUESTION_CAPTION, IDYES).get();

    EXPECT_EQ(WaitForExit(program), 0u);
    EXPECT_EQ(question.text, save);
    EXPECT_EQ(quit.text, QUIT_QUESTION_TEXT);
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
    // Only the normal end removes the font; the next start reuses the file.
    EXPECT_TRUE(FileExists(fontFile));
}

TEST_F(ProgramRun, FontThatCannotBeWrittenEndsWithMinusOneBeforeAnyQuestion)
{
    MakeDir(fontFile);
    SetString(HKEY_CURRENT_USER, GAME_KEY, GAME_SAVE_PATH_VALUE, save);
    Start();
    BoxSeen error = AnswerMessageBox(STARTUP_ERROR_CAPTION, IDOK, 20000).get();

    EXPECT_EQ(WaitForExit(program), kFailedStartCode);
    EXPECT_TRUE(error.found);
    EXPECT_EQ(error.text, FONT_ERROR_TEXT);
    EXPECT_FALSE(error.yesNo);
    EXPECT_FALSE(error.hasIcon);
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &key), ERROR_SUCCESS);
}
