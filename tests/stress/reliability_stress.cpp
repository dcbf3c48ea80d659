// Reliability figures of Tessara.exe against the stand-in desktop shell, one
// line each: killed at random moments, desktop restarts, interrupted saves, a
// hung Tessara, and memory after an hour's worth of ticks.
//
//   testbed/wine/wine-env run build/wine build/x86_64/bin/reliability_stress.exe [-short] [-seed N]
//
// The long run (scripts/stress.sh) does 50 kills, 20 restarts and many
// interrupted saves; "-short" does a few of each, for the test command. The
// exit code is 0 when every promise held; what broke goes to stderr.
#include "base/instance_data.h"
#include "deskhook/deskhook.h"
#include "desklink/desk_link.h"
#include "base/timers.h"
#include "icons/icon_registry.h"
#include "icons/icon_store.h"
#include "tests/wine/app_program.h"
#include "tests/wine/colors_wine.h"
#include "tests/wine/context_menu_wine.h"

#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

// ---- Run parameters -----------------------------------------------------------

struct RunSize {
    int kills;
    int restarts;
    int settingsSaves; // kills while the Settings record is written
    int layoutSaves;   // kills while "-save" writes a layout
    int hungTrials;
    int ticks;
};

constexpr RunSize kLongRun{50, 20, 15, 15, 10, 36000}; // 36000 ticks of 100 ms: an hour
constexpr RunSize kShortRun{5, 3, 2, 2, 2, 400};

constexpr DWORD kAnswerLimitMs = 100; // the desktop answers a message
constexpr DWORD kHungLimitMs = 500;   // the desktop answers with Tessara suspended
constexpr DWORD kRecoveryMs = 5000;   // the desktop side notices its owner gone
constexpr int kIcons = 12;

std::mt19937 random;

DWORD RandomMs(DWORD upTo) {
    return std::uniform_int_distribution<DWORD>(0, upTo)(random);
}

class Stopwatch {
  public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double Ms() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return double(now.QuadPart - start_.QuadPart) * 1000.0 / double(frequency.QuadPart);
    }

  private:
    LARGE_INTEGER start_;
};

// What broke, for stderr and the exit code.
std::vector<std::string> g_faults;

void Fault(const std::string& what) {
    g_faults.push_back(what);
    std::fprintf(stderr, "FAULT: %s\n", what.c_str());
    std::fflush(stderr);
}

void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

// ---- The desktop and Tessara ------------------------------------------------

Settings Record() {
    Settings record = SettingsTemplate();
    record.ContextMenu = 1;
    return record;
}

// Time of one WM_NULL sent to `window`, or a negative value when it did not
// answer within `limitMs`.
double AnswerMs(HWND window, DWORD limitMs) {
    Stopwatch clock;
    DWORD_PTR ignored;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, limitMs, &ignored))
        return -1;
    return clock.Ms();
}

struct Attach {
    bool attached = false;
    bool firstTry = false; // the status line never counted down attempts
};

// Starts a Tessara.exe and waits until it has attached to the desktop.
Attach StartTessara(app_test::Tessara& tessara, harness::Shell& shell) {
    Attach result;
    if (!tessara.Start() || !tessara.WaitForWindow())
        return result;
    bool retried = false;
    result.attached = harness::WaitUntil(
        [&] {
            retried = retried || tessara.StatusLine().find("Attempting") != std::string::npos;
            return shell.IsListViewSubclassed() && shell.IsViewSubclassed();
        },
        app_test::kAttachMs);
    result.firstTry = result.attached && !retried;
    return result;
}

// Starts one unless it runs; true when one runs attached.
bool EnsureTessara(app_test::Tessara& tessara, harness::Shell& shell) {
    if (tessara.Process().Running())
        return shell.IsListViewSubclassed();
    return StartTessara(tessara, shell).attached;
}

// Ends it as the tray's "Exit" does; kills it if that does not work.
void EndTessara(app_test::Tessara& tessara) {
    if (!tessara.Process().Running())
        return;
    if (!tessara.Exit())
        tessara.Process().Terminate();
}

bool TrayIconPresent(HWND window) {
    // The taskbar accepts a change of nothing only for an icon it holds.
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = window;
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

bool ContextMenuHasOurSubmenu(const harness::Shell& shell) {
    const auto items = context_menu_test::OpenMenu(shell);
    const bool found = context_menu_test::Find(items, context_menu_test::kSubmenuText).has_value();
    context_menu_test::CloseMenu(shell);
    return found;
}

SIZE_T WorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

double Mb(SIZE_T bytes) {
    return double(bytes) / (1024.0 * 1024.0);
}

// ---- 1. Killed at random moments -------------------------------------------

enum class Moment { StartUp, Save, Restore, Alignment, Dance, Count };
constexpr const char* kMomentNames[] = {"start-up", "-save", "-restore", "alignment", "dance"};

bool NeedsRunningTessara(Moment moment) {
    return moment == Moment::Alignment || moment == Moment::Dance;
}

// Starts what the moment is about and kills the process at a random time
// within it.
void KillDuring(Moment moment, app_test::Tessara& tessara) {
    switch (moment) {
    case Moment::StartUp:
        tessara.Start();
        Sleep(RandomMs(2000));
        break;
    case Moment::Save:
        tessara.Start("-save");
        Sleep(RandomMs(1500));
        break;
    case Moment::Restore:
        tessara.Start("-restore");
        Sleep(RandomMs(1500));
        break;
    case Moment::Alignment:
        PostMessageA(tessara.Window(), WM_COMMAND, IDC_ALIGN_LEFT, 0);
        Sleep(RandomMs(1000));
        break;
    case Moment::Dance:
        PostMessageA(tessara.Window(), WM_COMMAND, IDM_ICON_DANCE, 0);
        Sleep(RandomMs(1500));
        break;
    case Moment::Count:
        break;
    }
    tessara.Process().Terminate();
}

// What is wrong with the desktop once its owner is gone ("" when nothing).
std::string DesktopLeftUnsound(harness::Shell& shell) {
    if (!shell.Running())
        return "the desktop process ended";
    if (!harness::WaitUntil(
            [&] { return !shell.IsListViewSubclassed() && !shell.IsViewSubclassed(); },
            kRecoveryMs))
        return "the list view or view window still runs another procedure";
    if (shell.CursorCount() < 0)
        return "the pointer is hidden";
    if (!harness::WaitUntil([&] { return IsWindowVisible(shell.ListView()) != FALSE; }, 2000))
        return "the icons are hidden";
    if (!harness::Taskbar())
        return "the taskbar is hidden";
    const SharedBlock* block = LocateSharedData();
    if (!block)
        return "no shared block";
    // A block that no attach has reset yet holds zeros.
    const bool pointerFlagWrong = block->OwnerProcessId && !block->CursorShown;
    if (block->ListHooked || block->ViewHooked || block->DanceRunning || pointerFlagWrong)
        return "shared flags: ListHooked " + std::to_string(block->ListHooked != nullptr) +
               " ViewHooked " + std::to_string(block->ViewHooked) + " DanceRunning " +
               std::to_string(block->DanceRunning) + " CursorShown " +
               std::to_string(block->CursorShown);
    const LONG attached = Instances().DesktopAttached;
    if (attached != 0 && attached != LONG(sizeof(void*)))
        return "DesktopAttached " + std::to_string(attached);
    if (HWND shared = SharedSettingsWindow();
        shared && IsWindow(shared) && harness::ClassName(shared) == names::SettingsWindowClass)
        return "a settings window outlived its program";
    return "";
}

// Leaves the last trial's new Tessara running.
void KilledAtRandomMoments(harness::Shell& shell, app_test::Tessara& tessara, int trials) {
    int sound = 0, answeredInTime = 0, firstTry = 0;
    int perMoment[int(Moment::Count)] = {};
    double slowest = 0;
    for (int trial = 0; trial < trials; ++trial) {
        const Moment moment = Moment(trial % int(Moment::Count));
        const std::string name = std::string("kill ") + std::to_string(trial + 1) + " during " +
                                 kMomentNames[int(moment)];
        if (NeedsRunningTessara(moment) != tessara.Process().Running()) {
            if (tessara.Process().Running())
                EndTessara(tessara);
            else if (!StartTessara(tessara, shell).attached)
                Fault(name + ": Tessara did not attach before the kill");
        }
        KillDuring(moment, tessara);
        const double answer = AnswerMs(shell.ListView(), 2000);
        slowest = std::max(slowest, answer < 0 ? 2000.0 : answer);
        if (answer >= 0 && answer <= kAnswerLimitMs)
            ++answeredInTime;
        else
            Fault(name + ": the desktop answered in " +
                  (answer < 0 ? std::string("more than 2000") : std::to_string(int(answer))) +
                  " ms");
        const std::string unsound = DesktopLeftUnsound(shell);
        if (!unsound.empty())
            Fault(name + ": " + unsound);
        const Attach next = StartTessara(tessara, shell);
        if (next.firstTry)
            ++firstTry;
        else
            Fault(name + (next.attached ? ": the next Tessara needed more than one attempt"
                                        : ": the next Tessara did not attach"));
        if (unsound.empty() && next.firstTry && answer >= 0 && answer <= kAnswerLimitMs) {
            ++sound;
            ++perMoment[int(moment)];
        }
    }
    Print("1. Killed at random moments: %d/%d trials left a sound desktop (start-up %d, -save %d, "
          "-restore %d, alignment %d, dance %d); desktop answered within %lu ms after %d/%d "
          "(slowest %.1f ms); the next Tessara attached at the first try %d/%d",
          sound, trials, perMoment[0], perMoment[1], perMoment[2], perMoment[3], perMoment[4],
          kAnswerLimitMs, answeredInTime, trials, slowest, firstTry, trials);
}

// ---- 2. Desktop restarts ---------------------------------------------------------

void DesktopRestarts(harness::Shell& shell, app_test::Tessara& tessara, int restarts) {
    if (!EnsureTessara(tessara, shell)) {
        Fault("restarts: Tessara did not attach");
        return;
    }
    // Taken after the watchdog's first tick, which may store the record: a
    // change then is not one of a restart.
    harness::PumpMessages(timers::WatchdogMs + 500);
    const auto storedBefore = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kSettingsValue);
    int back = 0;
    double slowest = 0;
    for (int restart = 0; restart < restarts; ++restart) {
        const std::string name = "restart " + std::to_string(restart + 1);
        if (!shell.Restart()) {
            Fault(name + ": the stand-in shell did not start again");
            continue;
        }
        Stopwatch clock;
        const bool attached = harness::WaitUntil(
            [&] { return shell.IsListViewSubclassed() && shell.IsViewSubclassed(); },
            app_test::kAttachMs);
        slowest = std::max(slowest, clock.Ms());
        const bool tray = TrayIconPresent(tessara.Window());
        const bool menu = attached && ContextMenuHasOurSubmenu(shell);
        const auto storedAfter = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kSettingsValue);
        const bool unchanged =
            storedBefore && storedAfter && storedBefore->data == storedAfter->data;
        if (attached && tray && menu && unchanged)
            ++back;
        else
            Fault(name + ": attached " + std::to_string(attached) + ", tray icon " +
                  std::to_string(tray) + ", context menu " + std::to_string(menu) +
                  ", settings unchanged " + std::to_string(unchanged));
    }
    Print("2. Desktop restarts: %d/%d re-attached with tray icon, context menu and settings "
          "unchanged (slowest re-attach %.1f s)",
          back, restarts, slowest / 1000);
}

// ---- 3. Interrupted saves ---------------------------------------------------

std::optional<std::vector<uint8_t>> StoredLayout(const std::string& name) {
    auto value = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, name);
    if (!value)
        return std::nullopt;
    return value->data;
}

// A layout whose records hold every icon of the shell, whole.
bool WholeLayout(const std::vector<uint8_t>& data) {
    static icons::SavedSet set;
    icons::ReadStoredSet(data.data(), data.size(), set);
    return set.count == kIcons;
}

// Moves every icon so that the next save writes other bytes.
void MoveIcons(const harness::Shell& shell, int round) {
    for (int i = 0; i < kIcons; ++i) {
        const int x = 20 + 90 * (i % 4) + 7 * (round % 5);
        const int y = 20 + 80 * (i / 4) + 5 * (round % 3);
        SendMessageA(shell.ListView(), LVM_SETITEMPOSITION, i, MAKELPARAM(x, y));
    }
}

// Kills Tessara at a random moment after a setting changed, while the
// watchdog stores it: the stored record is the old one or the new one.
int KillDuringSettingsWrites(harness::Shell& shell, app_test::Tessara& tessara, int trials) {
    int cut = 0;
    for (int trial = 0; trial < trials; ++trial) {
        if (!EnsureTessara(tessara, shell)) {
            Fault("settings write " + std::to_string(trial + 1) + ": Tessara did not attach");
            continue;
        }
        const std::optional<Settings> before = app_test::StoredSettings();
        tessara.Command(IDC_TRAY_SHOW_HELP);
        Sleep(RandomMs(timers::WatchdogMs + 500)); // the next watchdog tick stores it
        tessara.Process().Terminate();
        const std::optional<Settings> after = app_test::StoredSettings();
        bool whole = before && after;
        if (whole) {
            Settings compared = *after;
            compared.TrayShowHelp = before->TrayShowHelp;
            whole = SerializeSettings(compared) == SerializeSettings(*before);
        }
        if (!whole) {
            ++cut;
            Fault("settings write " + std::to_string(trial + 1) + ": the stored record is cut");
            app_test::StoreSettings(Record());
        }
    }
    return cut;
}

// Kills "-save" at a random moment: the layout is the old one or the new one,
// each whole.
int KillDuringLayoutWrites(harness::Shell& shell, int trials) {
    g_settings = Record();
    const std::string valueName = CurrentIconValueName(CurrentIconScreen());
    harness::Process(harness::Process::Start(app_test::kProgram, "-save")).WaitExit();
    int lost = 0;
    for (int trial = 0; trial < trials; ++trial) {
        const auto before = StoredLayout(valueName);
        MoveIcons(shell, trial);
        harness::Process save = harness::Process::Start(app_test::kProgram, "-save");
        Sleep(RandomMs(1500));
        save.Terminate();
        const auto after = StoredLayout(valueName);
        const bool kept = after && (after == before || WholeLayout(*after));
        if (!kept) {
            ++lost;
            Fault("layout write " + std::to_string(trial + 1) + ": " +
                  (after ? "the layout is cut" : "no layout is left"));
        }
        DesktopLeftUnsound(shell); // waits until the killed run's subclass is gone
    }
    return lost;
}

void InterruptedSaves(harness::Shell& shell, app_test::Tessara& tessara, const RunSize& size) {
    const int cutSettings = KillDuringSettingsWrites(shell, tessara, size.settingsSaves);
    const int lostLayouts = KillDuringLayoutWrites(shell, size.layoutSaves);
    Print("3. Interrupted saves: %d kills while the Settings record was written, %d while "
          "\"-save\" wrote a layout; cut or lost: %d records, %d layouts",
          size.settingsSaves, size.layoutSaves, cutSettings, lostLayouts);
}

// ---- 4. A hung Tessara --------------------------------------------------------

void HungTessara(harness::Shell& shell, app_test::Tessara& tessara, int trials) {
    if (!EnsureTessara(tessara, shell)) {
        Fault("hung: Tessara did not attach");
        return;
    }
    tessara.Command(IDC_HIDE_WINDOW);
    double settingWorst = 0, menuWorst = 0;
    for (int trial = 0; trial < trials; ++trial) {
        const std::string name = "hung " + std::to_string(trial + 1);
        if (!harness::SuspendProcess(tessara.Pid(), true)) {
            Fault(name + ": could not suspend Tessara");
            break;
        }
        Stopwatch setting;
        DWORD_PTR ignored;
        const bool answered = SendMessageTimeoutA(shell.ListView(), WM_SETTINGCHANGE, 0, 0,
                                                  SMTO_NORMAL, 10000, &ignored) != 0;
        const double settingMs = answered ? setting.Ms() : 10000;
        settingWorst = std::max(settingWorst, settingMs);
        if (settingMs > kHungLimitMs)
            Fault(name + ": the desktop answered a setting change after " +
                  std::to_string(int(settingMs)) + " ms");

        Stopwatch menu;
        const bool opened = !context_menu_test::OpenMenu(shell).empty();
        // OpenMenu waits 300 ms once the menu is there, for the keys.
        const double menuMs = opened ? std::max(0.0, menu.Ms() - 300) : 10000;
        context_menu_test::CloseMenu(shell);
        const double after = AnswerMs(shell.ListView(), kHungLimitMs);
        menuWorst = std::max(menuWorst, menuMs);
        if (menuMs > kHungLimitMs || after < 0)
            Fault(name + ": the context menu opened after " + std::to_string(int(menuMs)) +
                  " ms, the desktop then answered " + (after < 0 ? "not" : "in time"));
        harness::SuspendProcess(tessara.Pid(), false);
        harness::PumpMessages(200);
    }
    const bool alive = AnswerMs(tessara.Window(), 5000) >= 0 && shell.IsListViewSubclassed();
    if (!alive)
        Fault("hung: Tessara did not go on after it was resumed");
    Print("4. A hung Tessara: with all its threads suspended the desktop answered a setting change "
          "in %.0f ms and opened its context menu in %.0f ms at worst (%d trials each, limit "
          "%lu ms)",
          settingWorst, menuWorst, trials, kHungLimitMs);
}

// ---- 6. Memory -------------------------------------------------------------------

SIZE_T SettledWorkingSet(harness::Process& process) {
    harness::PumpMessages(1500);
    return WorkingSet(process.Handle());
}

// Runs `ticks` cursor-tracking ticks in the running Tessara, as its 100 ms
// timer does, with a watchdog tick every two seconds' worth, while the cursor
// crosses the desktop. Its working set after the first tenth, half and all.
struct TickSets {
    SIZE_T tenth = 0, half = 0, end = 0;
};

TickSets RunTicks(app_test::Tessara& tessara, int ticks) {
    const POINT places[] = {{700, 450}, {900, 300}, {20, 20}};
    TickSets sets;
    DWORD_PTR ignored;
    for (int tick = 1; tick <= ticks; ++tick) {
        if (tick % 10 == 0) {
            const POINT place = places[(tick / 10) % 3];
            SetCursorPos(place.x, place.y);
        }
        SendMessageTimeoutA(tessara.Window(), WM_TIMER, timers::CursorTracking, 0, SMTO_NORMAL,
                            5000, &ignored);
        if (tick % 20 == 0)
            SendMessageTimeoutA(tessara.Window(), WM_TIMER, timers::Watchdog, 0, SMTO_NORMAL, 5000,
                                &ignored);
        if (tick == ticks / 10)
            sets.tenth = WorkingSet(tessara.Process().Handle());
        if (tick == ticks / 2)
            sets.half = WorkingSet(tessara.Process().Handle());
    }
    sets.end = WorkingSet(tessara.Process().Handle());
    return sets;
}

// A picture the size of the screen, so that decoding it costs what a real
// wallpaper costs.
bool SetScreenSizedWallpaper(colors_test::Format format) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    return colors_test::SetWallpaper(format, width, height, [&](int x, int y) {
        return RGB(x * 255 / width, y * 255 / height, 128);
    });
}

// Tessara is started afresh with a bitmap wallpaper, runs its ticks, and is
// measured again once it has decoded a JPEG wallpaper, which only the imaging
// component reads. The yardstick shows its window, as Tessara's settings
// window has been shown once.
void Memory(harness::Shell& shell, app_test::Tessara& tessara, int ticks) {
    harness::Process minimal = harness::Process::Start("minimal_window.exe");
    harness::WaitForWindow("TessaraMinimalWindow", nullptr, minimal.Pid());
    const SIZE_T yardstick = SettledWorkingSet(minimal);
    minimal.Terminate();

    EndTessara(tessara);
    if (!SetScreenSizedWallpaper(colors_test::Format::Bmp)) {
        Fault("memory: the bitmap wallpaper could not be set");
        return;
    }
    if (!EnsureTessara(tessara, shell)) {
        Fault("memory: Tessara did not attach");
        return;
    }
    tessara.Command(IDC_HIDE_WINDOW);
    const SIZE_T started = SettledWorkingSet(tessara.Process());
    const TickSets sets = RunTicks(tessara, ticks);
    SetCursorPos(20, 20);
    if (!SetScreenSizedWallpaper(colors_test::Format::Jpeg) || !harness::WaitUntil([&] {
            return harness::HasLoaded(tessara.Process().Pid(), "windowscodecs.dll");
        }))
        Fault("memory: Tessara did not decode the JPEG wallpaper");
    const SIZE_T withJpeg = SettledWorkingSet(tessara.Process());
    if (!yardstick || !sets.end || !withJpeg) {
        Fault("memory: no working set to compare");
        return;
    }
    const double growthKb = (double(sets.end) - double(sets.tenth)) / 1024.0;
    if (growthKb > 512)
        Fault("memory: the working set grew by " + std::to_string(int(growthKb)) + " KB");
    Print("6. Memory: Tessara.exe's working set %.1f MB before, %.1f MB after %d ticks (%.2f h "
          "of tracking; %+.0f KB since the first tenth, %+.0f KB since half-way) with a bitmap "
          "wallpaper, %.1f MB once it decoded a JPEG one; a minimal Win32 window program %.1f "
          "MB: %.2f x (%.2f x with the JPEG)",
          Mb(started), Mb(sets.end), ticks, ticks / 36000.0, growthKb,
          (double(sets.end) - double(sets.half)) / 1024.0, Mb(withJpeg), Mb(yardstick),
          double(sets.end) / double(yardstick), double(withJpeg) / double(yardstick));
}

} // namespace

int main(int argc, char** argv) {
    bool shortRun = false;
    unsigned seed = GetTickCount();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-short") == 0)
            shortRun = true;
        else if (std::strcmp(argv[i], "-seed") == 0 && i + 1 < argc)
            seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
    }
    random.seed(seed);
    const RunSize& size = shortRun ? kShortRun : kLongRun;
    std::printf("Reliability figures (%s run, seed %u)\n", shortRun ? "short" : "long", seed);
    // Held open from the start, so that the checks see the flags as the
    // killed processes left them.
    if (!OpenInstanceData() || !LocateSharedData())
        return 1;
    SetTestMode(false);
    harness::RegDeleteValue(HKEY_CURRENT_USER, kExplorerAdvancedKey, kListviewShadowValue);
    app_test::StoreSettings(Record());
    harness::Shell shell;
    if (!shell.Start(harness::ShellOptions::WithIcons(kIcons))) {
        std::fprintf(stderr, "the stand-in shell did not start\n");
        return 1;
    }
    // One Tessara goes from figure to figure while none has to end it; the
    // interrupted saves, which kill it, come last.
    app_test::Tessara tessara;
    const std::function<void()> figures[] = {
        [&] { KilledAtRandomMoments(shell, tessara, size.kills); },
        [&] { DesktopRestarts(shell, tessara, size.restarts); },
        [&] { HungTessara(shell, tessara, size.hungTrials); },
        [&] { Memory(shell, tessara, size.ticks); },
        [&] { InterruptedSaves(shell, tessara, size); },
    };
    for (const auto& figure : figures) {
        Stopwatch clock;
        figure();
        std::fprintf(stderr, "   (%.0f s)\n", clock.Ms() / 1000);
    }
    EndTessara(tessara);
    if (!g_faults.empty())
        std::printf("%zu faults (see above)\n", g_faults.size());
    return g_faults.empty() ? 0 : 1;
}
