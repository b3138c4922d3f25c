// How much a save and a load of one character cost next to copying the same
// files with plain CopyFileA. A character of 8 files, 2 MB in all; each
// figure is the median of several runs. The load's question is answered
// from a helper thread and timed from the moment the answer is posted. Under
// Wine without a window manager closing a message box alone takes about two
// seconds, far longer than the copies, so the load's own work is the
// difference between a load answered Yes and one answered No.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "store/characters.h"
#include "store/slot_operations.h"

namespace {

const int kFiles = 8;
const DWORD kFileSize = 2 * 1024 * 1024 / kFiles;
const int kRuns = 9;
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

bool WriteFileOfSize(const char* path, DWORD size, char fill)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> bytes(size, fill);
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), size, &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}

// Answers the next message box with this caption, as a player would, and
// notes when it did.
std::thread AnswerLater(const char* caption, int button, double* answeredAt)
{
    return std::thread([caption, button, answeredAt]() {
        for (int tries = 0; tries < 20000; ++tries) {
            HWND box = FindWindowA("#32770", caption);
            if (box && IsWindowVisible(box)) {
                *answeredAt = Now();
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                return;
            }
            Sleep(1);
        }
    });
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
    CopyToSlot(entry, 1, "bench");
    return Now() - start;
}

// The time from the answer to the end of LoadSlot.
double TimeLoad(CharacterEntry* entry, int answer)
{
    double answeredAt = 0;
    std::thread helper = AnswerLater("Are you sure?", answer, &answeredAt);
    LoadSlot(entry, 1);
    double end = Now();
    helper.join();
    return end - answeredAt;
}

void RemoveTreeOf(const char* path)
{
    char pattern[MAX_PATH];
    snprintf(pattern, sizeof pattern, "%s\\*", path);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
                continue;
            char child[MAX_PATH];
            snprintf(child, sizeof child, "%s\\%s", path, found.cFileName);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTreeOf(child);
            else
                DeleteFileA(child);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path);
}

}  // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char root[MAX_PATH];
    char plain[MAX_PATH];
    char characterDirectory[MAX_PATH];
    char slot[MAX_PATH];
    snprintf(root, sizeof root, "%sslotkeeper_copy_bench_%lu", temp, GetCurrentProcessId());
    snprintf(plain, sizeof plain, "%s\\plain", root);
    snprintf(characterDirectory, sizeof characterDirectory, "%s\\Bench", root);
    snprintf(slot, sizeof slot, "%s\\1", characterDirectory);
    CreateDirectoryA(root, nullptr);
    CreateDirectoryA(plain, nullptr);
    CreateDirectoryA(characterDirectory, nullptr);
    CreateDirectoryA(slot, nullptr);
    for (int i = 0; i < kFiles; ++i) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\Bench.%s", root, kExtensions[i]);
        if (!WriteFileOfSize(path, kFileSize, static_cast<char>('a' + i))) {
            fprintf(stderr, "cannot write %s\n", path);
            return 1;
        }
    }

    appState.savePath = root;
    CharacterEntry entry = {};
    strcpy(entry.name, "Bench");

    std::vector<double> plainOut, plainBack, save, loadYes, loadNo;
    for (int run = 0; run < kRuns; ++run) {
        plainOut.push_back(TimePlainCopies(root, plain));
        save.push_back(TimeSave(&entry));
        plainBack.push_back(TimePlainCopies(plain, root));
        loadYes.push_back(TimeLoad(&entry, IDYES));
        loadNo.push_back(TimeLoad(&entry, IDNO));
    }
    appState.savePath = nullptr;
    RemoveTreeOf(root);

    double copyOut = Median(plainOut);
    double copyBack = Median(plainBack);
    double load = Median(loadYes);
    double question = Median(loadNo);
    printf("character: %d files, %lu bytes in all; median of %d runs\n", kFiles,
           static_cast<unsigned long>(kFiles * kFileSize), kRuns);
    printf("plain CopyFileA, save path to folder: %8.2f ms\n", copyOut * 1000);
    printf("save (CopyToSlot):                    %8.2f ms  ratio %.2f\n", Median(save) * 1000,
           Median(save) / copyOut);
    printf("plain CopyFileA, folder to save path: %8.2f ms\n", copyBack * 1000);
    printf("load after Yes (LoadSlot):            %8.2f ms\n", load * 1000);
    printf("load after No (closing the question): %8.2f ms\n", question * 1000);
    printf("load's own work (Yes - No):           %8.2f ms  ratio %.2f\n", (load - question) * 1000,
           (load - question) / copyBack);
    return 0;
}
