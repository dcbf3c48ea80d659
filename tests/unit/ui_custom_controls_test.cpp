#include "ui/about_area.h"
#include "ui/custom_controls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using controls::Link;
using controls::LinkColors;
using controls::Only;

// ---- Links -----------------------------------------------------------------------

TEST(UiLinks_Hover, OnlyTheHoveredLinkOfTheGroupTurnsRed) {
    struct Step {
        controls::LinkSet among;
        std::optional<Link> hovered;
        controls::LinkSet changed;
        std::uint32_t webPage, faq, email, update;
    };
    const std::uint32_t B = controls::kLinkBlue;
    const std::uint32_t R = controls::kLinkRed;
    const Step steps[] = {
        {controls::kWindowLinks, std::nullopt, 0, B, B, B, B},
        {controls::kWindowLinks, Link::WebPage, Only(Link::WebPage), R, B, B, B},
        {controls::kWindowLinks, Link::WebPage, 0, R, B, B, B},
        {controls::kWindowLinks, Link::Faq, Only(Link::WebPage) | Only(Link::Faq), B, R, B, B},
        // The About area's tracking leaves the window's links alone.
        {controls::kAboutLinks, Link::EmailSupport, Only(Link::EmailSupport), B, R, R, B},
        {controls::kAboutLinks, Link::CheckVersion,
         Only(Link::EmailSupport) | Only(Link::CheckVersion), B, R, B, R},
        // A link under the pointer turns all others blue.
        {controls::kAllLinks, Link::WebPage,
         Only(Link::WebPage) | Only(Link::Faq) | Only(Link::CheckVersion), R, B, B, B},
        {controls::kWindowLinks, std::nullopt, Only(Link::WebPage), B, B, B, B},
    };
    LinkColors colors;
    int index = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(index++);
        EXPECT_EQ(colors.Hover(step.among, step.hovered), step.changed);
        EXPECT_EQ(colors.Of(Link::WebPage), step.webPage);
        EXPECT_EQ(colors.Of(Link::Faq), step.faq);
        EXPECT_EQ(colors.Of(Link::EmailSupport), step.email);
        EXPECT_EQ(colors.Of(Link::CheckVersion), step.update);
    }
}

TEST(UiLinks_Keys, SpaceAndEnterFollowAFocusedLink) {
    EXPECT_TRUE(controls::FollowsLink(0x20));
    EXPECT_TRUE(controls::FollowsLink(0x0D));
    for (unsigned key : {0x09u, 0x1Bu, 0x41u, 0x25u})
        EXPECT_FALSE(controls::FollowsLink(key)) << key;
    EXPECT_EQ(controls::LinkDialogCode(false), controls::kWantTab);
    EXPECT_EQ(controls::LinkDialogCode(true), 0);
}

// ---- The swinging title ----------------------------------------------------------

TEST(UiAbout_Wobble, SwingsWithShrinkingAmplitudesAndComesToRest) {
    about::Wobble wobble;
    std::vector<int> turns; // the offset at each turn
    int ticks = 0;
    while (about::StepWobble(wobble)) {
        ++ticks;
        ASSERT_LE(std::abs(wobble.offset), 40);
        if (ticks > 1 && wobble.offset == wobble.step * -wobble.amplitude)
            turns.push_back(wobble.offset);
        ASSERT_LT(ticks, 10000);
    }
    EXPECT_EQ(turns, (std::vector<int>{36, -32, 28, -24, 20, -16, 12, -8, 4}));
    EXPECT_EQ(wobble, about::Wobble{}) << "reset at rest";
    // 40 ticks out; then from each amplitude across to the other side, where
    // the next one starts; the last swing ends one tick short, at rest.
    EXPECT_EQ(ticks, 40 + 2 * (36 + 32 + 28 + 24 + 20 + 16 + 12 + 8) + 7);
}

TEST(UiAbout_Wobble, FirstTicksMoveOnePixelRight) {
    about::Wobble wobble;
    for (int expected = 1; expected <= 39; ++expected) {
        ASSERT_TRUE(about::StepWobble(wobble));
        EXPECT_EQ(wobble.offset, expected);
    }
    ASSERT_TRUE(about::StepWobble(wobble));
    EXPECT_EQ(wobble, (about::Wobble{36, -1, 36})) << "turns at 40 with amplitude 36";
}

TEST(UiAbout_Wobble, AClickStopsItAtTheNextTick) {
    for (int ticksBefore : {0, 1, 17, 60, 300}) {
        about::Wobble wobble;
        for (int i = 0; i < ticksBefore; ++i)
            about::StepWobble(wobble);
        about::StopAtNextTick(wobble);
        EXPECT_FALSE(about::StepWobble(wobble)) << ticksBefore;
        EXPECT_EQ(wobble, about::Wobble{});
    }
}

// ---- Layout ------------------------------------------------------------------------

about::TemplateRects Places() {
    about::TemplateRects places;
    places.icon = {18, 55, 50, 87};
    places.name = {3, 90, 66, 105};
    places.title = {81, 11, 239, 47};
    places.version = {9, 122, 311, 135};
    places.licence = {9, 138, 311, 151};
    places.text = {18, 157, 228, 190};
    places.legal = {9, 196, 311, 209};
    places.donation = {240, 157, 300, 190};
    places.updateLink = {104, 62, 239, 78};
    places.emailLink = {104, 83, 239, 99};
    return places;
}

TEST(UiAbout_Layout, FixedDistancesScaleWithTheDpi) {
    struct Case {
        int dpi;
        about::Rect iconArea, legal, donation, picture, wallpaperVersion;
    } cases[] = {
        {96,
         {11, 52, 60, 108},
         {7, 196, 313, 222},
         {240, 157, 298, 194},
         {243, 159, 295, 190},
         {160, 1, 325, 15}},
        {144,
         {7, 50, 65, 119},
         {6, 196, 314, 222},
         {240, 157, 327, 213},
         {245, 160, 323, 207},
         {240, 2, 488, 23}},
        {192,
         {4, 49, 70, 129},
         {5, 196, 315, 222},
         {240, 157, 356, 231},
         {246, 161, 350, 223},
         {320, 2, 650, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const about::Layout layout = about::LayOut(Places(), {52, 31}, false, c.dpi);
        EXPECT_EQ(layout.iconArea, c.iconArea);
        EXPECT_EQ(layout.legal, c.legal);
        EXPECT_EQ(layout.donation, c.donation);
        EXPECT_EQ(layout.donationPicture, c.picture);
        EXPECT_EQ(layout.wallpaperVersion, c.wallpaperVersion);
        EXPECT_EQ(layout.title, Places().title) << "template places are taken as they are";
    }
}

TEST(UiAbout_Layout, WallpaperModeMovesTheDonationButton) {
    const about::Layout at96 = about::LayOut(Places(), {52, 31}, true, 96);
    EXPECT_EQ(at96.donation, (about::Rect{25, 257, 83, 294}));
    EXPECT_EQ(at96.donationPicture, (about::Rect{28, 259, 80, 290}));
    const about::Layout at192 = about::LayOut(Places(), {52, 31}, true, 192);
    EXPECT_EQ(at192.donation, (about::Rect{-190, 357, -74, 431}));
}

TEST(UiAbout_Layout, LinkBoxAndCopiedWidth) {
    EXPECT_EQ(about::LinkBox({10, 20, 30, 40}, 96), (about::Rect{9, 19, 31, 41}));
    EXPECT_EQ(about::LinkBox({10, 20, 30, 40}, 192), (about::Rect{8, 18, 32, 42}));
    EXPECT_EQ(about::CopiedWidth(300, 96), 293);
    EXPECT_EQ(about::CopiedWidth(450, 144), 439);
    EXPECT_EQ(about::CopiedWidth(5, 96), 0);
}

// ---- Background --------------------------------------------------------------------

TEST(UiAbout_Background, WallpaperOnlyInItsModeWithAPathAndNoActiveDesktop) {
    struct Case {
        bool mode, path, activeDesktop, shows;
    } cases[] = {
        {true, true, false, true}, {false, true, false, false}, {true, false, false, false},
        {true, true, true, false}, {false, false, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::ShowsWallpaper(c.mode, c.path, c.activeDesktop), c.shows)
            << c.mode << c.path << c.activeDesktop;
}

TEST(UiAbout_Background, BuiltInPictureFillsTheAreaTheWallpaperKeepsItsProportions) {
    struct Case {
        about::Size area, picture;
        bool wallpaper, inner;
        about::Rect place;
    } cases[] = {
        {{300, 200}, {320, 240}, false, false, {0, 0, 300, 200}},
        {{300, 200}, {800, 600}, true, false, {17, 0, 283, 200}},
        {{300, 200}, {800, 600}, true, true, {0, -12, 300, 213}},
        {{300, 200}, {1000, 250}, true, false, {0, 62, 300, 137}},
        {{300, 200}, {0, 0}, true, false, {150, 100, 150, 100}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::StretchedPicturePlace(c.area, c.picture, c.wallpaper, c.inner), c.place)
            << c.picture.width << "x" << c.picture.height << " " << c.wallpaper << c.inner;
}

TEST(UiAbout_Name, CaptionStyleFollowsModeAndBlink) {
    const std::uint32_t text = 0x00FFFFFF, back = 0x00112233, desk = 0x00445566;
    struct Case {
        bool mode, blink, path;
        std::optional<std::uint32_t> listBack;
        about::NameStyle style;
    } cases[] = {
        // Blinking: white text, no box, transparent.
        {false, true, true, back, {true, false, 0xFFFFFF, 0}},
        {true, true, true, back, {true, false, 0xFFFFFF, 0}},
        // Built-in picture: the fixed green box, opaque.
        {false, false, true, back, {false, true, text, about::kBuiltInNameBox}},
        // Over the wallpaper: the list view's colours, transparent.
        {true, false, true, back, {true, true, text, back}},
        {true, false, true, std::nullopt, {true, true, text, desk}},
        // Wallpaper mode without a wallpaper shows the built-in picture.
        {true, false, false, back, {true, true, text, about::kBuiltInNameBox}},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(index++);
        const about::NameStyle style =
            about::StyleOfName(c.mode, c.blink, c.path, text, c.listBack, desk);
        EXPECT_EQ(style.transparent, c.style.transparent);
        EXPECT_EQ(style.box, c.style.box);
        EXPECT_EQ(style.text, c.style.text);
        if (c.style.box)
            EXPECT_EQ(style.boxColor, c.style.boxColor);
    }
}

// ---- Pointer and keyboard ----------------------------------------------------------

TEST(UiAbout_HitTest, EachElementAndTheAboutTextOnlyWhereDrawn) {
    const about::Layout layout = about::LayOut(Places(), {52, 31}, false, 96);
    struct Case {
        about::Point point;
        bool wallpaperMode;
        about::Element element;
    } cases[] = {
        {{110, 70}, false, about::Element::UpdateLink},
        {{238, 98}, false, about::Element::EmailLink},
        {{239, 98}, false, about::Element::None},
        {{81, 11}, false, about::Element::TitleBox},
        {{297, 193}, false, about::Element::Donation},
        {{20, 160}, false, about::Element::AboutText},
        {{20, 160}, true, about::Element::None},
        {{11, 52}, false, about::Element::IconArea},
        {{59, 107}, false, about::Element::IconArea},
        {{60, 107}, false, about::Element::None},
        {{5, 5}, false, about::Element::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::HitTest(layout, c.point, c.wallpaperMode), c.element)
            << c.point.x << "," << c.point.y << " mode " << c.wallpaperMode;
}

TEST(UiAbout_Hover, WhatThePointerShows) {
    using about::Element;
    struct Case {
        Element element;
        bool path;
        about::Hover hover;
    } cases[] = {
        {Element::UpdateLink, false, {Link::CheckVersion, false, false, true}},
        {Element::EmailLink, false, {Link::EmailSupport, false, false, true}},
        {Element::Donation, false, {std::nullopt, false, true, true}},
        {Element::AboutText, false, {std::nullopt, false, true, true}},
        {Element::IconArea, true, {std::nullopt, true, false, true}},
        {Element::IconArea, false, {std::nullopt, true, false, false}},
        {Element::TitleBox, true, {}},
        {Element::None, true, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::HoverOf(c.element, c.path), c.hover) << int(c.element) << c.path;
}

TEST(UiAbout_Click, CommandsOnReleaseTheTitleStopsOnBoth) {
    using about::Element;
    struct Case {
        Element element;
        bool release;
        about::Click click;
    } cases[] = {
        {Element::UpdateLink, false, {0, false, false, true}},
        {Element::UpdateLink, true, {about::kCheckVersionCommand, false, false, true}},
        {Element::EmailLink, true, {about::kEmailSupportCommand, false, false, true}},
        {Element::Donation, true, {about::kDonateCommand, false, false, true}},
        {Element::AboutText, true, {about::kDonateCommand, false, false, true}},
        {Element::AboutText, false, {0, false, false, true}},
        {Element::TitleBox, false, {0, true, false, false}},
        {Element::TitleBox, true, {0, true, false, false}},
        {Element::IconArea, false, {0, false, false, true}},
        {Element::IconArea, true, {0, false, true, true}},
        {Element::None, true, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::ClickOn(c.element, c.release), c.click) << int(c.element) << c.release;
}

TEST(UiAbout_Keyboard, TwoStopsThenOnAndAwayFromOtherWindows) {
    about::KeyboardFocus focus;
    EXPECT_EQ(focus.Command(), about::kCheckVersionCommand);
    EXPECT_TRUE(focus.Leave(true)) << "the first tab moves on to the e-mail link";
    EXPECT_EQ(focus.Command(), about::kEmailSupportCommand);
    EXPECT_FALSE(focus.Leave(true)) << "the second tab leaves the area";
    EXPECT_EQ(focus.Command(), about::kCheckVersionCommand);
    // A message box or another program takes the focus: let go, stop kept.
    EXPECT_FALSE(focus.Leave(false));
    EXPECT_EQ(focus.Command(), about::kCheckVersionCommand);
    EXPECT_TRUE(focus.Leave(true));
    EXPECT_FALSE(focus.Leave(false));
    EXPECT_EQ(focus.Command(), about::kEmailSupportCommand);
}

// ---- Texts -----------------------------------------------------------------------------

TEST(UiAbout_Texts, ReleaseDateAndVersionLine) {
    struct Case {
        const char* compiler;
        const char* date;
    } cases[] = {
        {"Dec  7 2026", "Dec  7 2026"},
        {"Jan 15 2025", "Jan 15 2025"},
        {"Sep 07 2024", "Sep  7 2024"},
        {"Foo  7 2026", ""},
        {"Dec  0 2026", ""},
        {"Dec 7 2026", ""},
        {"Dec  7 20x6", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::ReleaseDate(c.compiler), c.date) << c.compiler;
    EXPECT_EQ(about::VersionLine("1.0.0", "Dec  7 2026"), "Version 1.0.0  -- Dec  7 2026 ");
}

} // namespace
