// A warning that names files (and folders, ending in "\"), one per line,
// after a heading and before an optional closing line. A list too long for
// the buffer ends in "...".
#pragma once

#include <windows.h>

#define FILE_LIST_SIZE  2048
#define WARNING_CAPTION "Warning"

struct FileList {
    char text[FILE_LIST_SIZE];
    const char* closing;  // appended on its own line when shown; may be ""
    int count;            // names added, listed or not
    bool cut;             // "..." has been written in place of further names
};

void BeginFileList(FileList* list, const char* heading, const char* closing);
void AddToFileList(FileList* list, const char* name);
// The text as shown: the heading, the names, then the closing line.
void FormatFileList(const FileList* list, char (&text)[FILE_LIST_SIZE]);
// Shows the list as a warning if it names any file.
void WarnAboutFileList(const FileList* list);
