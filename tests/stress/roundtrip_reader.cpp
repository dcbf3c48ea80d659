// The common way of reading the desktop icons from another process, as the
// yardstick of the round-trip figure: memory allocated inside the desktop
// process with VirtualAllocEx, LVM_GETITEMPOSITION and LVM_GETITEMTEXTA sent
// per icon, and the answers copied out with ReadProcessMemory.
//
//   roundtrip_reader OUT [PLACES]
//
// Reads every icon's position and caption and writes OUT: a first line
// "read-us N" with the time the reading took inside this process, then one
// line "x y caption" per icon. With PLACES (one "x y" line per icon), each
// icon is also moved there with LVM_SETITEMPOSITION right after it is read,
// as a restore would move it. Exit code 0 on success.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kCaptionBytes = 256;

// The memory the list view writes its answers into, inside its own process.
struct RemoteBuffers {
    POINT position;
    LVITEMA item;
    char caption[kCaptionBytes];
};

struct Icon {
    POINT position{};
    std::string caption;
};

HWND DesktopListView() {
    HWND progman = FindWindowA("Progman", nullptr);
    HWND view = progman ? FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr) : nullptr;
    return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

class RemoteMemory {
  public:
    RemoteMemory(HANDLE process, SIZE_T size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    RemoteBuffers* Get() const { return static_cast<RemoteBuffers*>(address_); }

  private:
    HANDLE process_;
    void* address_;
};

bool ReadIcon(HWND listView, HANDLE process, RemoteBuffers* remote, int index, Icon& icon) {
    SendMessageA(listView, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(&remote->position));
    if (!ReadProcessMemory(process, &remote->position, &icon.position, sizeof icon.position,
                           nullptr))
        return false;
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = remote->caption;
    item.cchTextMax = kCaptionBytes;
    if (!WriteProcessMemory(process, &remote->item, &item, sizeof item, nullptr))
        return false;
    LRESULT length =
        SendMessageA(listView, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&remote->item));
    char caption[kCaptionBytes + 1] = "";
    if (length > 0 && !ReadProcessMemory(process, remote->caption, caption, kCaptionBytes, nullptr))
        return false;
    caption[kCaptionBytes] = '\0';
    icon.caption = caption;
    return true;
}

std::vector<POINT> ReadPlaces(const char* path) {
    std::vector<POINT> places;
    FILE* file = std::fopen(path, "r");
    if (!file)
        return places;
    long x, y;
    while (std::fscanf(file, "%ld %ld", &x, &y) == 2)
        places.push_back(POINT{x, y});
    std::fclose(file);
    return places;
}

bool WriteIcons(const char* path, double readUs, const std::vector<Icon>& icons) {
    FILE* file = std::fopen(path, "w");
    if (!file)
        return false;
    std::fprintf(file, "read-us %.0f\n", readUs);
    for (const Icon& icon : icons)
        std::fprintf(file, "%ld %ld %s\n", icon.position.x, icon.position.y, icon.caption.c_str());
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const std::vector<POINT> places = argc > 2 ? ReadPlaces(argv[2]) : std::vector<POINT>{};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);

    HWND listView = DesktopListView();
    DWORD pid = 0;
    GetWindowThreadProcessId(listView, &pid);
    HANDLE process =
        pid ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)
            : nullptr;
    if (!process)
        return 3;
    std::vector<Icon> icons;
    {
        RemoteMemory remote(process, sizeof(RemoteBuffers));
        if (!remote.Get())
            return 4;
        const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
        icons.resize(count);
        for (int i = 0; i < count; ++i) {
            if (!ReadIcon(listView, process, remote.Get(), i, icons[i]))
                return 5;
            if (i < static_cast<int>(places.size()))
                SendMessageA(listView, LVM_SETITEMPOSITION, i,
                             MAKELPARAM(places[i].x, places[i].y));
        }
    }
    CloseHandle(process);
    QueryPerformanceCounter(&end);
    const double readUs = (end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart;
    return WriteIcons(argv[1], readUs, icons) ? 0 : 6;
}
