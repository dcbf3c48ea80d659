// deskctl.exe: small desktop chores for scripts in the test bed.
//
//   deskctl wallpaper PATH STYLE TILE   set the wallpaper ("WallpaperStyle" STYLE,
//                                       "TileWallpaper" TILE) and tell every window
//   deskctl screenshot PATH.png         write the virtual desktop as a PNG
//   deskctl wait CLASS [SECONDS]        wait for a top-level window of CLASS
#include "tests/harness/harness.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int SetWallpaper(const char* path, const char* style, const char* tile) {
    const char* key = "Control Panel\\Desktop";
    if (!harness::RegWriteString(HKEY_CURRENT_USER, key, "WallpaperStyle", style) ||
        !harness::RegWriteString(HKEY_CURRENT_USER, key, "TileWallpaper", tile))
        return 1;
    std::string wallpaper = path;
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, wallpaper.data(),
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
               ? 0
               : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "wallpaper") == 0)
        return SetWallpaper(argv[2], argv[3], argv[4]);
    if (argc == 3 && std::strcmp(argv[1], "screenshot") == 0)
        return harness::ScreenshotTo(argv[2]) ? 0 : 1;
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "wait") == 0) {
        DWORD seconds = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 20;
        return harness::WaitForWindow(argv[2], nullptr, 0, seconds * 1000) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: deskctl wallpaper PATH STYLE TILE | screenshot PATH.png | "
                         "wait CLASS [SECONDS]\n");
    return 2;
}
