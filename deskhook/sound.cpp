#include <cstring>

#include "deskhook/deskhook.h"

#include <mmsystem.h>

namespace {

constexpr UINT kWindowsDirLimit = 238;
constexpr char kStartSound[] = "\\media\\start.wav";

} // namespace

BOOL WINAPI Sound() {
    char path[300];
    UINT length = GetWindowsDirectoryA(path, kWindowsDirLimit);
    // A longer directory would leave the buffer unfilled.
    if (length == 0 || length >= kWindowsDirLimit)
        return FALSE;
    std::strcat(path, kStartSound);
    return sndPlaySoundA(path, SND_ASYNC);
}
