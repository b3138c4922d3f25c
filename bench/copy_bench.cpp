// How much a save and a load of one character cost next to copying the same
// files with plain CopyFileA. A character of 8 files, 2 MB in all; each
// figure is the median of several runs. The load's question is answered
// Yes from a helper thread; the load's own work is timed from the moment its
// message box is destroyed (seen by a hook on this thread) to the end of
// LoadSlot, because closing a box under Wine varies by milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "store/characters.h"
#include "store/slot_operations.h"
#include "support/support.h"

namespace {

const int kFiles = 8;
const DWORD kFileSize = 2 * 1024 * 1024 / kFiles;
const int kRuns = 15;
const char* const kExtensions[kFiles] = {"d2s", "key", "ma0", "ma1", "ma2", "ma3", "map", "d2x"};

double Now()
{
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Answers the next message box with this caption, as a player would.
std::thread AnswerLater(const char* caption, int button)
{
    return std::thread([caption, button]() {
        for (int tries = 0; tries < 20000; ++tries) {
            HWND box = FindWindowA("#32770", caption);
            if (box && IsWindowVisible(box)) {
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                return;
            }
            Sleep(1);
        }
    });
}

double boxGoneAt = 0;

// Notes when a dialog box of this thread receives its last message.
LRESULT CALLBACK NoteBoxGone(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char className[16];
    if (code == HC_ACTION && message->message == WM_NCDESTROY &&
        GetClassNameA(message->hwnd, className, sizeof className) &&
        strcmp(className, "#32770") == 0)
        boxGoneAt = Now();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

double TimePlainCopies(const char* from, const char* to)
{
    double start = Now();
    for (const char* extension : kExtensions) {
        char source[MAX_PATH];
        char target[MAX_PATH];
        snprintf(source, sizeof source, "%s\\Bench.%s", from, extension);
        snprintf(target, sizeof target, "%s\\Bench.%s", to, extension);
        CopyFileA(source, target, FALSE);
    }
    return Now() - start;
}

double TimeSave(CharacterEntry* entry)
{
    double start = Now();
    CopyToSlot(appState.savePath, entry, 1, "bench", false);  // the slot is there already
    return Now() - start;
}

// The time from the end of the question to the end of LoadSlot.
double TimeLoad(CharacterEntry* entry)
{
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, NoteBoxGone, nullptr, GetCurrentThreadId());
    boxGoneAt = 0;
    std::thread helper = AnswerLater("Are you sure?", IDYES);
    LoadSlot(appState.savePath, entry, 1);
    double end = Now();
    helper.join();
    UnhookWindowsHookEx(hook);
    return end - boxGoneAt;
}

}  // namespace

int main()
{
    std::string root = MakeTempDir();
    MakeEntries(root, {"plain\\, Bench\\1\\"});
    for (int i = 0; i < kFiles; ++i) {
        std::string file = std::string("Bench.") + kExtensions[i];
        MakeEntries(root, {file + "=" + std::string(kFileSize, static_cast<char>('a' + i))});
        if (ReadBytes(root + "\\" + file).size() != kFileSize) {
            fprintf(stderr, "cannot write %s\\%s\n", root.c_str(), file.c_str());
            return 1;
        }
    }
    std::string plain = root + "\\plain";

    appState.savePath = root.data();
    CharacterEntry entry = {};
    strcpy(entry.name, "Bench");

    std::vector<double> plainOut, plainBack, save, load;
    for (int run = 0; run < kRuns; ++run) {
        plainOut.push_back(TimePlainCopies(root.c_str(), plain.c_str()));
        save.push_back(TimeSave(&entry));
        plainBack.push_back(TimePlainCopies(plain.c_str(), root.c_str()));
        load.push_back(TimeLoad(&entry));
    }
    appState.savePath = nullptr;
    RemoveTree(root);

    double copyOut = Median(plainOut);
    double copyBack = Median(plainBack);
    printf("character: %d files, %lu bytes in all; median of %d runs\n", kFiles,
           static_cast<unsigned long>(kFiles * kFileSize), kRuns);
    printf("plain CopyFileA, save path to folder: %8.2f ms\n", copyOut * 1000);
    printf("save (CopyToSlot):                    %8.2f ms  ratio %.2f\n", Median(save) * 1000,
           Median(save) / copyOut);
    printf("plain CopyFileA, folder to save path: %8.2f ms\n", copyBack * 1000);
    printf("load (LoadSlot, after its question):  %8.2f ms  ratio %.2f\n", Median(load) * 1000,
           Median(load) / copyBack);
    return 0;
}
