#include "store/file_list.h"

#include <cstdio>
#include <cstring>

namespace {

const char kCutMark[] = "...";

// Appends as much of `text` as fits, always leaving the list terminated.
void AppendToList(FileList* list, const char* text)
{
    size_t length = strlen(list->text);
    snprintf(list->text + length, FILE_LIST_SIZE - length, "%s", text);
}

// Room kept free behind the names: a line with the cut mark, the closing
// line and the terminator.
size_t ReservedRoom(const FileList* list)
{
    return 1 + strlen(kCutMark) + 1 + strlen(list->closing) + 1;
}

}  // namespace

void FormatFileList(const FileList* list, char (&text)[FILE_LIST_SIZE])
{
    snprintf(text, FILE_LIST_SIZE, "%s%s%s", list->text, list->closing[0] ? "\n" : "",
             list->closing);
}

void BeginFileList(FileList* list, const char* heading, const char* closing)
{
    list->text[0] = '\0';
    list->closing = closing;
    list->count = 0;
    list->cut = false;
    AppendToList(list, heading);
}

void AddToFileList(FileList* list, const char* name)
{
    list->count++;
    if (list->cut)
        return;
    const char* separator = list->count > 1 ? "\n" : "";
    size_t needed = strlen(list->text) + strlen(separator) + strlen(name) + ReservedRoom(list);
    if (needed <= FILE_LIST_SIZE) {
        AppendToList(list, separator);
        AppendToList(list, name);
        return;
    }
    AppendToList(list, separator);
    AppendToList(list, kCutMark);
    list->cut = true;
}

void WarnAboutFileList(const FileList* list)
{
    if (list->count == 0)
        return;
    char text[FILE_LIST_SIZE];
    FormatFileList(list, text);
    MessageBoxA(nullptr, text, WARNING_CAPTION, MB_OK | MB_ICONWARNING);
}
