#include "store/savegame_check.h"

#include <windows.h>

#include <cstring>

#include "store/file_list.h"

namespace {

// The header, as 32-bit little-endian fields.
const DWORD kSignature = 0xAA55AA55;
const DWORD kSignatureOffset = 0;
const DWORD kVersionOffset = 4;
const DWORD kLengthOffset = 8;     // the whole file's length
const DWORD kChecksumOffset = 12;  // summed as zero bytes
const DWORD kHeaderSize = 16;
const DWORD kFirstCheckedVersion = 92;  // the first with a length and a checksum
// Far beyond any savegame the game writes; a larger file is not read whole.
const DWORD kLargestJudged = 1024 * 1024;

DWORD ReadField(const unsigned char* header, DWORD offset)
{
    const unsigned char* bytes = header + offset;
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24;
}

// The game's checksum, carried on over the bytes at `offset` of the file:
// rotate the sum left by one bit, then add the byte.
DWORD AddToChecksum(DWORD sum, const unsigned char* bytes, DWORD count, DWORD offset)
{
    for (DWORD i = 0; i < count; ++i) {
        DWORD position = offset + i;
        bool inChecksum = position >= kChecksumOffset && position < kChecksumOffset + 4;
        sum = (sum << 1 | sum >> 31) + (inChecksum ? 0 : bytes[i]);
    }
    return sum;
}

}  // namespace

bool IsSavegameDamaged(const char* path)
{
    // Shared every way, so that a file the game holds open is still judged.
    HANDLE file = CreateFileA(path, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char header[kHeaderSize] = {};
    unsigned char block[4096];
    DWORD length = 0;
    DWORD sum = 0;
    DWORD count = 0;
    bool read = true;
    while (length <= kLargestJudged) {
        read = ReadFile(file, block, sizeof block, &count, nullptr) != FALSE;
        if (!read || count == 0)
            break;
        if (length < kHeaderSize)
            memcpy(header + length, block,
                   count < kHeaderSize - length ? count : kHeaderSize - length);
        sum = AddToChecksum(sum, block, count, length);
        length += count;
    }
    CloseHandle(file);
    if (!read || length > kLargestJudged || length < kLengthOffset ||
        ReadField(header, kSignatureOffset) != kSignature ||
        ReadField(header, kVersionOffset) < kFirstCheckedVersion)
        return false;
    // A header cut short reads as zero where it ends, so it fails to match.
    return ReadField(header, kLengthOffset) != length || ReadField(header, kChecksumOffset) != sum;
}

bool AcceptSavegame(const char* path, const char* question)
{
    return !IsSavegameDamaged(path) ||
           MessageBoxA(nullptr, question, WARNING_CAPTION,
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}
