// Idle cost of the cursor tracking tick: CPU time that Tessara.exe uses over
// a stretch of time with the cursor resting on the desktop, once with every
// hiding option off and once with "By cursor position", the hot corner and
// Boss Mouse on. Prints both and their ratio. The measurement starts once the
// cursor has rested longer than every delay of the tracker.
//
// Then how soon the resting tick wakes: with the icons hidden at once on the
// desktop and the tick slowed down, the cursor jumps and the mouse is used;
// the time until the icons show again, median and worst of a few trials. A
// tick that waited for its resting period instead would take up to a second.
//
//   testbed/wine/wine-env run build/wine build/x86_64/bin/hiding_idle_bench.exe [SECONDS]
//
// SECONDS per configuration, 60 unless given. Run both configurations in one
// run on an otherwise quiet machine.
#include "tests/wine/app_program.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

double Seconds(FILETIME t) {
    return ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart / 1e7;
}

// Kernel and user time of each thread of `pid`, by thread id. Wine reports no
// times for another process as a whole (GetProcessTimes gives zeros), but it
// does for each of its threads.
std::map<DWORD, double> ThreadCpuSeconds(DWORD pid) {
    std::map<DWORD, double> times;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return times;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        FILETIME created, ended, kernel, user;
        if (thread && GetThreadTimes(thread, &created, &ended, &kernel, &user))
            times[entry.th32ThreadID] = Seconds(kernel) + Seconds(user);
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return times;
}

// CPU time used between two readings. A thread that ended in between takes
// its times with it (Wine reads them from the live thread), so it counts for
// nothing rather than making the sum fall; how many did is told.
double CpuSecondsBetween(const std::map<DWORD, double>& before,
                         const std::map<DWORD, double>& after) {
    double used = 0;
    for (const auto& [thread, seconds] : after) {
        const auto then = before.find(thread);
        used += seconds - (then == before.end() ? 0 : then->second);
    }
    const auto ended = std::count_if(before.begin(), before.end(),
                                     [&](const auto& entry) { return !after.count(entry.first); });
    if (ended)
        std::printf("  (%ld thread(s) ended during the measurement, not counted)\n", long(ended));
    return used;
}

Settings Configuration(bool tracking) {
    Settings s = SettingsTemplate();
    s.HideByCursor = tracking ? 1 : 0;
    s.HideAlways = 0;
    s.HotCornerEnabled = tracking ? 1 : 0;
    s.BossMouse = tracking ? 1 : 0;
    s.WindowFading = 0;
    s.HideCursor = 0;
    s.AutoRestorePositions = 0;
    s.ShowToolTips = 0;
    return s;
}

// CPU seconds of Tessara.exe over `seconds`, cursor resting on the desktop.
double Measure(const char* name, bool tracking, int seconds) {
    app_test::StoreSettings(Configuration(tracking));
    app_test::Tessara tessara;
    if (!tessara.Start() || !tessara.WaitForShownWindow())
        return -1;
    tessara.Command(IDC_HIDE_WINDOW);
    SetCursorPos(700, 450);
    // Attach, first save and first ticks settle; then the cursor has been
    // still for longer than the desktop's idle delay, so no deadline is left.
    harness::PumpMessages(3000 + DWORD(SettingsTemplate().HideOnDesktopDelay) * 1000);
    const auto before = ThreadCpuSeconds(tessara.Pid());
    Sleep(DWORD(seconds) * 1000);
    const double used = CpuSecondsBetween(before, ThreadCpuSeconds(tessara.Pid()));
    std::printf("%s: %.3f s\n", name, used);
    std::fflush(stdout);
    tessara.Exit();
    return used;
}

Settings HideAtOnceOnTheDesktop() {
    Settings s = Configuration(true);
    s.HotCornerEnabled = 0;
    s.BossMouse = 0;
    s.HideWhenOnDesktop = 1;
    s.HideOnDesktopDelay = 0;
    s.HideWhenOffDesktop = 0;
    s.DelayShowOnDesktop = 0;
    s.ShowDelay = 1;
    s.ShowTrayIcon = 0;
    return s;
}

void TurnTheWheel() {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    SendInput(1, &input, sizeof input);
}

// Milliseconds from a jump of the cursor with mouse input, made while the
// tick rests, to the icons shown; empty when the program did not start.
std::vector<DWORD> WakeLatencies(const harness::Shell& shell, int trials) {
    app_test::StoreSettings(HideAtOnceOnTheDesktop());
    app_test::Tessara tessara;
    if (!tessara.Start() || !tessara.WaitForShownWindow())
        return {};
    tessara.Command(IDC_HIDE_WINDOW);
    const auto iconsVisible = [&] { return IsWindowVisible(shell.ListView()) != FALSE; };
    std::vector<DWORD> latencies;
    SetCursorPos(700, 450);
    TurnTheWheel();
    for (int trial = 0; trial < trials; ++trial) {
        if (!harness::WaitUntil([&] { return !iconsVisible(); }, 5000))
            break;
        // Longer than a resting period: the tick has slowed down.
        harness::PumpMessages(1500);
        const int x = trial % 2 ? 700 : 705;
        const DWORD start = GetTickCount();
        SetCursorPos(x, 450);
        TurnTheWheel();
        // Under Wine the input may put the pointer back; the jump is repeated.
        harness::PumpMessages(20);
        SetCursorPos(x, 450);
        while (!iconsVisible() && GetTickCount() - start < 5000)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
        latencies.push_back(GetTickCount() - start);
    }
    tessara.Exit();
    std::sort(latencies.begin(), latencies.end());
    return latencies;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    if (!OpenInstanceData())
        return 1;
    harness::Shell shell;
    if (!shell.Start()) {
        std::fprintf(stderr, "the stand-in shell did not start\n");
        return 1;
    }
    const double off = Measure("off", false, seconds);
    const double on = Measure("on", true, seconds);
    std::printf("Tessara.exe CPU over %d s, cursor still on the desktop:\n", seconds);
    std::printf("  hiding options off:                     %.3f s (%.3f %% of one core)\n", off,
                100 * off / seconds);
    std::printf("  by cursor + hot corner + Boss Mouse:    %.3f s (%.3f %% of one core)\n", on,
                100 * on / seconds);
    if (off > 0)
        std::printf("  ratio on/off: %.2f\n", on / off);
    std::printf("  added by the tick: %.3f %% of one core\n", 100 * (on - off) / seconds);
    std::fflush(stdout);
    const std::vector<DWORD> wake = WakeLatencies(shell, 7);
    if (!wake.empty())
        std::printf("Resting tick woken by the mouse, cursor jump to icons shown (%zu trials):\n"
                    "  median %lu ms, worst %lu ms\n",
                    wake.size(), wake[wake.size() / 2], wake.back());
    return off < 0 || on < 0 || wake.empty();
}
