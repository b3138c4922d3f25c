// How long the slot information takes to build: it runs every time a Load
// button's tooltip is about to show. A slot with an 8 KB savegame copy that
// carries a checksum, so the tooltip reads and sums all of it, and a 1 KB
// description; prints the median time per call over several rounds.
//
//   wine build/i686/bin/slot_info_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "store/backup_store.h"
#include "store/characters.h"
#include "support/support.h"

namespace {

const int kRounds = 9;
const int kCallsPerRound = 2000;

}  // namespace

int main()
{
    // The signature and a version from 92 on, then a length and checksum that do not match.
    SavePath save({"Kira\\2\\Kira.d2s=\x55\xaa\x55\xaa\x60\x01\x01\x01" + std::string(8184, 's'),
                   "Kira\\2\\desc.txt=" + std::string(1024, 'd')});
    CharacterEntry entry = {};
    strcpy(entry.name, "Kira");

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> perCall;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int call = 0; call < kCallsPerRound; ++call)
            FormatSlotInfo(appState.tipText, appState.savePath, &entry, 2);
        QueryPerformanceCounter(&end);
        perCall.push_back(1e6 * (end.QuadPart - start.QuadPart) / frequency.QuadPart /
                          kCallsPerRound);
    }
    std::sort(perCall.begin(), perCall.end());
    printf(
        "slot information with an 8 KB savegame and a 1 KB description: %.1f us a call (median of "
        "%d rounds of %d)\n",
        perCall[kRounds / 2], kRounds, kCallsPerRound);
    printf("text length %u\n", static_cast<unsigned>(strlen(appState.tipText)));
    return 0;
}
