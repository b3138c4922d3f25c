// Stands in for the game and for the programs that open links: appends the
// rest of its command line, as one line, to the file its first word names.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR line, int)
{
    char* rest = strchr(line, ' ');
    FILE* notes = rest ? (*rest = '\0', fopen(line, "ab")) : nullptr;
    return !notes || fprintf(notes, "%s\n", rest + 1) < 0 || fclose(notes) != 0;
}
