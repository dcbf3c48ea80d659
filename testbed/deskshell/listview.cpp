#include "testbed/deskshell/deskshell.h"
#include "testbed/deskshell/list_writers.h"

#include <commctrl.h>

namespace deskshell {
namespace {

constexpr size_t kMaxCaption = 255;

int IconCount() {
    return static_cast<int>(SendMessageA(g_windows.listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string Caption(int index) {
    return ItemCaption(g_windows.listView, index);
}

} // namespace

// ANSI captions go in as the list view's own ANSI insert would put them.
int AddIcon(const std::string& caption) {
    const std::string text = caption.substr(0, kMaxCaption);
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    return AddIcon(wide);
}

int AddIcon(const std::wstring& caption) {
    std::wstring text = caption.substr(0, kMaxCaption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = IconCount();
    item.pszText = text.data();
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
        SendMessageA(g_windows.listView, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    item.iImage = item.iItem % ImageList_GetImageCount(images);
    return static_cast<int>(
        SendMessageW(g_windows.listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void AddIcons(const std::vector<std::string>& captions) {
    for (const std::string& caption : captions)
        AddIcon(caption);
}

bool RemoveIcon(int index) {
    return index >= 0 && index < IconCount() &&
           SendMessageA(g_windows.listView, LVM_DELETEITEM, index, 0);
}

bool IsAutoArrange() {
    return GetWindowLongA(g_windows.listView, GWL_STYLE) & LVS_AUTOARRANGE;
}

void SetAutoArrange(bool on) {
    LONG style = GetWindowLongA(g_windows.listView, GWL_STYLE);
    SetWindowLongA(g_windows.listView, GWL_STYLE,
                   on ? style | LVS_AUTOARRANGE : style & ~LVS_AUTOARRANGE);
    if (on)
        SendMessageA(g_windows.listView, LVM_ARRANGE, LVA_DEFAULT, 0);
}

bool RecreateListView() {
    const int count = IconCount();
    std::vector<std::string> captions;
    std::vector<POINT> places;
    for (int i = 0; i < count; ++i) {
        captions.push_back(Caption(i));
        POINT at{};
        SendMessageA(g_windows.listView, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&at));
        places.push_back(at);
    }
    const bool autoArrange = IsAutoArrange();
    HWND fresh = CreateListView(autoArrange);
    if (!fresh)
        return false;
    DestroyWindow(g_windows.listView);
    g_windows.listView = fresh;
    RecordOriginalListViewProc();
    AddIcons(captions);
    for (int i = 0; i < count && !autoArrange; ++i)
        SendMessageA(fresh, LVM_SETITEMPOSITION32, i, reinterpret_cast<LPARAM>(&places[i]));
    return true;
}

int WriteLayout(const std::string& path) {
    return WriteListLayout(g_windows.listView, path);
}

} // namespace deskshell
