// The About page's rules: where each element is drawn, what lies under the
// pointer, what a move, a click or a key does there, the swinging title and
// the version line. The About area's window procedure draws and acts on
// what these decide.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/custom_controls.h"

namespace about {

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};

// Right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

bool Contains(const Rect& rect, Point point);

// COLORREF values (0x00BBGGRR).
inline constexpr std::uint32_t kTextFill = 0xFAF3E9;       // RGB(233, 243, 250)
inline constexpr std::uint32_t kAppealFill = 0x80FFFF;     // RGB(255, 255, 128)
inline constexpr std::uint32_t kBuiltInNameBox = 0x608010; // RGB(16, 128, 96)

inline constexpr char kAppealText[] =
    "  If you like Tessara, please consider paying\n whatever you feel it is worth to you.\n\t\t "
    "-- Thanks!";

// Commands the About area sends to the settings window.
inline constexpr int kCheckVersionCommand = 1090;
inline constexpr int kEmailSupportCommand = 1109;
inline constexpr int kDonateCommand = 1167;

// The places of the hidden template controls, relative to the About frame,
// in pixels of the window's DPI.
struct TemplateRects {
    Rect icon;       // 1055
    Rect name;       // 1056
    Rect title;      // 1035
    Rect version;    // 1079
    Rect licence;    // 1065
    Rect text;       // 1066
    Rect legal;      // 1067
    Rect donation;   // 1166 (only its top-left counts)
    Rect updateLink; // 1090
    Rect emailLink;  // 1109
};

// Where everything is drawn. Fixed distances are given for 96 DPI and scaled.
struct Layout {
    Rect icon;
    Rect iconArea; // the icon with its caption: the highlight and the click target
    Rect name;
    Rect title;
    Rect version;
    Rect wallpaperVersion; // the version line in wallpaper mode
    Rect licence;
    Rect text;
    Rect legal;    // twice the template's height, a little wider
    Rect donation; // the button around the picture
    Rect donationPicture;
    Rect updateLink;
    Rect emailLink;
};

Layout LayOut(const TemplateRects& places, Size donationPicture, bool wallpaperMode, int dpi);

// The box drawn behind a link over the user's wallpaper.
Rect LinkBox(const Rect& link, int dpi);

// The width of the copy that goes to the screen.
int CopiedWidth(int clientWidth, int dpi);

// ---- Background --------------------------------------------------------------

// What the cached background was made for.
struct BackgroundKey {
    long changeCount = 0;
    bool wallpaperMode = false;
    bool operator==(const BackgroundKey& o) const {
        return changeCount == o.changeCount && wallpaperMode == o.wallpaperMode;
    }
};

// The user's wallpaper is shown in wallpaper mode when there is one and
// Active Desktop does not draw the desktop.
bool ShowsWallpaper(bool wallpaperMode, bool wallpaperPathExists, bool activeDesktop);

// Where a stretched picture goes in the area: the built-in one over the whole
// area, the user's wallpaper centred at the size that keeps its proportions
// (covering the area with `innerDimension`).
Rect StretchedPicturePlace(Size area, Size picture, bool userWallpaper, bool innerDimension);

// ---- The program name in the caption style ----------------------------------

struct NameStyle {
    bool transparent = false;   // background mode
    bool box = false;           // a filled box behind the name
    std::uint32_t text = 0;     // text colour
    std::uint32_t boxColor = 0; // the box's colour
};

// `listText` and `listBack` are the desktop list view's caption colours;
// `listBack` is empty when it reports none, and `desktopColor` is used then.
NameStyle StyleOfName(bool wallpaperMode, bool blink, bool wallpaperPathExists,
                      std::uint32_t listText, std::optional<std::uint32_t> listBack,
                      std::uint32_t desktopColor);

// ---- The swinging title ---------------------------------------------------------

// The title swings left and right with amplitudes 40, 36, 32, ... 4 pixels
// (at 96 DPI) and stops in the middle.
struct Wobble {
    int offset = 0;
    int step = 1;
    int amplitude = 40;
    bool operator==(const Wobble& o) const {
        return offset == o.offset && step == o.step && amplitude == o.amplitude;
    }
};

// One tick of the fast timer. False once the title has come to rest: the
// wobble is reset and the timer is to stop.
bool StepWobble(Wobble& wobble);
// A click on the title: it stops at the next tick.
void StopAtNextTick(Wobble& wobble);

// ---- Pointer and keyboard ----------------------------------------------------

enum class Element { None, UpdateLink, EmailLink, TitleBox, Donation, AboutText, IconArea };

// The element under `point`. The about text box counts only where it is
// drawn, outside wallpaper mode.
Element HitTest(const Layout& layout, Point point, bool wallpaperMode);

// What the pointer over an element shows.
struct Hover {
    std::optional<controls::Link> link; // the red link
    bool icon = false;                  // the icon's highlight
    bool appeal = false;                // the donation appeal instead of the credits
    bool handCursor = false;
    bool operator==(const Hover& o) const {
        return link == o.link && icon == o.icon && appeal == o.appeal && handCursor == o.handCursor;
    }
};

Hover HoverOf(Element element, bool wallpaperPathExists);

// What a press or release of the left button does.
struct Click {
    int command = 0; // sent on release only
    bool stopWobble = false;
    bool toggleWallpaperMode = false; // on release only
    bool handCursor = false;
    bool operator==(const Click& o) const {
        return command == o.command && stopWobble == o.stopWobble &&
               toggleWallpaperMode == o.toggleWallpaperMode && handCursor == o.handCursor;
    }
};

Click ClickOn(Element element, bool release);

// The keyboard stops twice in the area: first on " Check for new version ",
// then on " Email Support ".
struct KeyboardFocus {
    bool onUpdateLink = true;

    // The focus leaves the area: true when the area takes it back, as it
    // does once, from the update link to the e-mail link, when the focus
    // moves on within the settings window. A focus that leaves for another
    // window (a message box, another program) is let go and the stop kept.
    bool Leave(bool withinWindow);
    // The command of the focused link, for Space or Enter.
    int Command() const;
};

// ---- Texts ---------------------------------------------------------------------

// The date of the build from the compiler's "Mmm dd yyyy" (day padded with a
// blank): three-letter month, the day padded with a blank to two characters,
// the year. Empty for anything else.
std::string ReleaseDate(std::string_view compilerDate);

// "Version 1.0.0  -- Dec  7 2026 ".
std::string VersionLine(std::string_view version, std::string_view releaseDate);

} // namespace about
