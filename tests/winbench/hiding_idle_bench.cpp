// Idle cost of the cursor tracking tick: CPU time that Tessara.exe uses over
// a stretch of time with the cursor resting on the desktop, once with every
// hiding option off and once with "By cursor position", the hot corner and
// Boss Mouse on. Prints both and their ratio. The measurement starts once the
// cursor has rested longer than every delay of the tracker.
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

namespace {

double Seconds(FILETIME t) {
    return ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart / 1e7;
}

// Kernel and user time of every thread of `pid`. Wine reports no times for
// another process as a whole (GetProcessTimes gives zeros), but it does for
// each of its threads.
double CpuSeconds(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    double total = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        FILETIME created, ended, kernel, user;
        if (thread && GetThreadTimes(thread, &created, &ended, &kernel, &user))
            total += Seconds(kernel) + Seconds(user);
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return total;
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
    const double before = CpuSeconds(tessara.Pid());
    Sleep(DWORD(seconds) * 1000);
    const double used = CpuSeconds(tessara.Pid()) - before;
    std::printf("%s: %.3f s\n", name, used);
    std::fflush(stdout);
    tessara.Exit();
    return used;
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
    return off < 0 || on < 0;
}
