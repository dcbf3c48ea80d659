#include "testbed/deskshell/deskshell.h"
#include "testbed/deskshell/list_writers.h"

#include <commctrl.h>

#include <utility>

namespace deskshell {
namespace {

constexpr size_t kMaxCaption = 255;

int IconCount() {
    return static_cast<int>(SendMessageA(g_windows.listView, LVM_GETITEMCOUNT, 0, 0));
}

// The one icon whose caption comes by callback, marked by its item data.
constexpr LPARAM kCallbackMark = 0x5C0;
struct CallbackCaption {
    std::wstring text;
    DWORD nextDelayMs = 0;
} g_callback;

int CallbackIcon() {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = kCallbackMark;
    return static_cast<int>(SendMessageW(g_windows.listView, LVM_FINDITEMW, WPARAM(-1),
                                         reinterpret_cast<LPARAM>(&find)));
}

void SetItem(int index, UINT mask, const wchar_t* text, LPARAM data) {
    LVITEMW item{};
    item.mask = mask;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    item.lParam = data;
    SendMessageW(g_windows.listView, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

std::wstring WideCaption(int index) {
    wchar_t text[kMaxCaption + 1] = L"";
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = kMaxCaption + 1;
    SendMessageW(g_windows.listView, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

void TakeCaptionBack(int index) {
    SetItem(index, LVIF_TEXT | LVIF_PARAM, g_callback.text.c_str(), 0);
}

void CopyCaption(const std::wstring& caption, wchar_t* out, int room) {
    lstrcpynW(out, caption.c_str(), room);
}
void CopyCaption(const std::wstring& caption, char* out, int room) {
    if (room > 0 &&
        !WideCharToMultiByte(CP_ACP, 0, caption.c_str(), -1, out, room, nullptr, nullptr))
        out[room - 1] = '\0';
}

template <class DispInfo> void AnswerCaption(DispInfo& info) {
    if (info.item.lParam != kCallbackMark || !(info.item.mask & LVIF_TEXT))
        return;
    Sleep(std::exchange(g_callback.nextDelayMs, 0));
    CopyCaption(g_callback.text, info.item.pszText, info.item.cchTextMax);
}

} // namespace

bool SlowCaption(int index, DWORD delayMs) {
    if (index < 0 || index >= IconCount())
        return false;
    if (const int current = CallbackIcon(); current != index) {
        if (current >= 0)
            TakeCaptionBack(current);
        g_callback.text = WideCaption(index);
        SetItem(index, LVIF_TEXT | LVIF_PARAM, LPSTR_TEXTCALLBACKW, kCallbackMark);
    }
    g_callback.nextDelayMs = delayMs;
    return true;
}

bool AnswerCaptionCallback(NMHDR& notification) {
    if (notification.code == LVN_GETDISPINFOW)
        AnswerCaption(reinterpret_cast<NMLVDISPINFOW&>(notification));
    else if (notification.code == LVN_GETDISPINFOA)
        AnswerCaption(reinterpret_cast<NMLVDISPINFOA&>(notification));
    else
        return false;
    return true;
}

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
    std::vector<std::wstring> captions;
    std::vector<POINT> places;
    for (int i = 0; i < count; ++i) {
        captions.push_back(WideCaption(i));
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
    for (const std::wstring& caption : captions)
        AddIcon(caption);
    for (int i = 0; i < count && !autoArrange; ++i)
        SendMessageA(fresh, LVM_SETITEMPOSITION32, i, reinterpret_cast<LPARAM>(&places[i]));
    return true;
}

int WriteLayout(const std::string& path) {
    return WriteListLayout(g_windows.listView, path);
}

} // namespace deskshell
