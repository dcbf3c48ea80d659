#include "testmode/test_browser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace test_browser {

namespace {

constexpr int kTiledBelowHeight = 257;

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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

std::string ListName(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

std::string WithoutTrailingBackslashes(const std::string& folder) {
    const std::size_t end = folder.find_last_not_of('\\');
    return end == std::string::npos ? std::string() : folder.substr(0, end + 1);
}

std::string PicturePath(const std::string& folder, const std::string& entry) {
    return folder + "\\" + entry + ".bmp";
}

PictureFile SplitPicturePath(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        return {"", ListName(path)};
    return {path.substr(0, slash), ListName(path.substr(slash + 1))};
}

std::string BitmapPattern(const std::string& folder) {
    return folder + "\\*.bmp";
}

bool SameFolder(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string FileCountText(long count) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld files", count);
    return text;
}

std::string PictureInfoText(const std::string& entry, int width, int height) {
    return entry + " (" + std::to_string(width) + "x" + std::to_string(height) + ")";
}

std::string PreviewTipText(const std::string& path) {
    return path + "\n\nLeft Click\tSet as wallpaper\nLeft DblClick\tOpen in default viewer\n"
                  "Right DblClick\tOpen containing folder";
}

ListButtons ButtonsForCount(int count) {
    return {count >= 1, count >= 2};
}

void AddBitmapDirectories(const std::string& folder, bool recurse, const FolderSource& source,
                          FolderList& list) {
    if (folder.size() > kMaxFolderPath || list.Holds(folder))
        return;
    if (source.HasBitmaps(folder))
        list.Add(folder);
    if (!recurse)
        return;
    for (const FolderEntry& entry : source.Entries(folder)) {
        if (entry.directory && !entry.link && !entry.name.empty() && entry.name[0] != '.')
            AddBitmapDirectories(folder + "\\" + entry.name, true, source, list);
    }
}

void RecentFolders::Listed(const std::string& typed) {
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
