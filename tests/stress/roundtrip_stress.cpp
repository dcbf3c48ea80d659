// Round-trip cost of the desktop link against the stand-in shell with 250
// icons, in one run on one machine:
//   - "Tessara.exe -q -save" against reading the same 250 positions and
//     captions the common way (roundtrip_reader.exe: VirtualAllocEx,
//     LVM_GETITEMPOSITION, LVM_GETITEMTEXTA, ReadProcessMemory), as a ratio;
//   - "Tessara.exe -q -restore" of a scrambled desktop against the same read,
//     and against the read that also moves each icon once;
//   - the median of one DSK_GetPos round trip against one bare registered
//     message sent the same way into the same list view, with what one
//     exchange is made of.
// Every time is the wall time of the whole process, start to end, as a user
// running it sees it. Each run is also checked: the read and the saved set
// hold every icon, and the restore puts every icon back.
//
//   testbed/wine/wine-env run build/wine build/x86_64/bin/roundtrip_stress.exe [-short]
//       [-reps N] [-rounds N]
//
// The long run repeats the process runs 5 times (medians are printed), takes
// 2000 round trips per median and also times the common read that moves each
// icon as it goes (slow: the shell draws itself after every move). -short:
// one repetition, 200 round trips, no moving read, for the test command.
// -reps and -rounds override either. Exit code 0 when every check held; the
// times are reported, never judged.
#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "icons/icon_store.h"
#include "settings/settings.h"
#include "settings/settings_record.h"
#include "tests/harness/harness.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using harness::Process;
using harness::Shell;
using harness::ShellIcon;

constexpr int kIcons = 250;
constexpr DWORD kRunTimeoutMs = 60000;
constexpr char kSavedValue[] = "SavedIcons_1024_768";
// Never handled by anyone: the bare round trip.
constexpr char kProbeMessage[] = "TessaraRoundTripProbe";

int g_failures = 0;

void Check(bool holds, const std::string& what) {
    if (holds)
        return;
    ++g_failures;
    std::printf("roundtrip: FAILED: %s\n", what.c_str());
}

double Median(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double Quartile(std::vector<double> samples, int quarter) {
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() * quarter / 4];
}

// ---- The desktop -----------------------------------------------------------

// A layout of 250 icons on screen, overlapping a little, 18 to a row.
std::vector<POINT> HomePlaces() {
    std::vector<POINT> places;
    for (int i = 0; i < kIcons; ++i)
        places.push_back({10 + (i % 18) * 55, 10 + (i / 18) * 52});
    return places;
}

// The same places, each icon on another's.
std::vector<POINT> Scrambled(std::vector<POINT> places) {
    std::reverse(places.begin(), places.end());
    return places;
}

void MoveIcons(const Shell& shell, const std::vector<POINT>& places) {
    for (size_t i = 0; i < places.size(); ++i)
        SendMessageA(shell.ListView(), LVM_SETITEMPOSITION, i,
                     MAKELPARAM(places[i].x, places[i].y));
}

bool SamePlaces(const std::vector<ShellIcon>& layout, const std::vector<POINT>& places) {
    if (layout.size() != places.size())
        return false;
    for (size_t i = 0; i < places.size(); ++i)
        if (layout[i].position.x != places[i].x || layout[i].position.y != places[i].y)
            return false;
    return true;
}

void WriteSettings() {
    Settings record = SettingsTemplate();
    record.PerResolutionPositions = 1;
    record.AutoRestorePositions = 0;
    record.HideAlways = 0;
    const SettingsBytes bytes = SerializeSettings(record);
    harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kSavedValue);
    Check(harness::RegWriteBinary(HKEY_CURRENT_USER, kProgramKey, kSettingsValue,
                                  {bytes.begin(), bytes.end()}),
          "the settings could not be written");
}

// ---- Process runs ------------------------------------------------------------

// Wall time in milliseconds of one run of `program`, start to end; negative
// when it did not end with exit code 0.
double TimedRun(const std::string& program, const std::string& args) {
    const auto started = std::chrono::steady_clock::now();
    Process process = Process::Start(program, args);
    const auto code = process.WaitExit(kRunTimeoutMs);
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    Check(code && *code == 0, program + " " + args + " did not end well");
    return code && *code == 0 ? took.count() : -1;
}

struct ReaderOutput {
    double readUs = -1;
    std::vector<POINT> places;
    std::vector<std::string> captions;
};

ReaderOutput ReadReaderOutput(const std::string& path) {
    ReaderOutput out;
    std::ifstream file(path);
    std::string word;
    file >> word >> out.readUs;
    std::string line;
    std::getline(file, line);
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        POINT p{};
        fields >> p.x >> p.y;
        std::string caption;
        std::getline(fields >> std::ws, caption);
        out.places.push_back(p);
        out.captions.push_back(caption);
    }
    file.close();
    DeleteFileA(path.c_str());
    return out;
}

bool SameIcons(const ReaderOutput& read, const std::vector<ShellIcon>& layout) {
    if (read.places.size() != layout.size())
        return false;
    for (size_t i = 0; i < layout.size(); ++i)
        if (read.places[i].x != layout[i].position.x || read.places[i].y != layout[i].position.y ||
            read.captions[i] != layout[i].caption)
            return false;
    return true;
}

std::string WritePlaces(const std::vector<POINT>& places) {
    const std::string path = harness::TempFile("places");
    std::ofstream file(path);
    for (const POINT& p : places)
        file << p.x << ' ' << p.y << '\n';
    return path;
}

// The saved set holds every icon of `layout`, in order, with its caption.
bool SavedSetMatches(const std::vector<ShellIcon>& layout) {
    auto value = harness::RegRead(HKEY_CURRENT_USER, kProgramKey, kSavedValue);
    if (!value || value->data.size() > icons::kMaxStoredBytes)
        return false;
    auto set = std::make_unique<icons::SavedSet>();
    icons::ReadStoredSet(value->data.data(), value->data.size(), *set);
    if (set->count != static_cast<int>(layout.size()))
        return false;
    for (size_t i = 0; i < layout.size(); ++i) {
        const icons::SavedEntry& entry = set->entries[i];
        if (entry.x != layout[i].position.x || entry.y != layout[i].position.y ||
            entry.caption != layout[i].caption)
            return false;
    }
    return true;
}

struct RunTimes {
    std::vector<double> read, readInside, readAndMove, save, restore;
};

void RunOnce(const Shell& shell, bool withMove, RunTimes& times) {
    const std::vector<POINT> home = HomePlaces();
    MoveIcons(shell, home);
    const std::vector<ShellIcon> layout = shell.Layout();
    Check(SamePlaces(layout, home), "the shell did not take the home layout");

    const std::string readPath = harness::TempFile("read");
    times.read.push_back(TimedRun("roundtrip_reader.exe", readPath));
    const ReaderOutput read = ReadReaderOutput(readPath);
    times.readInside.push_back(read.readUs / 1000);
    Check(SameIcons(read, layout), "the common read did not give every icon");

    harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kSavedValue);
    times.save.push_back(TimedRun("Tessara.exe", "-q -save"));
    Check(SavedSetMatches(layout), "-save did not store every icon");

    if (withMove) {
        MoveIcons(shell, Scrambled(home));
        const std::string placesPath = WritePlaces(home);
        const std::string movedPath = harness::TempFile("read");
        times.readAndMove.push_back(TimedRun("roundtrip_reader.exe", movedPath + " " + placesPath));
        ReadReaderOutput(movedPath);
        DeleteFileA(placesPath.c_str());
        Check(SamePlaces(shell.Layout(), home), "the common read and move did not move every icon");
    }

    MoveIcons(shell, Scrambled(home));
    times.restore.push_back(TimedRun("Tessara.exe", "-q -restore"));
    Check(SamePlaces(shell.Layout(), home), "-restore did not put every icon back");
}

// ---- Round trips in this process ---------------------------------------------

// Microseconds of each of `rounds` calls of `call`.
std::vector<double> Sample(int rounds, const std::function<void(int)>& call) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> samples;
    samples.reserve(rounds);
    for (int round = 0; round < rounds; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        call(round);
        QueryPerformanceCounter(&end);
        samples.push_back((end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart);
    }
    return samples;
}

struct RoundTrips {
    std::vector<double> getPos, bare, plainSend, hitTest, requestMutex, listViewLookup;
};

void MeasureRoundTrips(const Shell& shell, int rounds, RoundTrips& out) {
    HWND listView = shell.ListView();
    const UINT probe = RegisterWindowMessageA(kProbeMessage);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, names::SharedBlockRequestMutex);
    IconInfo info{};
    bool allAnswered = true;
    // Interleaved, so that a change of the machine's load hits every kind alike.
    for (int block = 0; block < 4; ++block) {
        const int n = rounds / 4;
        auto getPos = Sample(n, [&](int i) { allAnswered &= GetIconInfo(i % kIcons, info); });
        auto bare = Sample(n, [&](int) {
            DWORD_PTR ignored;
            SendMessageTimeoutA(listView, probe, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 2000,
                                &ignored);
        });
        auto plain = Sample(n, [&](int) { SendMessageA(listView, probe, 0, 0); });
        auto hit = Sample(n, [&](int) {
            int item = -1;
            allAnswered &= HitTestIcon(POINT{-500, -500}, item);
        });
        auto turn = Sample(n, [&](int) {
            WaitForSingleObject(mutex, INFINITE);
            ReleaseMutex(mutex);
        });
        auto lookup = Sample(n, [&](int) { GetDeskTopListView(); });
        out.getPos.insert(out.getPos.end(), getPos.begin(), getPos.end());
        out.bare.insert(out.bare.end(), bare.begin(), bare.end());
        out.plainSend.insert(out.plainSend.end(), plain.begin(), plain.end());
        out.hitTest.insert(out.hitTest.end(), hit.begin(), hit.end());
        out.requestMutex.insert(out.requestMutex.end(), turn.begin(), turn.end());
        out.listViewLookup.insert(out.listViewLookup.end(), lookup.begin(), lookup.end());
    }
    CloseHandle(mutex);
    Check(allAnswered, "a DSK_GetPos or DSK_HitTest went unanswered");
}

bool HasArg(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return true;
    return false;
}

int ArgValue(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

} // namespace

int main(int argc, char** argv) {
    const bool isShort = HasArg(argc, argv, "-short");
    const int reps = ArgValue(argc, argv, "-reps", isShort ? 1 : 5);
    const int rounds = ArgValue(argc, argv, "-rounds", isShort ? 200 : 2000);
    const bool withMove = !isShort;
    WriteSettings();
    Shell shell;
    if (!shell.Start(harness::ShellOptions::WithIcons(kIcons))) {
        std::printf("roundtrip: FAILED: the stand-in shell did not start\n");
        return 1;
    }
    RunTimes times;
    for (int rep = 0; rep < reps; ++rep)
        RunOnce(shell, withMove, times);

    RoundTrips trips;
    if (RefreshDesktopListView() && SetHook(TRUE)) {
        MeasureRoundTrips(shell, rounds, trips);
        SetHook(FALSE);
    } else {
        Check(false, "this process could not attach to the desktop");
    }
    shell.Stop();

    const int bits = static_cast<int>(sizeof(void*) * 8);
    const double read = Median(times.read);
    std::printf("roundtrip (%d-bit, %d icons, %d reps): -save %.0f ms vs common read %.0f ms: "
                "ratio %.2f (goal <= 0.5)\n",
                bits, kIcons, reps, Median(times.save), read, Median(times.save) / read);
    std::printf("roundtrip (%d-bit, %d icons, %d reps): -restore %.0f ms vs common read %.0f ms: "
                "ratio %.2f (goal <= 1.5)\n",
                bits, kIcons, reps, Median(times.restore), read, Median(times.restore) / read);
    if (withMove)
        std::printf("roundtrip (%d-bit, %d icons, %d reps): -restore %.0f ms vs common read and "
                    "move (each icon read, then moved with LVM_SETITEMPOSITION) %.0f ms: ratio "
                    "%.2f\n",
                    bits, kIcons, reps, Median(times.restore), Median(times.readAndMove),
                    Median(times.restore) / Median(times.readAndMove));
    std::printf("roundtrip (%d-bit, %d rounds): DSK_GetPos median %.0f us (quartiles %.0f / %.0f) "
                "vs bare registered message %.0f us: ratio %.1f\n",
                bits, rounds, Median(trips.getPos), Quartile(trips.getPos, 1),
                Quartile(trips.getPos, 3), Median(trips.bare),
                Median(trips.getPos) / Median(trips.bare));
    std::printf("roundtrip breakdown: common read inside its process %.0f ms; medians: plain "
                "SendMessage %.0f us, DSK_HitTest exchange %.0f us, request mutex turn %.0f us, "
                "list view lookup %.0f us\n",
                Median(times.readInside), Median(trips.plainSend), Median(trips.hitTest),
                Median(trips.requestMutex), Median(trips.listViewLookup));
    return g_failures == 0 ? 0 : 1;
}
