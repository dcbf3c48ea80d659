#include "ui/about_area.h"

#include <cstdio>
#include <cstdlib>

#include "base/dpi.h"
#include "colours/stretched_wallpaper.h"

namespace about {

namespace {

// Distances of the drawing at 96 DPI.
constexpr Rect kIconAreaMargins = {7, 3, 10, 21}; // left, up, right, down
constexpr int kLegalWidening = 2;
constexpr int kButtonPadding = 6;
constexpr Point kPictureInButton = {3, 2};
constexpr Point kButtonMoveInWallpaperMode = {-215, 100};
constexpr Rect kWallpaperVersionPlace = {160, 1, 325, 15};
constexpr int kLinkBoxMargin = 1;
constexpr int kCopyCut = 7;
constexpr int kAmplitudeDecrease = 4;

constexpr Wobble kWobbleAtRest{};

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

Rect Grown(const Rect& rect, int left, int up, int right, int down) {
    return {rect.left - left, rect.top - up, rect.right + right, rect.bottom + down};
}

Rect Scaled(const Rect& rect, int dpi) {
    return {ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.right, dpi),
            ScaleToDpi(rect.bottom, dpi)};
}

Rect AtSize(Point corner, Size size) {
    return {corner.x, corner.y, corner.x + size.width, corner.y + size.height};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsMonth(std::string_view text) {
    for (const char* month : kMonths) {
        if (text == month)
            return true;
    }
    return false;
}

} // namespace

bool Contains(const Rect& rect, Point point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

Layout LayOut(const TemplateRects& places, Size donationPicture, bool wallpaperMode, int dpi) {
    Layout layout;
    layout.icon = places.icon;
    const Rect margins = Scaled(kIconAreaMargins, dpi);
    layout.iconArea = Grown(places.icon, margins.left, margins.top, margins.right, margins.bottom);
    layout.name = places.name;
    layout.title = places.title;
    layout.version = places.version;
    layout.wallpaperVersion = Scaled(kWallpaperVersionPlace, dpi);
    layout.licence = places.licence;
    layout.text = places.text;
    const int widening = ScaleToDpi(kLegalWidening, dpi);
    layout.legal = {places.legal.left - widening, places.legal.top, places.legal.right + widening,
                    places.legal.top + 2 * places.legal.Height()};
    const Size picture{ScaleToDpi(donationPicture.width, dpi),
                       ScaleToDpi(donationPicture.height, dpi)};
    const int padding = ScaleToDpi(kButtonPadding, dpi);
    Point corner{places.donation.left, places.donation.top};
    if (wallpaperMode) {
        corner.x += ScaleToDpi(kButtonMoveInWallpaperMode.x, dpi);
        corner.y += ScaleToDpi(kButtonMoveInWallpaperMode.y, dpi);
    }
    layout.donation = AtSize(corner, {picture.width + padding, picture.height + padding});
    layout.donationPicture = AtSize({corner.x + ScaleToDpi(kPictureInButton.x, dpi),
                                     corner.y + ScaleToDpi(kPictureInButton.y, dpi)},
                                    picture);
    layout.updateLink = places.updateLink;
    layout.emailLink = places.emailLink;
    return layout;
}

Rect LinkBox(const Rect& link, int dpi) {
    const int margin = ScaleToDpi(kLinkBoxMargin, dpi);
    return Grown(link, margin, margin, margin, margin);
}

int CopiedWidth(int clientWidth, int dpi) {
    const int width = clientWidth - ScaleToDpi(kCopyCut, dpi);
    return width > 0 ? width : 0;
}

bool ShowsWallpaper(bool wallpaperMode, bool wallpaperPathExists, bool activeDesktop) {
    return wallpaperMode && wallpaperPathExists && !activeDesktop;
}

Rect StretchedPicturePlace(Size area, Size picture, bool userWallpaper, bool innerDimension) {
    if (!userWallpaper)
        return AtSize({0, 0}, area);
    const colors::PictureSize size = colors::ComputeStretchedSize(
        {picture.width, picture.height}, {area.width, area.height}, innerDimension);
    return AtSize({(area.width - size.width) / 2, (area.height - size.height) / 2},
                  {size.width, size.height});
}

NameStyle StyleOfName(bool wallpaperMode, bool blink, bool wallpaperPathExists,
                      std::uint32_t listText, std::optional<std::uint32_t> listBack,
                      std::uint32_t desktopColor) {
    NameStyle style;
    style.transparent = wallpaperMode || blink;
    if (blink) {
        style.text = 0xFFFFFF;
        return style;
    }
    style.text = listText;
    style.box = true;
    style.boxColor = listBack.value_or(desktopColor);
    if (!wallpaperMode || !wallpaperPathExists)
        style.boxColor = kBuiltInNameBox;
    return style;
}

bool StepWobble(Wobble& wobble) {
    wobble.offset += wobble.step;
    if (std::abs(wobble.offset) >= wobble.amplitude) {
        wobble.amplitude -= kAmplitudeDecrease;
        wobble.offset = wobble.step * wobble.amplitude;
        wobble.step = -wobble.step;
        if (wobble.amplitude <= 0) {
            wobble = kWobbleAtRest;
            return false;
        }
    }
    return true;
}

void StopAtNextTick(Wobble& wobble) {
    wobble.amplitude = 0;
}

Element HitTest(const Layout& layout, Point point, bool wallpaperMode) {
    if (Contains(layout.updateLink, point))
        return Element::UpdateLink;
    if (Contains(layout.emailLink, point))
        return Element::EmailLink;
    if (Contains(layout.title, point))
        return Element::TitleBox;
    if (Contains(layout.donation, point))
        return Element::Donation;
    if (!wallpaperMode && Contains(layout.text, point))
        return Element::AboutText;
    if (Contains(layout.iconArea, point))
        return Element::IconArea;
    return Element::None;
}

Hover HoverOf(Element element, bool wallpaperPathExists) {
    Hover hover;
    switch (element) {
    case Element::UpdateLink:
        hover.link = controls::Link::CheckVersion;
        hover.handCursor = true;
        break;
    case Element::EmailLink:
        hover.link = controls::Link::EmailSupport;
        hover.handCursor = true;
        break;
    case Element::Donation:
    case Element::AboutText:
        hover.appeal = true;
        hover.handCursor = true;
        break;
    case Element::IconArea:
        hover.icon = true;
        hover.handCursor = wallpaperPathExists;
        break;
    case Element::TitleBox:
    case Element::None:
        break;
    }
    return hover;
}

Click ClickOn(Element element, bool release) {
    Click click;
    switch (element) {
    case Element::UpdateLink:
        click.command = release ? kCheckVersionCommand : 0;
        click.handCursor = true;
        break;
    case Element::EmailLink:
        click.command = release ? kEmailSupportCommand : 0;
        click.handCursor = true;
        break;
    case Element::Donation:
    case Element::AboutText:
        click.command = release ? kDonateCommand : 0;
        click.handCursor = true;
        break;
    case Element::TitleBox:
        click.stopWobble = true;
        break;
    case Element::IconArea:
        click.toggleWallpaperMode = release;
        click.handCursor = true;
        break;
    case Element::None:
        break;
    }
    return click;
}

bool KeyboardFocus::Leave(bool withinWindow) {
    if (!withinWindow)
        return false;
    const bool takeBack = onUpdateLink;
    onUpdateLink = !onUpdateLink;
    return takeBack;
}

int KeyboardFocus::Command() const {
    return onUpdateLink ? kCheckVersionCommand : kEmailSupportCommand;
}

std::string ReleaseDate(std::string_view compilerDate) {
    if (compilerDate.size() != 11 || !IsMonth(compilerDate.substr(0, 3)) ||
        compilerDate[3] != ' ' || compilerDate[6] != ' ')
        return "";
    const char tens = compilerDate[4] == '0' ? ' ' : compilerDate[4];
    const char ones = compilerDate[5];
    if ((tens != ' ' && !IsDigit(tens)) || !IsDigit(ones) || (tens == ' ' && ones == '0'))
        return "";
    for (char c : compilerDate.substr(7))
        if (!IsDigit(c))
            return "";
    std::string date(compilerDate);
    date[4] = tens;
    return date;
}

std::string VersionLine(std::string_view version, std::string_view releaseDate) {
    return "Version " + std::string(version) + "  -- " + std::string(releaseDate) + " ";
}

} // namespace about
