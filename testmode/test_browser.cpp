#include "testmode/test_browser.h"

#include <algorithm>
#include <cwctype>

namespace test_browser {

namespace {

constexpr int kTiledBelowHeight = 257;

wchar_t Lower(wchar_t c) {
    return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
}

} // namespace

int SteppedIndex(int selected, int count, int direction) {
    if (count <= 0)
        return -1;
    const int from = selected < 0 || selected >= count ? count : selected;
    const int index = from + direction;
    if (index >= count)
        return 0;
    if (index < 0)
        return count - 1;
    return index;
}

bool WallpaperLayout::operator==(const WallpaperLayout& o) const {
    return std::string(style) == o.style && std::string(tile) == o.tile;
}

WallpaperLayout LayoutForPicture(int height, bool keepAspectRatio) {
    if (height < kTiledBelowHeight)
        return {"1", "1"};
    return {keepAspectRatio ? "2" : "0", "0"};
}

WallpaperLayout LayoutOfButton(LayoutButton button) {
    switch (button) {
    case LayoutButton::None:
        return {"0", "0"};
    case LayoutButton::Center:
        return {"1", "0"};
    case LayoutButton::Tile:
        return {"1", "1"};
    case LayoutButton::Stretch:
        return {"2", "0"};
    }
    return {"0", "0"};
}

std::wstring ListName(const std::wstring& fileName) {
    const std::size_t dot = fileName.rfind(L'.');
    return dot == std::wstring::npos ? fileName : fileName.substr(0, dot);
}

std::wstring WithoutTrailingBackslashes(const std::wstring& folder) {
    const std::size_t end = folder.find_last_not_of(L'\\');
    return end == std::wstring::npos ? std::wstring() : folder.substr(0, end + 1);
}

std::wstring PicturePath(const std::wstring& folder, const std::wstring& entry) {
    return folder + L"\\" + entry + L".bmp";
}

PictureFile SplitPicturePath(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos)
        return {L"", ListName(path)};
    return {path.substr(0, slash), ListName(path.substr(slash + 1))};
}

std::wstring BitmapPattern(const std::wstring& folder) {
    return folder + L"\\*.bmp";
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return Lower(x) == Lower(y); });
}

std::wstring FileCountText(long count) {
    return std::to_wstring(count) + L" files";
}

std::wstring PictureInfoText(const std::wstring& entry, int width, int height) {
    return entry + L" (" + std::to_wstring(width) + L"x" + std::to_wstring(height) + L")";
}

std::wstring PreviewTipText(const std::wstring& path) {
    return path + L"\n\nLeft Click\tSet as wallpaper\nLeft DblClick\tOpen in default viewer\n"
                  L"Right DblClick\tOpen containing folder";
}

ListButtons ButtonsForCount(int count) {
    return {count >= 1, count >= 2};
}

void AddBitmapDirectories(const std::wstring& folder, bool recurse, const FolderSource& source,
                          FolderList& list) {
    if (folder.size() > kMaxFolderPath || list.Holds(folder))
        return;
    if (source.HasBitmaps(folder))
        list.Add(folder);
    if (!recurse)
        return;
    for (const FolderEntry& entry : source.Entries(folder)) {
        if (entry.directory && !entry.link && !entry.name.empty() && entry.name[0] != L'.')
            AddBitmapDirectories(folder + L"\\" + entry.name, true, source, list);
    }
}

void RecentFolders::Listed(const std::wstring& typed) {
    if (typed == previous)
        return;
    previous = last;
    last = typed;
}

int RandomIndex(int count, int avoid, const std::function<int()>& draw) {
    if (count <= 0)
        return -1;
    int index = draw() % count;
    while (index == avoid && count >= 2)
        index = draw() % count;
    return index;
}

void SlideShow::SetInterval(int seconds) {
    interval_ = std::clamp(seconds, kMinSlideInterval, kMaxSlideInterval);
    position_ = std::min(position_, range());
}

void SlideShow::Start() {
    running_ = true;
    position_ = range();
}

void SlideShow::Stop() {
    running_ = false;
}

bool SlideShow::Tick() {
    if (--position_ > 0)
        return false;
    position_ = range();
    return true;
}

} // namespace test_browser
