#include "store/journal.h"

#include <cstdio>
#include <cstring>

#include "store/backup_store.h"
#include "store/characters.h"

namespace {

// A record: the operation, the slot's digit, and '1' once every copy is
// made. Marking rewrites the last byte alone.
const DWORD kRecordSize = 3;
const LONG kMarkOffset = 2;

void WarnBusy(const CharacterEntry* entry)
{
    char text[sizeof entry->name + 128];
    snprintf(text, sizeof text,
             "Another copy of Slotkeeper is working on %s right now. Try again when it is done.",
             entry->name);
    MessageBoxA(nullptr, text, WARNING_CAPTION, MB_OK | MB_ICONWARNING);
}

bool BuildJournalFolder(char (&path)[MAX_PATH], const char* savePath)
{
    return BuildPath(path, "%s\\" JOURNAL_FOLDER, savePath);
}

// Opens a character's record without sharing it with any reader or writer;
// deleting stays allowed, so that the holder can drop it before letting go.
HANDLE OpenRecord(const char* path, DWORD disposition)
{
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Finishes or rolls back the operation in an existing record; true when
// nothing of it is left. A record cut short by an interruption before its
// first change on disk holds nothing to undo.
bool Recover(const char* savePath, const CharacterEntry* entry, HANDLE file,
             char (&text)[FILE_LIST_SIZE])
{
    char record[kRecordSize];
    DWORD count = 0;
    text[0] = '\0';
    if (!ReadFile(file, record, kRecordSize, &count, nullptr) || count < kRecordSize)
        return true;
    int slot = record[1] - '0';
    bool copiesMade = record[2] == '1';
    if (record[0] == OPERATION_SAVE)
        return RecoverSave(savePath, entry, slot, copiesMade, text);
    if (record[0] == OPERATION_LOAD)
        return RecoverLoad(savePath, entry, slot, copiesMade, text);
    if (record[0] == OPERATION_DELETE)
        return RecoverDelete(savePath, entry, slot, text);
    return true;
}

void ShowRecovery(const char (&text)[FILE_LIST_SIZE])
{
    if (text[0])
        MessageBoxA(nullptr, text, WARNING_CAPTION, MB_OK | MB_ICONWARNING);
}

DWORD WriteRecord(HANDLE file, const char* bytes, DWORD size)
{
    DWORD written = 0;
    if (!WriteFile(file, bytes, size, &written, nullptr))
        return GetLastError();
    if (written != size)
        return ERROR_DISK_FULL;
    return FlushFileBuffers(file) ? 0 : GetLastError();
}

}  // namespace

bool BeginOperation(const char* savePath, const CharacterEntry* entry, Operation operation,
                    int slot, Journal* journal, DWORD* error)
{
    char character[MAX_PATH];
    journal->file = INVALID_HANDLE_VALUE;
    *error = ERROR_FILENAME_EXCED_RANGE;
    if (!BuildCharacterDirectory(character, savePath, entry) ||
        !BuildJournalFolder(journal->folder, savePath) ||
        !BuildPath(journal->path, "%s\\%s", journal->folder, entry->name))
        return false;
    // Another copy that ends its last operation removes the folder when it is
    // empty: one more try finds it gone and makes it again.
    for (int tries = 0; tries < 2 && journal->file == INVALID_HANDLE_VALUE; ++tries) {
        CreateDirectoryA(journal->folder, nullptr);
        journal->file = OpenRecord(journal->path, OPEN_ALWAYS);
        *error = GetLastError();
    }
    if (journal->file == INVALID_HANDLE_VALUE) {
        if (*error == ERROR_SHARING_VIOLATION) {
            WarnBusy(entry);
            *error = 0;
        }
        return false;
    }
    // An earlier operation is still recorded: what it left is seen to first,
    // and a character it could not set right is left alone.
    char text[FILE_LIST_SIZE];
    if (*error == ERROR_ALREADY_EXISTS && !Recover(savePath, entry, journal->file, text)) {
        CloseHandle(journal->file);
        ShowRecovery(text);
        *error = 0;
        return false;
    }
    const char record[kRecordSize] = {static_cast<char>(operation), static_cast<char>('0' + slot),
                                      '0'};
    SetFilePointer(journal->file, 0, nullptr, FILE_BEGIN);
    *error = WriteRecord(journal->file, record, kRecordSize);
    if (*error == 0)
        return true;
    EndOperation(journal, true);
    return false;
}

DWORD MarkCopiesMade(Journal* journal)
{
    SetFilePointer(journal->file, kMarkOffset, nullptr, FILE_BEGIN);
    return WriteRecord(journal->file, "1", 1);
}

void EndOperation(Journal* journal, bool done)
{
    // Dropped while still held, so that no other copy can take the lock in
    // between and find a finished record.
    if (done)
        DeleteFileA(journal->path);
    CloseHandle(journal->file);
    journal->file = INVALID_HANDLE_VALUE;
    if (done)
        RemoveDirectoryA(journal->folder);
}

void DescribeRecovery(char (&text)[FILE_LIST_SIZE], const char* what, const char* outcome,
                      const CharacterEntry* entry, bool done)
{
    snprintf(text, FILE_LIST_SIZE, "%s was interrupted.\n%s%s%s%s", what, outcome,
             done ? ""
                  : "\nSome files it left are in use. Close Diablo II and start Slotkeeper "
                    "again; until then it leaves ",
             done ? "" : entry->name, done ? "" : " alone.");
}

void RecoverInterrupted(const char* savePath)
{
    char folder[MAX_PATH];
    char pattern[MAX_PATH];
    WIN32_FIND_DATAA found;
    if (!BuildJournalFolder(folder, savePath) || !BuildPath(pattern, "%s\\*", folder))
        return;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        CharacterEntry entry = {};
        Journal journal;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            strlen(found.cFileName) >= sizeof entry.name ||
            !BuildPath(journal.path, "%s\\%s", folder, found.cFileName))
            continue;
        memcpy(journal.folder, folder, sizeof folder);
        memcpy(entry.name, found.cFileName, strlen(found.cFileName) + 1);
        // Held: another copy is working on this character right now.
        journal.file = OpenRecord(journal.path, OPEN_EXISTING);
        if (journal.file == INVALID_HANDLE_VALUE)
            continue;
        char text[FILE_LIST_SIZE];
        bool done = Recover(savePath, &entry, journal.file, text);
        EndOperation(&journal, done);
        ShowRecovery(text);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    RemoveDirectoryA(folder);
}
