// The wallpaper test browser's rules: which picture a step shows, how a
// picture is laid out as wallpaper, the names in the picture list, which
// folders the folder box offers, the slide show's countdown and the clicks on
// the preview. The window side (test_browser_win.h) applies them.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace test_browser {

// The folder box's text is read up to this many characters.
inline constexpr int kMaxFolderText = 210;

// A step through the picture list: the entry before the selection, the
// selected one or the one after it.
enum Direction { Previous = -1, Selected = 0, Next = 1 };

// The index a step shows in a list of `count` entries whose selection is
// `selected` (negative: nothing selected, which counts as the end of the
// list). Past the end wraps to the first entry, before the first to the last.
// -1 for an empty list.
int SteppedIndex(int selected, int count, int direction);

// "WallpaperStyle" and "TileWallpaper" under "Control Panel\Desktop".
struct WallpaperLayout {
    const char* style;
    const char* tile;
    bool operator==(const WallpaperLayout& o) const;
};

// Pictures lower than 257 pixels are tiled; taller ones stretched when the
// aspect ratio is kept (which then normalises them), otherwise centred.
WallpaperLayout LayoutForPicture(int height, bool keepAspectRatio);

enum class LayoutButton { None, Center, Tile, Stretch };
WallpaperLayout LayoutOfButton(LayoutButton button);

// Names and paths are wide strings, as the system's wide functions take them
// (UTF-16 on Windows), so that a name outside the ANSI code page stays exact.
// A file's name in the picture list: without the text after its last ".".
std::wstring ListName(const std::wstring& fileName);
std::wstring WithoutTrailingBackslashes(const std::wstring& folder);
// "folder\entry.bmp".
std::wstring PicturePath(const std::wstring& folder, const std::wstring& entry);
// A picture file's folder and its name in the picture list.
struct PictureFile {
    std::wstring folder; // empty for a bare file name
    std::wstring entry;
};
PictureFile SplitPicturePath(const std::wstring& path);
// "folder\*.bmp".
std::wstring BitmapPattern(const std::wstring& folder);
// As the folder box compares its entries: the whole text, ignoring case.
bool SameFolder(const std::wstring& a, const std::wstring& b);

// Static 1193's texts.
std::wstring FileCountText(long count);
std::wstring PictureInfoText(const std::wstring& entry, int width, int height);
// The preview's tool tip for the picture at `path`.
std::wstring PreviewTipText(const std::wstring& path);

// What the buttons of the list may do with `count` pictures.
struct ListButtons {
    bool start;    // "&Start": at least one picture
    bool stepping; // "<" and ">": at least two
};
ListButtons ButtonsForCount(int count);

// ---- Folders ---------------------------------------------------------------

struct FolderEntry {
    std::wstring name;
    bool directory = false;
    // A junction or symbolic link: never followed, so that a link to a
    // folder above cannot send the search round in circles.
    bool link = false;
};

// The file system as the folder search sees it.
class FolderSource {
  public:
    virtual ~FolderSource() = default;
    virtual bool HasBitmaps(const std::wstring& folder) const = 0;
    virtual std::vector<FolderEntry> Entries(const std::wstring& folder) const = 0;
};

// The folder box's list of folders.
class FolderList {
  public:
    virtual ~FolderList() = default;
    virtual bool Holds(const std::wstring& folder) const = 0;
    virtual void Add(const std::wstring& folder) = 0;
};

// Paths longer than this (in UTF-16 units) are not searched: Windows' file
// functions take no longer ones without the "\\?\" prefix.
inline constexpr std::size_t kMaxFolderPath = 259;

// Adds `folder` to `list` when it holds a bitmap, then, with `recurse`, each
// of its subfolders (hidden "." names and links left out) the same way. A
// folder the list holds already is not searched again.
void AddBitmapDirectories(const std::wstring& folder, bool recurse, const FolderSource& source,
                          FolderList& list);

// The last two folders whose pictures were listed (run-time only).
struct RecentFolders {
    std::wstring last;
    std::wstring previous;

    // A folder as typed was listed with at least one picture.
    void Listed(const std::wstring& typed);
};

// ---- Random choice -----------------------------------------------------------

// A random index of `count` (`draw` gives the system's rand()), drawn again
// while it equals `avoid` and there are at least two to choose from. -1 when
// `count` is 0.
int RandomIndex(int count, int avoid, const std::function<int()>& draw);

// ---- Slide show ----------------------------------------------------------------

inline constexpr int kMinSlideInterval = 1;
inline constexpr int kMaxSlideInterval = 300;
inline constexpr int kInitialSlideInterval = 5;
// The countdown ticks five times a second.
inline constexpr unsigned kSlideTickMs = 200;
inline constexpr int kTicksPerSecond = 5;

// The slide show's countdown, shown by the progress bar.
class SlideShow {
  public:
    int interval() const { return interval_; }
    // Seconds, kept within 1..300; a running countdown is cut to the new
    // length.
    void SetInterval(int seconds);

    bool running() const { return running_; }
    int range() const { return interval_ * kTicksPerSecond; }
    int position() const { return position_; }

    void Start();
    void Stop();
    // One tick: true when the next picture is due; the countdown then starts
    // again. A slide thus lasts `interval` seconds.
    bool Tick();

  private:
    int interval_ = kInitialSlideInterval;
    int position_ = 0;
    bool running_ = false;
};

// ---- Preview clicks --------------------------------------------------------------

// A single click sets the picture as wallpaper only once the double-click
// time has passed without a second click; a double click opens it instead.
class PreviewClicks {
  public:
    void ButtonDown() { doubleClicked_ = false; }
    // True: start the timer whose end sets the wallpaper.
    bool ButtonUp() const { return !doubleClicked_; }
    // The timer is stopped and the picture opened.
    void DoubleClick() { doubleClicked_ = true; }

  private:
    bool doubleClicked_ = false;
};

} // namespace test_browser
