#include "testmode/test_browser_win.h"

#include "base/handles.h"
#include "base/system_functions.h"
#include "colours/wallpaper_analysis_win.h"
#include "deskhook/shared_names.h"
#include "settings/settings.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"
#include "ui/sliders.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <vector>

namespace {

using namespace test_browser;

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr wchar_t kWallpaperValue[] = L"Wallpaper";
constexpr wchar_t kTempFolder[] = L"C:\\TEMP";
constexpr UINT kBroadcastTimeoutMs = 1000;

RecentFolders g_recent;
SlideShow g_slideShow;

// A search of FindFirstFileW, ended with FindClose.
class FileSearch {
  public:
    explicit FileSearch(const std::wstring& pattern)
        : handle_(FindFirstFileW(pattern.c_str(), &found_)) {}
    ~FileSearch() {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    bool found() const { return handle_ != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAW& entry() const { return found_; }
    bool Next() { return FindNextFileW(handle_, &found_) != FALSE; }

  private:
    WIN32_FIND_DATAW found_{};
    HANDLE handle_;
};

bool IsFolder(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class DiskFolders : public FolderSource {
  public:
    bool HasBitmaps(const std::wstring& folder) const override {
        return FileSearch(BitmapPattern(folder)).found();
    }
    std::vector<FolderEntry> Entries(const std::wstring& folder) const override {
        std::vector<FolderEntry> entries;
        FileSearch search(folder + L"\\*");
        for (bool more = search.found(); more; more = search.Next()) {
            const WIN32_FIND_DATAW& entry = search.entry();
            entries.push_back({entry.cFileName, IsFolder(entry),
                               (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
        }
        return entries;
    }
};

HWND FolderBox() {
    return ControlHandle(IDC_TEST_FOLDER);
}
HWND PictureList() {
    return ControlHandle(IDC_TEST_FILES);
}
HWND Preview() {
    return ControlHandle(IDC_TEST_PREVIEW);
}

class FolderBoxList : public FolderList {
  public:
    bool Holds(const std::wstring& folder) const override { return Find(folder) != CB_ERR; }
    void Add(const std::wstring& folder) override {
        SendMessageW(FolderBox(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    }
    // Case-insensitive, the whole text.
    static int Find(const std::wstring& folder) {
        return int(SendMessageW(FolderBox(), CB_FINDSTRINGEXACT, WPARAM(-1),
                                reinterpret_cast<LPARAM>(folder.c_str())));
    }
};

void SetText(int id, const std::wstring& text) {
    if (HWND control = ControlHandle(id))
        SetWindowTextW(control, text.c_str());
}

std::wstring FolderText() {
    wchar_t text[kMaxFolderText + 1] = L"";
    GetWindowTextW(FolderBox(), text, kMaxFolderText + 1);
    return text;
}

int ListCount() {
    return int(SendMessageA(PictureList(), LB_GETCOUNT, 0, 0));
}
int ListSelection() {
    return int(SendMessageA(PictureList(), LB_GETCURSEL, 0, 0));
}
void SelectListEntry(int index) {
    SendMessageA(PictureList(), LB_SETCURSEL, WPARAM(index), 0);
}

std::wstring ListEntry(int index) {
    const LRESULT length = SendMessageW(PictureList(), LB_GETTEXTLEN, WPARAM(index), 0);
    if (length == LB_ERR)
        return L"";
    std::wstring text(std::size_t(length) + 1, L'\0');
    SendMessageW(PictureList(), LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::size_t(length));
    return text;
}

void SelectFolder(int index) {
    // The edit field of a drop-down combo box takes the selected text.
    SendMessageA(FolderBox(), CB_SETCURSEL, WPARAM(index), 0);
}

void EnableListButtons(int count) {
    const ListButtons buttons = ButtonsForCount(count);
    EnableWindow(ControlHandle(IDC_TEST_START), buttons.start);
    EnableWindow(ControlHandle(IDC_TEST_PREVIOUS), buttons.stepping);
    EnableWindow(ControlHandle(IDC_TEST_NEXT), buttons.stepping);
}

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH] = L"";
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

void AddProfileFolders() {
    wchar_t profile[MAX_PATH] = L"";
    if (g_system.SHGetSpecialFolderPathW &&
        g_system.SHGetSpecialFolderPathW(nullptr, profile, CSIDL_PROFILE, FALSE))
        AddBitmapDirectories(profile, true);
}

// Part of the file-information text and the preview's, as when no picture
// could be shown.
void ClearPictureTexts() {
    SetText(IDC_TEST_FILE_INFO, L"");
    SetText(IDC_TEST_PREVIEW, L"");
}

DWORD WINAPI AnnounceWallpaperChange(void* settingsWindow) {
    SendMessageA(static_cast<HWND>(settingsWindow), UM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    return 0;
}

// The settings window hears of the new wallpaper as from the desktop, from a
// thread of its own: the change starts the caption-colour worker.
void AnnounceFromThread(HWND settingsWindow) {
    UniqueHandle thread(
        CreateThread(nullptr, 0, AnnounceWallpaperChange, settingsWindow, 0, nullptr));
}

// LoadImage may fail without saying why (a file that is no bitmap).
DWORD LoadError() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_INVALID_DATA;
}

void WriteLayout(const WallpaperLayout& layout) {
    WriteRegistryString(kDesktopKey, "WallpaperStyle", layout.style);
    WriteRegistryString(kDesktopKey, "TileWallpaper", layout.tile);
}

} // namespace

void FillTestFolders() {
    SendMessageW(FolderBox(), CB_RESETCONTENT, 0, 0);
    AddBitmapDirectories(kTempFolder, true);
    AddProfileFolders();
    const std::wstring windows = WindowsFolder();
    AddBitmapDirectories(windows, false);
    const PictureFile wallpaper = SplitPicturePath(GetWallpaperPath());
    if (!wallpaper.folder.empty())
        AddBitmapDirectories(wallpaper.folder, false);
    SetWindowTextW(FolderBox(), (g_recent.last.empty() ? windows : g_recent.last).c_str());
    LoadBitmapList();
    const int wallpaperFolder =
        wallpaper.folder.empty() ? CB_ERR : FolderBoxList::Find(wallpaper.folder);
    if (wallpaperFolder == CB_ERR)
        return;
    SelectFolder(wallpaperFolder);
    LoadBitmapList();
    SendMessageW(PictureList(), LB_SELECTSTRING, WPARAM(-1),
                 reinterpret_cast<LPARAM>(wallpaper.entry.c_str()));
}

void AddBitmapDirectories(const std::wstring& folder, bool recurse) {
    FolderBoxList list;
    test_browser::AddBitmapDirectories(folder, recurse, DiskFolders(), list);
}

void LoadBitmapList() {
    const std::wstring folder = FolderText();
    SendMessageW(PictureList(), LB_RESETCONTENT, 0, 0);
    long count = 0;
    FileSearch search(BitmapPattern(folder));
    if (search.found()) {
        if (FolderBoxList::Find(WithoutTrailingBackslashes(folder)) == CB_ERR)
            FolderBoxList().Add(folder);
        g_recent.Listed(folder);
        for (bool more = true; more; more = search.Next()) {
            if (IsFolder(search.entry()))
                continue;
            const std::wstring name = ListName(search.entry().cFileName);
            SendMessageW(PictureList(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            ++count;
        }
    }
    SetText(IDC_TEST_FILE_INFO, FileCountText(count));
    SelectListEntry(0);
    SetText(IDC_TEST_PREVIEW, L"");
    EnableListButtons(int(count));
}

std::wstring SelectedTestPicturePath() {
    const int selected = ListSelection();
    if (selected < 0)
        return L"";
    return PicturePath(FolderText(), ListEntry(selected));
}

std::wstring TestFolder() {
    return FolderText();
}

DWORD SetTestWallpaper(HWND settingsWindow, int direction) {
    const int index = SteppedIndex(ListSelection(), ListCount(), direction);
    if (index < 0)
        return ERROR_SUCCESS;
    const std::wstring entry = ListEntry(index);
    const std::wstring path = PicturePath(FolderText(), entry);
    SelectListEntry(index);
    RepaintTestPreview();
    const UniqueBitmap picture(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    BITMAP size{};
    if (!picture || !GetObjectA(picture.get(), sizeof size, &size)) {
        const DWORD error = LoadError();
        ClearPictureTexts();
        ShowWindow(ControlHandle(IDC_TEST_PROGRESS), SW_HIDE);
        return error;
    }
    SetText(IDC_TEST_FILE_INFO, PictureInfoText(entry, size.bmWidth, size.bmHeight));
    WriteLayout(LayoutForPicture(size.bmHeight, g_settings.KeepAspectRatio == 1));
    WriteRegistryString(kDesktopKey, kWallpaperValue, path.c_str());
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()), 0);
    AnnounceFromThread(settingsWindow);
    return ERROR_SUCCESS;
}

void SelectRandomTestPicture() {
    const int folders = int(SendMessageA(FolderBox(), CB_GETCOUNT, 0, 0));
    const int current = int(SendMessageA(FolderBox(), CB_GETCURSEL, 0, 0));
    const int folder = RandomIndex(folders, current, std::rand);
    if (folder < 0)
        return;
    SelectFolder(folder);
    LoadBitmapList();
    const int picture = RandomIndex(ListCount(), -1, std::rand);
    if (picture >= 0)
        SelectListEntry(picture);
}

void SelectLastTestPicture() {
    const int folders = int(SendMessageA(FolderBox(), CB_GETCOUNT, 0, 0));
    if (folders <= 0)
        return;
    SelectFolder(folders - 1);
    LoadBitmapList();
    SelectListEntry(ListCount() - 1);
}

void SelectSteppedTestPicture(int direction) {
    const int index = SteppedIndex(ListSelection(), ListCount(), direction);
    if (index < 0)
        return;
    SelectListEntry(index);
    RepaintTestPreview();
}

void SetWallpaperLayout(LayoutButton button) {
    WriteLayout(LayoutOfButton(button));
    const std::wstring path = button == LayoutButton::None ? L"" : GetWallpaperPath();
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(path.c_str()),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

void BroadcastSettingChange() {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_NORMAL, kBroadcastTimeoutMs,
                        &result);
}

bool SlideShowRunning() {
    return g_slideShow.running();
}

void StartSlideShow(HWND settingsWindow) {
    EnableWindow(FolderBox(), FALSE);
    EnableWindow(ControlHandle(IDC_TEST_RELOAD), FALSE);
    SetText(IDC_TEST_START, L"&Stop");
    g_slideShow.Start();
    HWND progress = ControlHandle(IDC_TEST_PROGRESS);
    SendMessageA(progress, PBM_SETRANGE32, 0, g_slideShow.range());
    SendMessageA(progress, PBM_SETPOS, WPARAM(g_slideShow.position()), 0);
    ShowWindow(progress, SW_SHOW);
    SetTimer(settingsWindow, kSlideShowTimer, kSlideTickMs, nullptr);
}

void StopSlideShow(HWND settingsWindow) {
    KillTimer(settingsWindow, kSlideShowTimer);
    SetText(IDC_TEST_START, L"&Start");
    ClearPictureTexts();
    ShowWindow(ControlHandle(IDC_TEST_PROGRESS), SW_HIDE);
    EnableWindow(ControlHandle(IDC_TEST_RELOAD), TRUE);
    EnableWindow(FolderBox(), TRUE);
    g_slideShow.Stop();
}

bool SlideShowTick() {
    const bool due = g_slideShow.Tick();
    SendMessageA(ControlHandle(IDC_TEST_PROGRESS), PBM_SETPOS, WPARAM(g_slideShow.position()), 0);
    return due;
}

void TakeSlideInterval(HWND slider) {
    const int value = int(SendMessageA(slider, TBM_GETPOS, 0, 0));
    g_slideShow.SetInterval(value);
    HWND label = ControlHandle(IDC_TEST_INTERVAL_VALUE);
    SetWindowTextA(label, SliderValueText(TestIntervalSlider(), value).c_str());
    InvalidateRect(label, nullptr, TRUE);
    SendMessageA(ControlHandle(IDC_TEST_PROGRESS), PBM_SETRANGE32, 0, g_slideShow.range());
}

void RepaintTestPreview() {
    InvalidateRect(Preview(), nullptr, TRUE);
}

bool CursorOverTestPreview() {
    POINT cursor{};
    RECT preview{};
    return IsWindowVisible(Preview()) && GetCursorPos(&cursor) &&
           GetWindowRect(Preview(), &preview) && PtInRect(&preview, cursor);
}

HBRUSH TestListColors(HDC dc, HWND listBox) {
    if (!listBox || listBox != PictureList())
        return nullptr;
    SetTextColor(dc, GetFocus() == listBox ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}
