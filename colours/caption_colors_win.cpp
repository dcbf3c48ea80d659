#include "colours/caption_colors_win.h"

#include "base/app_state.h"
#include "base/handles.h"
#include "base/instance_data.h"
#include "colours/color_notes_win.h"
#include "colours/desktop_lock_win.h"
#include "colours/stretched_wallpaper_win.h"
#include "colours/wallpaper_analysis_win.h"
#include "deskhook/deskhook.h"
#include "desklink/desk_link.h"
#include "desklink/icon_lock.h"
#include "settings/settings.h"

#include <atomic>
#include <optional>

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

std::atomic<bool> g_forceResample{false};
std::atomic<bool> g_suppressResample{false};
// A sample found the desktop without icons. The worker says so only once it
// has unlocked the desktop's drawing: a box waiting for the user must not
// leave the desktop unpainted under it.
std::atomic<bool> g_noIconsFound{false};

// What ApplyCaptionColors last wrote; nothing before its first call.
struct AppliedColors {
    COLORREF text;
    COLORREF back;
    bool transparent;
    bool activeDesktop;

    bool operator==(const AppliedColors& o) const {
        return text == o.text && back == o.back && transparent == o.transparent &&
               activeDesktop == o.activeDesktop;
    }
};
std::optional<AppliedColors> g_applied;

// What the last worker run started from: the settings, the wallpaper file
// and its layout. The run's own changes count as changes too, which costs at
// most one more run that then changes nothing.
struct WorkInputs {
    SettingsBytes settings{};
    colors::WallpaperFileState file;
    DWORD tile = 0;
    DWORD style = 0;

    bool operator==(const WorkInputs& o) const {
        return settings == o.settings && file == o.file && tile == o.tile && style == o.style;
    }
};
std::optional<WorkInputs> g_lastRunInputs;

WorkInputs CurrentWorkInputs() {
    return {SerializeSettings(g_settings), CurrentWallpaperFile(),
            RegReadDWord(kDesktopKey, "TileWallpaper"),
            RegReadDWord(kDesktopKey, "WallpaperStyle")};
}

colors::WallpaperLayout CurrentLayout() {
    return colors::LayoutFromRegistry(RegReadDWord(kDesktopKey, "TileWallpaper"),
                                      RegReadDWord(kDesktopKey, "WallpaperStyle"));
}

const char* Caption() {
    return g_app.caption[0] ? g_app.caption : kProgramName;
}

bool NeedsWallpaper(const Settings& s, bool normalize) {
    return s.AutoTextColor || g_forceResample || (s.AutoResample && !s.TransparentText) ||
           s.DeskColorFromWallpaper || normalize;
}

bool ResampleWanted(const Settings& s) {
    return ((s.AutoResample && !s.TransparentText) || g_forceResample) && !g_suppressResample;
}

// The worker's run, with the start counted and its hold on the cache taken.
void RunWallpaperWork(HWND window) {
    g_lastRunInputs = CurrentWorkInputs();
    std::optional<DesktopDrawingLock> locked(std::in_place);
    const bool normalize = g_settings.KeepAspectRatio &&
                           RegReadDWord(kDesktopKey, "WallpaperStyle") == colors::kStyleStretched;
    std::optional<WallpaperPixels> pixels;
    if (NeedsWallpaper(g_settings, normalize)) {
        pixels.emplace(window);
        if (normalize && pixels->loaded())
            NormalizeStretchedWallpaper(window);
    }
    SetDesktopColorFromWallpaper(window);
    if (ResampleWanted(g_settings)) {
        SendColorNote(window, ColorNote::ResampleStarts);
        COLORREF back = COLORREF(g_settings.TextBackColor);
        ResampleTextBackground(window, back);
        g_settings.TextBackColor = int32_t(back);
    }
    g_forceResample = false;
    if (!g_settings.AutoTextColor)
        g_settings.TextColor = int32_t(UserTextColor);
    ApplyCaptionColors(window);
    SendColorNote(window, ColorNote::DesktopState);
    pixels.reset();
    locked.reset();
    g_suppressResample = false;
    if (g_noIconsFound.exchange(false))
        MessageBoxA(nullptr, "No icons found.\n\nUnable to sample screen colors.", Caption(),
                    MB_ICONERROR);
}

// The start is counted before the thread exists, so that the release timer
// cannot reset the count while the thread is still on its way.
DWORD WINAPI WallpaperChangedWorker(LPVOID) {
    RunWallpaperWork(OwnSettingsWindow());
    EndWallpaperWorkerRun();
    return 0;
}

} // namespace

void RequestResample() {
    g_forceResample = true;
}

void SuppressNextResample() {
    g_suppressResample = true;
}

void ApplyCaptionColors(HWND settingsWindow) {
    const bool activeDesktop = ActiveDesktopOn();
    if (g_settings.AutoTextColor) {
        // Through transparent captions the text stands on the wallpaper itself.
        const COLORREF back =
            g_settings.TransparentText ? SampleAroundIcons() : COLORREF(g_settings.TextBackColor);
        g_settings.TextColor = int32_t(colors::ContrastTextColor(back));
    }
    const AppliedColors wanted{COLORREF(g_settings.TextColor), COLORREF(g_settings.TextBackColor),
                               g_settings.TransparentText != 0, activeDesktop};
    if (g_applied && *g_applied == wanted)
        return;
    if (!SetCaptionColors(wanted.text, wanted.transparent ? CLR_NONE : wanted.back))
        return; // not attached: the next call tries again
    SendColorNote(settingsWindow, ColorNote::CaptionColors);
    g_applied = wanted;
}

COLORREF SampleAroundIcons() {
    const COLORREF desktopColor = GetSysColor(COLOR_BACKGROUND);
    const colors::PixelView picture = CachedWallpaper();
    if (picture.Empty())
        return desktopColor;
    // Without a desktop to answer (the shell restarting, or gone) there is
    // nothing to sample and nothing to tell the user.
    const std::optional<int> answered = AnsweredIconCount();
    if (!answered)
        return desktopColor;
    const int count = *answered;
    if (count == 0) {
        if (!DesktopMovedOffProgman())
            g_noIconsFound = true;
        return desktopColor;
    }
    colors::FrameSampler sampler({picture, CurrentLayout(), GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), desktopColor});
    {
        // No other exchange may overwrite an answer between request and read.
        IconLock lock;
        IconInfo info{};
        for (int i = 0; i < count; ++i)
            if (GetIconInfo(i, info))
                sampler.AddCaption({info.labelRect.left, info.labelRect.top, info.labelRect.right,
                                    info.labelRect.bottom});
    }
    return sampler.Average();
}

void ResampleTextBackground(HWND settingsWindow, COLORREF& color) {
    if (GetWallpaperPath().empty()) {
        color = GetSysColor(COLOR_BACKGROUND);
        return;
    }
    SendColorNote(settingsWindow, ColorNote::ResampleBusy, 1);
    {
        WallpaperPixels pixels(settingsWindow);
        color = SampleAroundIcons();
    }
    SendColorNote(settingsWindow, ColorNote::ResampleBusy, 0);
}

void StartWallpaperWorker(HWND settingsWindow) {
    // Set here, on the window's own thread: a timer cannot be set on a window
    // of another thread.
    SetTimer(settingsWindow, kCacheReleaseTimer, kCacheReleaseMs, nullptr);
    if (!BeginWallpaperWorkerRun())
        return;
    const UniqueHandle thread(
        CreateThread(nullptr, 0, WallpaperChangedWorker, nullptr, 0, nullptr));
    if (!thread)
        EndWallpaperWorkerRun();
}

bool WallpaperWorkOutdated() {
    return g_forceResample || !g_lastRunInputs || !(*g_lastRunInputs == CurrentWorkInputs());
}

colors::DropShadowPollStep PollDropShadows(HWND settingsWindow, bool colorsTabShown) {
    static int remaining = colors::kDropShadowPolls;
    RefreshDesktopListView();
    const SharedBlock* block = DeskBlock();
    const bool danceUnderActiveDesktop = block && block->DanceRunning && ActiveDesktopOn();
    const bool before = DropShadowsOn();
    RefreshDropShadowsOn();
    colors::DropShadowPollStep step =
        colors::DropShadowPollTick(remaining, before != DropShadowsOn(), colorsTabShown);
    step.stopDance = danceUnderActiveDesktop;
    return step;
}
