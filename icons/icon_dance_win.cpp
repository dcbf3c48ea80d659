#include "icons/icon_dance_win.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "base/app_state.h"
#include "base/handles.h"
#include "base/instance_data.h"
#include "desklink/desk_link.h"
#include "icons/icon_dance.h"
#include "icons/icon_registry.h"

namespace {

using icons::DanceStyle;
using icons::Point;

constexpr DWORD kTickMs = 100;
constexpr DWORD kForeignDanceStopMs = 200;
constexpr DWORD kSwapGlideGapMs = 60;
constexpr int kGoHomeTicks = 40;
// With a desktop that answers, each thread notices the cleared flag within a
// tick and ends after one more exchange. Threads that a hung desktop holds
// up longer end in the background; their record goes after the last.
constexpr DWORD kThreadsEndMs = 1000;
// Up to a hundred threads at once: each reserves a small stack, not the
// program's default, so that a 32-bit process keeps its address space.
constexpr SIZE_T kThreadStackBytes = 64 * 1024;

constexpr char kAutoArrangeRefusal[] =
    "Icons can not dance while\nthe desktop is in \"Auto Arrange\" mode.\n\n\nUncheck Arrange "
    "Icons->Auto Arrange.";

// The handles of one dance's threads; a thread that starts another (a
// glide) adds it here before it goes on.
class DanceThreads {
  public:
    void Add(UniqueHandle thread) {
        AcquireSRWLockExclusive(&lock_);
        threads_.push_back(std::move(thread));
        ReleaseSRWLockExclusive(&lock_);
    }

    // Waits for every thread, including those started meanwhile, until the
    // deadline; false when some thread was still running then, which stays
    // listed.
    bool JoinAll(DWORD timeoutMs) {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        for (std::optional<UniqueHandle> thread = Take(); thread; thread = Take()) {
            const ULONGLONG now = GetTickCount64();
            const DWORD left = timeoutMs == INFINITE ? INFINITE
                               : now < deadline      ? DWORD(deadline - now)
                                                     : 0;
            if (WaitForSingleObject(thread->get(), left) != WAIT_OBJECT_0) {
                Add(std::move(*thread));
                return false;
            }
        }
        return true;
    }

  private:
    std::optional<UniqueHandle> Take() {
        AcquireSRWLockExclusive(&lock_);
        std::optional<UniqueHandle> thread;
        if (!threads_.empty()) {
            thread.emplace(std::move(threads_.back()));
            threads_.pop_back();
        }
        ReleaseSRWLockExclusive(&lock_);
        return thread;
    }

    SRWLOCK lock_ = SRWLOCK_INIT;
    std::vector<UniqueHandle> threads_;
};

// What the starter and every dance thread share. It outlives the threads:
// it is freed only after all of them have ended.
struct DanceRecord {
    DanceStyle style = DanceStyle::FreeBounce;
    int count = 0;
    std::uint32_t seed = 0; // every icon's in style 1
    icons::ScreenGeometry screen;
    Point home[icons::kMaxDancers];
    Point place[icons::kMaxDancers]; // style 2: where each icon is meant to be
    std::atomic<int> moveTicks{0};
    std::atomic<std::int32_t> cursorX{0};
    std::atomic<std::int32_t> cursorY{0};
    DanceThreads threads;
};

std::unique_ptr<DanceRecord> g_record; // user-interface thread

bool Running() {
    const SharedBlock* block = DeskBlock();
    return block && block->DanceRunning;
}

void SetRunning(bool on) {
    if (SharedBlock* block = DeskBlock())
        InterlockedExchange(&block->DanceRunning, on ? 1 : 0);
}

template <typename Work> DWORD WINAPI RunWork(void* param) {
    const std::unique_ptr<Work> work(static_cast<Work*>(param));
    work->Run();
    return 0;
}

// Starts a thread of the dance that owns `work` and runs it.
template <typename Work> void StartThread(DanceThreads& threads, std::unique_ptr<Work> work) {
    UniqueHandle thread(CreateThread(nullptr, kThreadStackBytes, RunWork<Work>, work.get(),
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (thread) {
        work.release(); // the thread's now
        threads.Add(std::move(thread));
    }
}

void Move(int index, Point p) {
    SetIconPosition(index, POINT{p.x, p.y});
}

Point CurrentPosition(int index, Point fallback) {
    IconInfo info;
    if (!GetIconInfo(index, info))
        return fallback;
    return {info.position.x, info.position.y};
}

// Sleeps up to `ticks` ticks, waking early once the dance is stopped.
void WaitWhileRunning(int ticks) {
    for (int i = 0; i < ticks && Running(); ++i)
        Sleep(kTickMs);
}

// Moves the icon along the curved path, then onto the target even when the
// dance has been stopped meanwhile.
void Glide(int index, Point from, Point to) {
    for (int step = 1; step <= icons::kGlideSteps && Running(); ++step) {
        Move(index, icons::GlidePoint(from, to, step));
        Sleep(kTickMs);
    }
    Move(index, to);
}

struct GlideWork {
    int index;
    Point from;
    Point to;

    void Run() const {
        Sleep(kTickMs);
        Glide(index, from, to);
    }
};

// Styles 0 and 1: one icon bouncing, chasing the cursor, or gliding home.
struct BounceWork {
    DanceRecord* record;
    int index;

    void Run() const {
        const Point home = record->home[index];
        const std::uint32_t seed =
            record->style == DanceStyle::BounceInStep ? record->seed : GetCurrentThreadId();
        icons::DanceRandom random(seed);
        icons::Bouncer bouncer(icons::MakeBounceField(record->screen), CurrentPosition(index, home),
                               random);
        Sleep(kTickMs);
        while (Running()) {
            Move(index, NextPosition(bouncer, random, home));
            Sleep(kTickMs);
        }
    }

    Point NextPosition(icons::Bouncer& bouncer, icons::DanceRandom& random, Point home) const {
        switch (icons::MoveForTicks(record->moveTicks)) {
        case icons::DanceMove::Bounce:
            return bouncer.Step(random);
        case icons::DanceMove::Chase:
            bouncer.MoveTo(icons::ChaseStep(bouncer.Position(),
                                            {record->cursorX.load(), record->cursorY.load()}));
            return bouncer.Position();
        case icons::DanceMove::GoHome:
            Glide(index, CurrentPosition(index, bouncer.Position()), home);
            WaitWhileRunning(kGoHomeTicks - icons::kGlideSteps - 1);
            bouncer.MoveTo(home);
            return home;
        }
        return bouncer.Position();
    }
};

// Styles 0 and 1: counts the ticks in a row in which the cursor moved.
struct CursorWork {
    DanceRecord* record;

    void Run() const {
        while (Running()) {
            const Point previous{record->cursorX.load(), record->cursorY.load()};
            POINT cursor{previous.x, previous.y};
            GetCursorPos(&cursor);
            record->cursorX = cursor.x;
            record->cursorY = cursor.y;
            record->moveTicks =
                icons::NextMoveTicks(record->moveTicks, previous, {cursor.x, cursor.y});
            Sleep(kTickMs);
        }
    }
};

// Style 2: pairs of icons exchange places, with a pause after each swap.
struct SwapWork {
    DanceRecord* record;

    void Run() const {
        icons::DanceRandom random(record->seed);
        Sleep(kTickMs);
        while (Running()) {
            const int a = random.Next() % record->count;
            const int b = random.Next() % record->count;
            StartThread(record->threads, std::make_unique<GlideWork>(
                                             GlideWork{a, record->place[a], record->place[b]}));
            Sleep(kSwapGlideGapMs);
            StartThread(record->threads, std::make_unique<GlideWork>(
                                             GlideWork{b, record->place[b], record->place[a]}));
            Sleep(kSwapGlideGapMs);
            std::swap(record->place[a], record->place[b]);
            WaitWhileRunning(icons::SwapPauseTicks(random));
        }
    }
};

DanceStyle NextStyle() {
    static std::optional<DanceStyle> previous;
    const DanceStyle style = icons::NextDanceStyle(previous ? &*previous : nullptr,
                                                   static_cast<int>(std::time(nullptr)));
    previous = style;
    return style;
}

std::unique_ptr<DanceRecord> MakeRecord(int itemCount) {
    auto record = std::make_unique<DanceRecord>();
    record->seed = static_cast<std::uint32_t>(std::time(nullptr));
    record->count = std::min(itemCount, icons::kMaxDancers);
    const IconScreen screen = CurrentIconScreen();
    const SIZE spacing = IconSpacing();
    record->screen = {screen.width, screen.height, spacing.cx, spacing.cy};
    for (int i = 0; i < record->count; ++i) {
        record->home[i] = CurrentPosition(i, {});
        record->place[i] = record->home[i];
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    record->cursorX = cursor.x;
    record->cursorY = cursor.y;
    record->style = NextStyle();
    return record;
}

void StartThreads(DanceRecord& record) {
    if (record.style == DanceStyle::Swap) {
        if (record.count > 1)
            StartThread(record.threads, std::make_unique<SwapWork>(SwapWork{&record}));
        return;
    }
    for (int i = 0; i < record.count; ++i)
        StartThread(record.threads, std::make_unique<BounceWork>(BounceWork{&record, i}));
    StartThread(record.threads, std::make_unique<CursorWork>(CursorWork{&record}));
}

DWORD WINAPI FreeRecordOnceEnded(void* param) {
    const std::unique_ptr<DanceRecord> record(static_cast<DanceRecord*>(param));
    record->threads.JoinAll(INFINITE);
    return 0;
}

// A thread that outlived the wait may still read the record: it stays until
// the last has ended, and for good when no thread can wait for them.
void FreeOnceEnded(std::unique_ptr<DanceRecord> record) {
    DanceRecord* kept = record.release();
    const UniqueHandle waiter(CreateThread(nullptr, kThreadStackBytes, FreeRecordOnceEnded, kept,
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
}

} // namespace

bool StartIconDance(HWND owner, void (*refresh)(HWND)) {
    StopIconDance();
    RefreshDesktopListView();
    const int itemCount = IconCount();
    if (AutoArrangeOn()) {
        refresh(owner);
        MessageBoxA(owner, kAutoArrangeRefusal, kProgramName, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    SetRunning(true);
    Instances().IconsTemporarilyMoved = 1;
    g_record = MakeRecord(itemCount);
    StartThreads(*g_record);
    return true;
}

void StopIconDance() {
    const bool wasRunning = Running();
    SetRunning(false);
    if (!g_record) {
        if (wasRunning)
            Sleep(kForeignDanceStopMs);
        return;
    }
    if (g_record->threads.JoinAll(kThreadsEndMs))
        g_record.reset();
    else
        FreeOnceEnded(std::move(g_record));
}

bool IconDanceRunning() {
    return Running();
}

void ClearDanceLeftBehind() {
    SetRunning(false);
}
