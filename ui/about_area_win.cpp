#include "ui/about_area_win.h"

#include <commctrl.h>

#include <string>

#include "base/app_state.h"
#include "base/dpi.h"
#include "base/dpi_win.h"
#include "base/handles.h"
#include "base/timers.h"
#include "colours/wallpaper_analysis.h"
#include "colours/wallpaper_analysis_win.h"
#include "deskhook/deskhook.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"
#include "ui/about_area.h"
#include "ui/custom_controls_win.h"
#include "ui/resource.h"
#include "ui/settings_pages_win.h"

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr UINT kRetakeFocus = WM_APP + 1;
constexpr int kMaxText = 300;
constexpr int kTextBorder = 2;
constexpr int kTextTopGap = 2;
constexpr SIZE kTitleCorner = {40, 60};
constexpr int kTitleInset = 1;
constexpr int kTitleFontGrowth = 2;
constexpr UINT kListViewAnswerMs = 200;
constexpr int kNameBoxMargin = 2;

// The background picture as last made, and what it was made for.
struct Background {
    UniqueBitmap bitmap;
    about::BackgroundKey key;
    SIZE size{};
    bool showsWallpaper = false;
};

struct AboutState {
    bool wallpaperMode = false;
    bool nameBlink = false;
    about::Hover hover;
    about::Wobble wobble;
    about::KeyboardFocus focus;
    Background background;
    std::string credits;
    bool trackingLeave = false;
};

AboutState g_about;

struct TitleFont {
    HFONT from = nullptr;
    UniqueFont font;
};
TitleFont g_titleFont;

HWND SettingsWindowOf(HWND area) {
    return GetParent(area);
}

about::Rect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const about::Rect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

about::Rect PlaceOf(int id) {
    return FromRect(GetRectRelativeTo(IDC_FRAME_ABOUT, id));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

UniqueBitmap LoadBitmapResource(int id) {
    return UniqueBitmap(static_cast<HBITMAP>(
        LoadImageA(g_app.instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

// The small pictures, drawn at every tick of the swinging title: loaded once.
struct Pictures {
    UniqueBitmap donation = LoadBitmapResource(IDB_DONATE);
    UniqueBitmap highlightMask = LoadBitmapResource(IDB_HIGHLIGHT_MASK);
    UniqueBitmap highlightPattern = LoadBitmapResource(IDB_HIGHLIGHT_PATTERN);
};

const Pictures& SmallPictures() {
    static const Pictures pictures;
    return pictures;
}

about::Size DonationPictureSize() {
    const HBITMAP picture = SmallPictures().donation.get();
    const SIZE size = picture ? BitmapSize(picture) : SIZE{};
    return {size.cx, size.cy};
}

about::Layout CurrentLayout(HWND area) {
    about::TemplateRects places;
    places.icon = PlaceOf(IDC_ABOUT_ICON);
    places.name = PlaceOf(IDC_ABOUT_NAME);
    places.title = PlaceOf(IDC_ABOUT_TITLE);
    places.version = PlaceOf(IDC_ABOUT_VERSION);
    places.licence = PlaceOf(IDC_ABOUT_LICENCE);
    places.text = PlaceOf(IDC_ABOUT_TEXT);
    places.legal = PlaceOf(IDC_ABOUT_LEGAL);
    places.donation = PlaceOf(IDC_DONATE_BUTTON);
    places.updateLink = PlaceOf(IDC_CHECK_VERSION);
    places.emailLink = PlaceOf(IDC_EMAIL_SUPPORT);
    return about::LayOut(places, DonationPictureSize(), g_about.wallpaperMode, WindowDpi(area));
}

std::string ControlText(int id) {
    char text[kMaxText + 1] = "";
    if (HWND control = ControlHandle(id))
        GetWindowTextA(control, text, sizeof text);
    return text;
}

bool WallpaperPathExists() {
    return !GetWallpaperPath().empty();
}

std::string VersionLineText() {
    return about::VersionLine(g_app.versionText, about::ReleaseDate(__DATE__));
}

void Invalidate(HWND area, const about::Rect& rect) {
    const RECT r = ToRect(rect);
    InvalidateRect(area, &r, FALSE);
}

// ---- Background -------------------------------------------------------------------

UniqueBitmap LoadWallpaperPicture() {
    return UniqueBitmap(
        static_cast<HBITMAP>(LoadImageW(nullptr, GetWallpaperPath().c_str(), IMAGE_BITMAP, 0, 0,
                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

void DrawPicture(HDC dc, HBITMAP picture, SIZE area, bool userWallpaper) {
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    const SelectedObject selected(source.get(), picture);
    const SIZE size = BitmapSize(picture);
    if (RegReadDWord(kDesktopKey, "TileWallpaper") == colors::kTileOn) {
        for (int y = 0; y < area.cy; y += size.cy)
            for (int x = 0; x < area.cx; x += size.cx)
                BitBlt(dc, x, y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
        return;
    }
    const about::Rect place =
        about::StretchedPicturePlace({area.cx, area.cy}, {size.cx, size.cy}, userWallpaper,
                                     g_settings.StretchInnerDimension == 1);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, place.left, place.top, place.Width(), place.Height(), source.get(), 0, 0,
               size.cx, size.cy, SRCCOPY);
}

void MakeBackground(HDC dc, SIZE area) {
    Background& background = g_about.background;
    UniqueBitmap picture;
    background.showsWallpaper =
        about::ShowsWallpaper(g_about.wallpaperMode, WallpaperPathExists(), ActiveDesktopOn());
    if (background.showsWallpaper)
        picture = LoadWallpaperPicture();
    if (!picture) {
        background.showsWallpaper = false;
        picture = LoadBitmapResource(IDB_ABOUT_BACKGROUND);
    }
    background.bitmap.reset(CreateCompatibleBitmap(dc, area.cx, area.cy));
    const UniqueMemoryDc target(CreateCompatibleDC(dc));
    const SelectedObject selected(target.get(), background.bitmap.get());
    const RECT whole = {0, 0, area.cx, area.cy};
    FillRect(target.get(), &whole, GetSysColorBrush(COLOR_BACKGROUND));
    if (picture)
        DrawPicture(target.get(), picture.get(), area, background.showsWallpaper);
    background.size = area;
}

// Rebuilt only for a changed desktop, another mode or another size.
void DrawBackground(HDC dc, SIZE area) {
    Background& background = g_about.background;
    const about::BackgroundKey key{g_app.desktopChangeCount, g_about.wallpaperMode};
    if (!background.bitmap || !(background.key == key) || background.size.cx != area.cx ||
        background.size.cy != area.cy) {
        MakeBackground(dc, area);
        background.key = key;
    }
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    const SelectedObject selected(source.get(), background.bitmap.get());
    BitBlt(dc, 0, 0, area.cx, area.cy, source.get(), 0, 0, SRCCOPY);
}

// ---- Foreground -----------------------------------------------------------------------

void DrawHighlight(HDC dc, const about::Rect& area) {
    const HBITMAP mask = SmallPictures().highlightMask.get();
    const HBITMAP pattern = SmallPictures().highlightPattern.get();
    if (!mask || !pattern)
        return;
    const SIZE size = BitmapSize(pattern);
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    {
        const SelectedObject selected(source.get(), mask);
        for (int y = area.top; y < area.bottom; y += size.cy)
            for (int x = area.left; x < area.right; x += size.cx)
                BitBlt(dc, x, y, size.cx, size.cy, source.get(), 0, 0, SRCAND);
    }
    {
        const SelectedObject selected(source.get(), pattern);
        for (int y = area.top; y < area.bottom; y += size.cy)
            for (int x = area.left; x < area.right; x += size.cx)
                BitBlt(dc, x, y, size.cx, size.cy, source.get(), 0, 0, SRCPAINT);
    }
    RestoreDC(dc, saved);
}

std::optional<COLORREF> ListViewColor(UINT message) {
    HWND listView = DesktopListView();
    DWORD_PTR answer = 0;
    if (!listView ||
        !SendMessageTimeoutA(listView, message, 0, 0, SMTO_ABORTIFHUNG, kListViewAnswerMs, &answer))
        return std::nullopt;
    if (COLORREF(answer) == CLR_NONE)
        return std::nullopt;
    return COLORREF(answer);
}

void PutText(HDC dc, const std::string& text, about::Rect rect, UINT format) {
    RECT r = ToRect(rect);
    DrawTextA(dc, text.c_str(), -1, &r, format | DT_NOPREFIX);
}

void DrawName(HDC dc, const about::Rect& place, int dpi) {
    const about::NameStyle style =
        about::StyleOfName(g_about.wallpaperMode, g_about.nameBlink, WallpaperPathExists(),
                           ListViewColor(LVM_GETTEXTCOLOR).value_or(COLORREF(g_settings.TextColor)),
                           ListViewColor(LVM_GETTEXTBKCOLOR), GetSysColor(COLOR_BACKGROUND));
    const std::string name = g_app.caption;
    SetTextColor(dc, COLORREF(style.text));
    SetBkMode(dc, style.transparent ? TRANSPARENT : OPAQUE);
    SetBkColor(dc, COLORREF(style.boxColor));
    if (style.box) {
        RECT extent = ToRect(place);
        DrawTextA(dc, name.c_str(), -1, &extent, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
        const int margin = ScaleToDpi(kNameBoxMargin, dpi);
        const int width = extent.right - extent.left + 2 * margin;
        const int left = place.left + (place.Width() - width) / 2;
        RECT box = {left, place.top, left + width, place.bottom};
        const UniqueBrush brush(CreateSolidBrush(COLORREF(style.boxColor)));
        FillRect(dc, &box, brush.get());
    }
    PutText(dc, name, place, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
}

void FrameWithPen(HDC dc, const about::Rect& rect, int width, COLORREF fill) {
    const UniqueBrush brush(CreateSolidBrush(fill));
    RECT r = ToRect(rect);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -width, -width);
    FillRect(dc, &r, brush.get());
}

HFONT TitleFontFor(HFONT dialogFont) {
    if (g_titleFont.from != dialogFont || !g_titleFont.font) {
        LOGFONTA font{};
        GetObjectA(dialogFont, sizeof font, &font);
        font.lfHeight *= kTitleFontGrowth;
        font.lfWidth = 0;
        font.lfWeight = FW_BOLD;
        g_titleFont.font.reset(CreateFontIndirectA(&font));
        g_titleFont.from = dialogFont;
    }
    return g_titleFont.font.get();
}

void DrawTitle(HDC dc, const about::Rect& place, int dpi, HFONT dialogFont) {
    const int inset = ScaleToDpi(kTitleInset, dpi);
    const UniqueBrush fill(CreateSolidBrush(COLORREF(about::kTextFill)));
    const SelectedObject brush(dc, fill.get());
    RoundRect(dc, place.left + inset, place.top + inset, place.right - inset, place.bottom - inset,
              ScaleToDpi(kTitleCorner.cx, dpi), ScaleToDpi(kTitleCorner.cy, dpi));
    const SelectedObject font(dc, TitleFontFor(dialogFont));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    const int shift = ScaleToDpi(g_about.wobble.offset, dpi);
    PutText(dc, g_app.caption, {place.left + shift, place.top, place.right + shift, place.bottom},
            DT_CENTER | DT_SINGLELINE | DT_VCENTER);
}

void DrawCreditsPage(HDC dc, const about::Layout& layout, int dpi, HFONT dialogFont) {
    SetBkMode(dc, TRANSPARENT);
    FrameWithPen(dc, layout.text, ScaleToDpi(kTextBorder, dpi),
                 COLORREF(g_about.hover.appeal ? about::kAppealFill : about::kTextFill));
    SetTextColor(dc, RGB(0, 0, 0));
    about::Rect text = layout.text;
    text.top += ScaleToDpi(kTextTopGap, dpi);
    PutText(dc, ControlText(IDC_ABOUT_TEXT), text, DT_CENTER | DT_EXPANDTABS);
    PutText(dc, VersionLineText(), layout.version, DT_CENTER | DT_SINGLELINE);
    PutText(dc, ControlText(IDC_ABOUT_LICENCE), layout.licence, DT_CENTER | DT_SINGLELINE);
    DrawTitle(dc, layout.title, dpi, dialogFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    PutText(dc, ControlText(IDC_ABOUT_LEGAL), layout.legal, DT_CENTER);
}

void DrawWallpaperPage(HDC dc, const about::Layout& layout) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, COLORREF(g_settings.TextColor));
    PutText(dc, VersionLineText(), layout.wallpaperVersion, DT_CENTER | DT_SINGLELINE);
    PutText(dc, ControlText(IDC_ABOUT_LEGAL), layout.legal, DT_CENTER);
}

void DrawDonationButton(HDC dc, const about::Layout& layout) {
    RECT button = ToRect(layout.donation);
    DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH);
    const HBITMAP picture = SmallPictures().donation.get();
    if (!picture)
        return;
    const SIZE size = BitmapSize(picture);
    const UniqueMemoryDc source(CreateCompatibleDC(dc));
    const SelectedObject selected(source.get(), picture);
    const about::Rect& place = layout.donationPicture;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, place.left, place.top, place.Width(), place.Height(), source.get(), 0, 0,
               size.cx, size.cy, SRCCOPY);
}

void DrawLink(HDC dc, const about::Rect& place, controls::Link link, int id, int dpi,
              bool focused) {
    if (g_about.background.showsWallpaper)
        FrameWithPen(dc, about::LinkBox(place, dpi), ScaleToDpi(1, dpi),
                     COLORREF(about::kTextFill));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, LinkColorOf(link));
    PutText(dc, ControlText(id), place, DT_SINGLELINE | DT_VCENTER);
    if (focused) {
        RECT r = ToRect(place);
        DrawFocusRect(dc, &r);
    }
}

void DrawLinks(HDC dc, HWND area, const about::Layout& layout, int dpi) {
    const bool focused = GetFocus() == area;
    DrawLink(dc, layout.emailLink, controls::Link::EmailSupport, IDC_EMAIL_SUPPORT, dpi,
             focused && !g_about.focus.onUpdateLink);
    DrawLink(dc, layout.updateLink, controls::Link::CheckVersion, IDC_CHECK_VERSION, dpi,
             focused && g_about.focus.onUpdateLink);
}

void DrawArea(HWND area, HDC dc, SIZE size) {
    const int dpi = WindowDpi(area);
    const about::Layout layout = CurrentLayout(area);
    const HFONT dialogFont = DialogFont(SettingsWindowOf(area));
    DrawBackground(dc, size);
    if (g_about.hover.icon)
        DrawHighlight(dc, layout.iconArea);
    const int iconSize = ProgramIconSize(area);
    DrawIconEx(dc, layout.icon.left, layout.icon.top, ProgramIcon(area), iconSize, iconSize, 0,
               nullptr, DI_NORMAL);
    const SelectedObject font(dc, dialogFont);
    DrawName(dc, layout.name, dpi);
    if (g_about.wallpaperMode)
        DrawWallpaperPage(dc, layout);
    else
        DrawCreditsPage(dc, layout, dpi, dialogFont);
    DrawDonationButton(dc, layout);
    DrawLinks(dc, area, layout, dpi);
}

// Drawn into a memory bitmap first, so that nothing flickers.
void PaintArea(HWND area) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(area, &paint);
    RECT client{};
    GetClientRect(area, &client);
    const SIZE size = {client.right, client.bottom};
    if (size.cx > 0 && size.cy > 0) {
        const UniqueMemoryDc memory(CreateCompatibleDC(dc));
        const UniqueBitmap bitmap(CreateCompatibleBitmap(dc, size.cx, size.cy));
        {
            const SelectedObject selected(memory.get(), bitmap.get());
            DrawArea(area, memory.get(), size);
            BitBlt(dc, 0, 0, about::CopiedWidth(size.cx, WindowDpi(area)), size.cy, memory.get(), 0,
                   0, SRCCOPY);
        }
    }
    EndPaint(area, &paint);
}

// ---- Timers ---------------------------------------------------------------------------

void OnTimer(HWND area, UINT_PTR timer) {
    if (CurrentTab() != SettingsTab::About) {
        KillTimer(area, timers::AboutSlow);
        KillTimer(area, timers::AboutFast);
        g_about.wobble = {};
        return;
    }
    if (timer == timers::AboutSlow) {
        g_about.nameBlink = !g_about.nameBlink;
        InvalidateRect(area, nullptr, FALSE);
    } else if (timer == timers::AboutFast) {
        if (!about::StepWobble(g_about.wobble))
            KillTimer(area, timers::AboutFast);
        Invalidate(area, CurrentLayout(area).title);
    }
}

// ---- Pointer ----------------------------------------------------------------------------

about::Point PointOf(LPARAM lParam) {
    return {short(LOWORD(lParam)), short(HIWORD(lParam))};
}

void SetHandCursor(bool hand) {
    SetCursor(hand ? LinkCursor() : LoadCursorA(nullptr, IDC_ARROW));
}

void ShowAppeal(bool shown) {
    if (HWND text = ControlHandle(IDC_ABOUT_TEXT))
        SetWindowTextA(text, shown ? about::kAppealText : g_about.credits.c_str());
}

void TakeHover(HWND area, const about::Hover& hover) {
    const about::Layout layout = CurrentLayout(area);
    const controls::LinkSet changed = SharedLinkColors().Hover(controls::kAboutLinks, hover.link);
    if (changed & controls::Only(controls::Link::CheckVersion))
        Invalidate(area, about::LinkBox(layout.updateLink, WindowDpi(area)));
    if (changed & controls::Only(controls::Link::EmailSupport))
        Invalidate(area, about::LinkBox(layout.emailLink, WindowDpi(area)));
    if (hover.icon != g_about.hover.icon)
        Invalidate(area, layout.iconArea);
    if (hover.appeal != g_about.hover.appeal) {
        ShowAppeal(hover.appeal);
        Invalidate(area, layout.text);
    }
    g_about.hover = hover;
}

// The pointer may leave the area straight from a link.
void WatchForLeaving(HWND area) {
    if (g_about.trackingLeave)
        return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, area, 0};
    g_about.trackingLeave = TrackMouseEvent(&track) != FALSE;
}

about::Element ElementAt(HWND area, about::Point point) {
    return about::HitTest(CurrentLayout(area), point, g_about.wallpaperMode);
}

void OnMouseMove(HWND area, LPARAM lParam) {
    WatchForLeaving(area);
    const about::Hover hover =
        about::HoverOf(ElementAt(area, PointOf(lParam)), WallpaperPathExists());
    TakeHover(area, hover);
    SetHandCursor(hover.handCursor);
}

void OnMouseLeave(HWND area) {
    g_about.trackingLeave = false;
    TakeHover(area, about::HoverOf(about::Element::None, false));
}

void OnButton(HWND area, LPARAM lParam, bool release) {
    const about::Click click = about::ClickOn(ElementAt(area, PointOf(lParam)), release);
    if (click.handCursor)
        SetCursor(LinkCursor());
    if (click.stopWobble)
        about::StopAtNextTick(g_about.wobble);
    if (click.command) {
        TakeHover(area, about::HoverOf(about::Element::None, false));
        UpdateWindow(area);
        SendMessageA(SettingsWindowOf(area), WM_COMMAND, WPARAM(click.command), 0);
    }
    if (click.toggleWallpaperMode) {
        g_about.wallpaperMode = !g_about.wallpaperMode;
        RedrawWindow(SettingsWindowOf(area), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

// ---- Keyboard -----------------------------------------------------------------------------

LRESULT OnGetDlgCode(HWND area, WPARAM wParam, LPARAM lParam) {
    if (CurrentTab() == SettingsTab::About && GetFocus() != area)
        return controls::kWantTab;
    return DefWindowProcA(area, WM_GETDLGCODE, wParam, lParam);
}

void OnKillFocus(HWND area, HWND newFocus) {
    const bool withinWindow = newFocus && IsChild(SettingsWindowOf(area), newFocus);
    if (g_about.focus.Leave(withinWindow))
        PostMessageA(area, kRetakeFocus, 0, 0);
    InvalidateRect(area, nullptr, FALSE);
}

// The link's command, and the focus goes to the tab control, from where the
// next tab starts on the update link again.
void FollowFocusedLink(HWND area) {
    HWND window = SettingsWindowOf(area);
    SendMessageA(window, WM_COMMAND, WPARAM(g_about.focus.Command()), 0);
    InvalidateRect(area, nullptr, FALSE);
    g_about.focus.onUpdateLink = false; // leaving: the focus is not taken back
    SetFocus(ControlHandle(IDC_TABS));
    g_about.focus.onUpdateLink = true;
}

} // namespace

LRESULT CALLBACK AboutAreaProc(HWND area, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        PaintArea(area);
        return 0;
    case WM_TIMER:
        OnTimer(area, wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(area, lParam);
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave(area);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT)
            break;
        SetHandCursor(g_about.hover.handCursor);
        return TRUE;
    case WM_LBUTTONDOWN:
        OnButton(area, lParam, false);
        return 0;
    case WM_LBUTTONUP:
        OnButton(area, lParam, true);
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(area, wParam, lParam);
    case WM_SETFOCUS:
        InvalidateRect(area, nullptr, FALSE);
        break;
    case WM_KILLFOCUS:
        OnKillFocus(area, reinterpret_cast<HWND>(wParam));
        break;
    case kRetakeFocus:
        SetFocus(area);
        return 0;
    case WM_KEYUP:
        if (controls::FollowsLink(unsigned(wParam)))
            FollowFocusedLink(area);
        return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
        return 0;
    }
    return DefWindowProcA(area, message, wParam, lParam);
}

void RememberAboutCredits(HWND settingsWindow) {
    char text[kMaxText + 1] = "";
    GetDlgItemTextA(settingsWindow, IDC_ABOUT_TEXT, text, sizeof text);
    g_about.credits = text;
}
