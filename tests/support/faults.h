// Faults struck at one exact file call of the program's code: the kernel32
// entries of this test program's import table that change files are pointed
// at counting stand-ins, and so is user32's MessageBoxA, which records each
// box and answers it at once (Yes to a question, else OK).
#pragma once

#include <string>
#include <vector>

enum class Fault { kDiskFull, kSharing, kPartial, kKill };

// From now on the k-th file call fails as `fault` would make it: a full
// disk (a partial copy or write leaves the first half, as Wine does), a
// file held by another program, or the process ending just before it.
// k = 0 strikes nothing. The count starts again with each call.
void StrikeAt(int k, Fault fault);
bool Struck();                       // whether call k was reached
std::vector<std::string>& Boxes();   // "caption: text", in order (stands in from here on)
