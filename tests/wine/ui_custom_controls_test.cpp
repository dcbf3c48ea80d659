// The self-drawn controls of the real Tessara.exe on screen, at 100 %, 150 %
// and 200 % scaling: the caption preview on the Colors page in the colours of
// the settings, the links red under the pointer and blue away from it, and
// the drawn About page with its donation appeal.
#include "tests/wine/app_program.h"
#include "tests/wine/hiding_program.h"
#include "ui/about_area.h"
#include "ui/settings_pages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

namespace {

RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The pixels of `rect` (screen coordinates) that satisfy `test`, and the
// height of the rows they lie in.
struct PixelCount {
    int count = 0;
    int height = 0;
};

PixelCount CountPixels(const harness::Image& screen, const RECT& rect,
                       const std::function<bool(COLORREF)>& test) {
    PixelCount result;
    int top = rect.bottom, bottom = rect.top;
    for (int y = std::max(0L, rect.top); y < std::min<long>(rect.bottom, screen.height); ++y) {
        for (int x = std::max(0L, rect.left); x < std::min<long>(rect.right, screen.width); ++x) {
            if (!test(screen.Pixel(x, y)))
                continue;
            ++result.count;
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
    }
    result.height = result.count ? bottom - top : 0;
    return result;
}

std::function<bool(COLORREF)> Is(COLORREF color) {
    return [color](COLORREF pixel) { return pixel == color; };
}

// Within a small distance in each channel: halftone stretching blends.
std::function<bool(COLORREF)> Near(COLORREF color, int tolerance) {
    return [=](COLORREF pixel) {
        return std::abs(int(GetRValue(pixel)) - int(GetRValue(color))) <= tolerance &&
               std::abs(int(GetGValue(pixel)) - int(GetGValue(color))) <= tolerance &&
               std::abs(int(GetBValue(pixel)) - int(GetBValue(color))) <= tolerance;
    };
}

int Area(const RECT& rect) {
    return (rect.right - rect.left) * (rect.bottom - rect.top);
}

int AtDpi(int pixels, int dpi) {
    return pixels * dpi / 96;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class CustomControlsTest : public app_test::ProgramTest {
  protected:
    void SetUp() override { ASSERT_TRUE(shell_.Start()); }

    HWND Window() const { return tessara_.Window(); }
    HWND Control(int id) const { return GetDlgItem(Window(), id); }

    void SelectTab(SettingsTab tab) {
        tessara_.SelectTab(tab);
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    // Polls the screen until `test` holds for the pixels in `rect`.
    bool WaitForPixels(const RECT& rect, const std::function<bool(const PixelCount&)>& holds,
                       const std::function<bool(COLORREF)>& test) {
        return harness::WaitUntil(
            [&] { return holds(CountPixels(harness::CaptureScreen(), rect, test)); }, 5000);
    }

    // Where the About area draws the element of template control `id`, on
    // the screen: its place relative to the About frame, from the area's
    // top-left corner.
    RECT AboutElement(int id) const {
        const RECT frame = WindowRectOf(Control(IDC_FRAME_ABOUT));
        const RECT area = WindowRectOf(Control(IDC_ABOUT_AREA));
        RECT rect = WindowRectOf(Control(id));
        OffsetRect(&rect, area.left - frame.left, area.top - frame.top);
        return rect;
    }

    // With the pointer at `at`, the link's text shows in `shown` and nowhere
    // in `gone`, in one look at the screen. Under Wine the pointer may jump
    // back after input from another process (see hiding_program.h), so it
    // is put at its place again before every look.
    bool LinkShows(const RECT& link, COLORREF shown, COLORREF gone, POINT at) {
        return harness::WaitUntil(
            [&] {
                harness::MoveMouse(at);
                const harness::Image screen = harness::CaptureScreen();
                return CountPixels(screen, link, Is(shown)).count >= 10 &&
                       CountPixels(screen, link, Is(gone)).count == 0;
            },
            5000);
    }

    // A point of the settings window away from every control: between the
    // FAQ link and the "Hi&de" button.
    POINT AwayFromTheLinks() const {
        const RECT faq = WindowRectOf(Control(IDC_FAQ_LINK));
        const RECT hide = WindowRectOf(Control(IDC_HIDE_WINDOW));
        return {(faq.right + hide.left) / 2, (faq.top + faq.bottom) / 2};
    }
};

struct Scaling {
    DWORD dpi;
    COLORREF text;
    COLORREF back;
};

} // namespace

TEST_F(CustomControlsTest, PreviewLinksAndAboutPageAtEachScaling) {
    const Scaling scalings[] = {
        {96, RGB(255, 0, 0), RGB(0, 0, 255)},
        {144, RGB(255, 255, 0), RGB(0, 128, 0)},
        {192, RGB(0, 0, 0), RGB(255, 128, 0)},
    };
    for (const Scaling& scaling : scalings) {
        SCOPED_TRACE(scaling.dpi);
        const int dpi = int(scaling.dpi);
        app_test::LogPixelsGuard logPixels(scaling.dpi);
        Settings record = SettingsTemplate();
        record.TextColor = int32_t(scaling.text);
        record.TextBackColor = int32_t(scaling.back);
        record.TransparentText = 0;
        record.AutoTextColor = 0;
        record.AutoResample = 0;
        StartProgram(record);
        harness::MoveMouse({0, GetSystemMetrics(SM_CYSCREEN) - 1});

        // The preview: the text in the text colour on the background colour.
        SelectTab(SettingsTab::Colors);
        const RECT sample = WindowRectOf(Control(IDC_SAMPLE_TEXT));
        EXPECT_TRUE(WaitForPixels(
            sample, [&](const PixelCount& n) { return n.count > Area(sample) / 2; },
            Is(scaling.back)))
            << "solid background";
        const PixelCount text = CountPixels(harness::CaptureScreen(), sample, Is(scaling.text));
        EXPECT_GE(text.count, 20) << "caption text drawn";
        EXPECT_GE(text.height, AtDpi(6, dpi)) << "text scaled with the DPI";
        harness::Screenshot("ui_custom_preview_solid_" + std::to_string(dpi));
        // Transparent: the text sits on the desktop (Wine's PaintDesktop is white).
        SendMessageA(Control(IDC_TRANSPARENT), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitForPixels(
            sample, [&](const PixelCount& n) { return n.count > Area(sample) / 2; },
            Is(RGB(255, 255, 255))))
            << "desktop behind the text";
        EXPECT_EQ(CountPixels(harness::CaptureScreen(), sample, Is(scaling.back)).count, 0);
        EXPECT_GE(CountPixels(harness::CaptureScreen(), sample, Is(scaling.text)).count, 20);
        harness::Screenshot("ui_custom_preview_transparent_" + std::to_string(dpi));

        // The links: red under the pointer, blue away from it.
        const RECT web = WindowRectOf(Control(IDC_WEB_PAGE_LINK));
        EXPECT_TRUE(LinkShows(web, kRed, kBlue, Centre(web))) << "red under the pointer";
        harness::Screenshot("ui_custom_link_hover_" + std::to_string(dpi));
        EXPECT_TRUE(LinkShows(web, kBlue, kRed, AwayFromTheLinks())) << "blue again";
        EXPECT_GE(CountPixels(harness::CaptureScreen(), web, Is(kBlue)).height, AtDpi(6, dpi))
            << "text scaled with the DPI";

        // The About page: the picture, the title box and the credits box.
        SelectTab(SettingsTab::About);
        const RECT area = WindowRectOf(Control(IDC_ABOUT_AREA));
        std::set<COLORREF> colors;
        CountPixels(harness::CaptureScreen(), area, [&](COLORREF pixel) {
            colors.insert(pixel);
            return true;
        });
        EXPECT_GE(colors.size(), 30u) << "the picture";
        const RECT title = AboutElement(IDC_ABOUT_TITLE);
        EXPECT_GE(
            CountPixels(harness::CaptureScreen(), title, Is(COLORREF(about::kTextFill))).count,
            Area(title) / 3);
        const RECT donation = AboutElement(IDC_DONATE_BUTTON);
        EXPECT_GE(
            CountPixels(harness::CaptureScreen(), donation, Near(RGB(0xD0, 0x20, 0x30), 24)).count,
            AtDpi(20, dpi))
            << "the heart of the donation picture";
        harness::Screenshot("ui_custom_about_" + std::to_string(dpi));
        // The pointer on the credits brings the appeal on its yellow box.
        const RECT credits = AboutElement(IDC_ABOUT_TEXT);
        const POINT overCredits = Centre(credits);
        harness::MoveMouse(overCredits);
        EXPECT_TRUE(WaitForPixels(
            credits, [&](const PixelCount& n) { return n.count > Area(credits) / 3; },
            Is(COLORREF(about::kAppealFill))));
        harness::Screenshot("ui_custom_about_appeal_" + std::to_string(dpi));
        const RECT update = AboutElement(IDC_CHECK_VERSION);
        const POINT overUpdate = Centre(update);
        harness::MoveMouse(overUpdate);
        EXPECT_TRUE(WaitForPixels(
            update, [](const PixelCount& n) { return n.count >= 10; }, Is(kRed)));
        EXPECT_EQ(
            CountPixels(harness::CaptureScreen(), credits, Is(COLORREF(about::kAppealFill))).count,
            0)
            << "the credits are back";
        // A click on the icon shows the page over the user's wallpaper, with
        // neither credits box nor title box; a second click brings them back.
        const RECT icon = AboutElement(IDC_ABOUT_ICON);
        const auto textFill = Is(COLORREF(about::kTextFill));
        harness::Click(Centre(icon));
        EXPECT_TRUE(WaitForPixels(
            credits, [](const PixelCount& n) { return n.count == 0; }, textFill));
        EXPECT_EQ(CountPixels(harness::CaptureScreen(), title, textFill).count, 0);
        harness::Screenshot("ui_custom_about_wallpaper_mode_" + std::to_string(dpi));
        harness::Click(Centre(icon));
        EXPECT_TRUE(WaitForPixels(
            title, [&](const PixelCount& n) { return n.count > Area(title) / 3; }, textFill));
        EXPECT_EQ(tessara_.Exit(), std::optional<DWORD>(0));
    }
}
