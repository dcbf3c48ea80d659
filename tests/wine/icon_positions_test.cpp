// Saving and restoring the desktop icon layout end to end: Tessara.exe with
// "-save" and "-restore" against the stand-in shell, observed through the
// shell's layout, the registry and the message boxes.
#include "base/app_state.h"
#include "base/instance_data.h"
#include "desklink/desk_link.h"
#include "icons/icon_dance_win.h"
#include "icons/icon_positions.h"
#include "icons/icon_store.h"
#include "settings/settings.h"
#include "settings/settings_record.h"
#include "tests/harness/harness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using harness::Process;
using harness::Shell;
using harness::ShellIcon;
using harness::ShellOptions;

constexpr char kKey[] = "Software\\Marrowen";
constexpr char kResolutionValue[] = "SavedIcons_1024_768";
constexpr char kRelativeValue[] = "SavedIcons_Relative";
constexpr DWORD kRunTimeoutMs = 60000;

constexpr char kTooManyToSave[] =
    "Too many icons to save.\nTessara can only save 250 icons.\n\nIcon positions were not saved.";
constexpr char kTooMuchData[] = "Too many icons to save.\nTessara can only save 32000 bytes of "
                                "data about icons.\n\nIcon positions were not saved.";
constexpr char kTooManyToRestore[] =
    "Tessara can only restore icon positions when\nthere are 255 icons or less on the "
    "screen.\nYou currently have 256 icons displayed";
constexpr char kAutoArrangeRefusal[] =
    "Icons can not be restored while\nthe desktop is in \"Auto Arrange\" mode.\n\nUncheck "
    "Arrange Icons->Auto Arrange on the\ndesktop to disable \"Auto Arrange\" mode.";
constexpr char kDisablingSentence[] =
    "\n\nTessara is disabling automatic repositioning\non its \"Positions\" tab.";
constexpr char kOffScreenQuestion[] = "Some icons are at least partially off screen.\n\nDo you "
                                      "want to continue saving the icon positions?";
constexpr char kNoRoom[] =
    "Tessara could not find enough empty spaces for icons\nwhich were created since the last "
    "\"Save\" or are off the screen.\n\nSome icons may overlap or remain off screen.";

struct Mode {
    bool perResolution;
    bool autoRestore;
};

void WriteSettings(Mode mode) {
    Settings record = SettingsTemplate();
    record.PerResolutionPositions = mode.perResolution;
    record.AutoRestorePositions = mode.autoRestore;
    record.HideAlways = 0;
    const SettingsBytes bytes = SerializeSettings(record);
    ASSERT_TRUE(
        harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, "Settings", {bytes.begin(), bytes.end()}));
}

std::optional<std::vector<uint8_t>> Stored(const char* name) {
    auto value = harness::RegRead(HKEY_CURRENT_USER, kKey, name);
    if (!value)
        return std::nullopt;
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_BINARY));
    return value->data;
}

// A value built the way a save builds it, from (x, y, caption) records.
struct Record {
    int32_t x, y;
    std::string caption;
};

std::vector<uint8_t> Encode(const std::vector<Record>& records) {
    icons::StoredSetWriter writer(static_cast<uint8_t>(records.size()));
    for (const Record& r : records)
        EXPECT_TRUE(writer.Append(r.x, r.y, r.caption));
    return {writer.Data(), writer.Data() + writer.Size()};
}

// Moves icons of the stand-in from outside its process: LVM_SETITEMPOSITION
// carries the point in lParam, so it needs no memory of ours in the shell.
void MoveIcon(const Shell& shell, int index, POINT p) {
    SendMessageA(shell.ListView(), LVM_SETITEMPOSITION, index, MAKELPARAM(p.x, p.y));
}

DWORD RunTessara(const std::string& args) {
    Process tessara = Process::Start("Tessara.exe", args);
    EXPECT_TRUE(tessara.Pid()) << "Tessara.exe did not start";
    const auto code = tessara.WaitExit(kRunTimeoutMs);
    EXPECT_TRUE(code.has_value()) << "Tessara.exe " << args << " did not end";
    return code.value_or(~0u);
}

// RunTessara that reports its wall time, process start and attach included.
DWORD TimedRun(const std::string& args, const char* what) {
    const auto started = std::chrono::steady_clock::now();
    const DWORD code = RunTessara(args);
    const auto took = std::chrono::steady_clock::now() - started;
    std::printf("[ timing ] %s: %lld ms\n", what,
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    return code;
}

// Runs Tessara.exe, expects one message box with this text, answers it with
// `button` and waits for the end.
void RunAnswering(const std::string& args, const std::string& text, int button) {
    Process tessara = Process::Start("Tessara.exe", args);
    HWND box = harness::WaitForDialog("Tessara", tessara.Pid(), kRunTimeoutMs);
    ASSERT_TRUE(box) << "no message box from Tessara.exe " << args;
    EXPECT_EQ(harness::MessageBoxText(box), text);
    EXPECT_TRUE(harness::PressButton(box, button));
    EXPECT_TRUE(tessara.WaitExit(kRunTimeoutMs).has_value());
}

void ExpectSamePositions(const std::vector<ShellIcon>& actual,
                         const std::vector<ShellIcon>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].position.x, expected[i].position.x) << actual[i].caption;
        EXPECT_EQ(actual[i].position.y, expected[i].position.y) << actual[i].caption;
    }
}

// Spreads the icons over the screen in an order unlike the shell's own.
std::vector<POINT> SpreadPlaces(size_t count) {
    std::vector<POINT> places;
    for (size_t i = 0; i < count; ++i)
        places.push_back({static_cast<LONG>(40 + (i * 150) % 900),
                          static_cast<LONG>(30 + (i * 150) / 900 * 100)});
    return places;
}

class IconPositions : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(harness::RegDeleteKeyTree(HKEY_CURRENT_USER, kKey));
        WriteSettings({true, false});
    }
    void TearDown() override { shell_.Stop(); }

    static ShellOptions Icons(int count) {
        ShellOptions options;
        options.icons = count;
        return options;
    }

    void StartShell(ShellOptions options = {}) { ASSERT_TRUE(shell_.Start(options)); }
    void MoveTo(const std::vector<POINT>& places) {
        for (size_t i = 0; i < places.size(); ++i)
            MoveIcon(shell_, static_cast<int>(i), places[i]);
    }

    Shell shell_;
};

TEST_F(IconPositions, SaveScrambleRestoreGivesBackEveryPosition) {
    StartShell();
    const size_t count = shell_.Layout().size();
    ASSERT_GT(count, 2u);
    MoveTo(SpreadPlaces(count));
    const auto saved = shell_.Layout();
    EXPECT_EQ(RunTessara("-save"), 0u);

    // The stored value, byte for byte: the count, then x, y, caption, zero.
    std::vector<Record> records;
    for (const ShellIcon& icon : saved)
        records.push_back({icon.position.x, icon.position.y, icon.caption});
    EXPECT_EQ(Stored(kResolutionValue), Encode(records));
    EXPECT_FALSE(Stored(kRelativeValue));

    std::vector<POINT> scrambled;
    for (size_t i = 0; i < count; ++i)
        scrambled.push_back(saved[count - 1 - i].position);
    MoveTo(scrambled);
    EXPECT_EQ(RunTessara("-restore"), 0u);
    ExpectSamePositions(shell_.Layout(), saved);
    EXPECT_TRUE(IsWindowVisible(shell_.ListView()));
}

TEST_F(IconPositions, RelativeSaveStoresUnitsAndLeavesResolutionSetsAlone) {
    WriteSettings({false, false});
    const std::vector<uint8_t> other = Encode({{1, 2, "untouched"}});
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kResolutionValue, other));
    StartShell();
    MoveTo(SpreadPlaces(shell_.Layout().size()));
    MoveIcon(shell_, 0, {0, 0});
    MoveIcon(shell_, 1, {1023, 767});
    const auto layout = shell_.Layout();
    EXPECT_EQ(RunTessara("-q -save"), 0u);

    std::vector<Record> records;
    for (const ShellIcon& icon : layout)
        records.push_back({icons::ToRelativeUnits(icon.position.x, 1024),
                           icons::ToRelativeUnits(icon.position.y, 768), icon.caption});
    EXPECT_EQ(records[1].x, 32736); // (1023 * 32768 + 1023) / 1024
    EXPECT_EQ(Stored(kRelativeValue), Encode(records));
    EXPECT_EQ(Stored(kResolutionValue), other);
}

TEST_F(IconPositions, PerResolutionSaveLeavesTheRelativeSetAlone) {
    const std::vector<uint8_t> other = Encode({{16384, 16384, "untouched"}});
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kRelativeValue, other));
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, "SavedIcons_800_600", other));
    StartShell();
    EXPECT_EQ(RunTessara("-q -save"), 0u);
    EXPECT_TRUE(Stored(kResolutionValue));
    EXPECT_EQ(Stored(kRelativeValue), other);
    EXPECT_EQ(Stored("SavedIcons_800_600"), other);
}

TEST_F(IconPositions, RelativeSetFromAnotherScreenSizeLandsAtScaledPlaces) {
    // A relative set as a save on a 1280 x 1024 screen writes it, restored on
    // the test bed's 1024 x 768 desktop. The test bed's desktop size is fixed
    // for a run, so the other size is the saving side's.
    WriteSettings({false, false});
    StartShell();
    const auto layout = shell_.Layout();
    std::vector<Record> records;
    std::vector<POINT> expected;
    for (size_t i = 0; i < layout.size(); ++i) {
        const POINT onOther{static_cast<LONG>(100 + 100 * (i % 10)),
                            static_cast<LONG>(120 + 200 * (i / 10))};
        records.push_back({icons::ToRelativeUnits(onOther.x, 1280),
                           icons::ToRelativeUnits(onOther.y, 1024), layout[i].caption});
        expected.push_back({icons::FromRelativeUnits(records.back().x, 1024),
                            icons::FromRelativeUnits(records.back().y, 768)});
    }
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kRelativeValue, Encode(records)));
    EXPECT_EQ(RunTessara("-restore"), 0u);
    const auto restored = shell_.Layout();
    ASSERT_EQ(restored.size(), expected.size());
    for (size_t i = 0; i < restored.size(); ++i) {
        EXPECT_EQ(restored[i].position.x, expected[i].x) << restored[i].caption;
        EXPECT_EQ(restored[i].position.y, expected[i].y) << restored[i].caption;
    }
}

// Switches the display to another size for the life of the object, as a user
// changing the resolution would; Wine's virtual desktop follows the mode.
class DisplaySize {
  public:
    DisplaySize(int width, int height) { changed_ = Change(width, height); }
    ~DisplaySize() {
        if (changed_)
            Change(1024, 768);
    }
    bool Changed() const { return changed_; }

  private:
    static bool Change(int width, int height) {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = width;
        mode.dmPelsHeight = height;
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        return ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL &&
               harness::WaitUntil([&] {
                   return GetSystemMetrics(SM_CXSCREEN) == width &&
                          GetSystemMetrics(SM_CYSCREEN) == height;
               });
    }
    bool changed_ = false;
};

TEST_F(IconPositions, RelativeSetSavedHereLandsScaledAfterAResolutionChange) {
    WriteSettings({false, false});
    StartShell();
    MoveTo(SpreadPlaces(shell_.Layout().size()));
    const auto saved = shell_.Layout();
    EXPECT_EQ(RunTessara("-q -save"), 0u);

    DisplaySize smaller(800, 600);
    ASSERT_TRUE(smaller.Changed());
    EXPECT_EQ(RunTessara("-q -restore"), 0u);
    const auto restored = shell_.Layout();
    ASSERT_EQ(restored.size(), saved.size());
    for (size_t i = 0; i < saved.size(); ++i) {
        const POINT& p = saved[i].position;
        EXPECT_EQ(restored[i].position.x,
                  icons::FromRelativeUnits(icons::ToRelativeUnits(p.x, 1024), 800))
            << saved[i].caption;
        EXPECT_EQ(restored[i].position.y,
                  icons::FromRelativeUnits(icons::ToRelativeUnits(p.y, 768), 600))
            << saved[i].caption;
    }
}

TEST_F(IconPositions, TwoHundredFiftyIconsAreSavedAndOneMoreIsRefused) {
    StartShell(Icons(250));
    EXPECT_EQ(TimedRun("-q -save", "-save of 250 icons"), 0u);
    const auto stored = Stored(kResolutionValue);
    ASSERT_TRUE(stored);
    EXPECT_EQ((*stored)[0], 250);

    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kKey, kResolutionValue));
    shell_.Add("Icon 251");
    // The count message is shown in quiet mode too.
    RunAnswering("-q -save", kTooManyToSave, IDOK);
    EXPECT_FALSE(Stored(kResolutionValue));
}

TEST_F(IconPositions, RestoreOf250IconsEndToEnd) {
    StartShell(Icons(250));
    EXPECT_EQ(RunTessara("-q -save"), 0u);
    const auto saved = shell_.Layout();
    for (int i = 0; i < 250; ++i)
        MoveIcon(shell_, i, {static_cast<LONG>(i % 900), static_cast<LONG>(i % 700)});
    EXPECT_EQ(TimedRun("-q -restore", "-restore of 250 icons"), 0u);
    ExpectSamePositions(shell_.Layout(), saved);
}

TEST_F(IconPositions, OffScreenIconsAskBeforeSaving) {
    StartShell();
    MoveIcon(shell_, 0, {1100, 20});
    RunAnswering("-save", kOffScreenQuestion, IDNO);
    EXPECT_FALSE(Stored(kResolutionValue));
    RunAnswering("-save", kOffScreenQuestion, IDYES);
    EXPECT_TRUE(Stored(kResolutionValue));
}

TEST_F(IconPositions, NoIconsIsReportedUnlessQuiet) {
    StartShell(Icons(0));
    RunAnswering("-save", "No icons found", IDOK);
    EXPECT_EQ(RunTessara("-q -save"), 0u); // would hang on a box without -q
    EXPECT_FALSE(Stored(kResolutionValue));
}

TEST_F(IconPositions, TwoHundredFiftyFiveIconsRestoreAnd256AreRefused) {
    StartShell(Icons(255));
    const auto saved = Encode({{500, 500, "Icon 1"}});
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kResolutionValue, saved));
    // 255 icons do not fit on a 1024 x 768 screen: the restore runs all three
    // passes and then says so.
    MoveIcon(shell_, 0, {10, 10});
    RunAnswering("-restore", kNoRoom, IDOK);
    EXPECT_NE(shell_.Layout()[0].position.x, 10);
    EXPECT_EQ(RunTessara("-q -restore"), 0u);

    shell_.Add("Icon 256");
    MoveIcon(shell_, 0, {10, 10});
    RunAnswering("-restore", kTooManyToRestore, IDOK);
    EXPECT_EQ(shell_.Layout()[0].position.x, 10); // nothing moved
}

TEST_F(IconPositions, AutoArrangeRefusesRestoreAndSaysWhenItDisablesAutoRestore) {
    ShellOptions options;
    options.autoArrange = true;
    StartShell(options);
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kResolutionValue,
                                        Encode({{600, 400, shell_.Layout()[0].caption}})));
    const POINT before = shell_.Layout()[0].position;
    RunAnswering("-restore", kAutoArrangeRefusal, IDOK);
    WriteSettings({true, true});
    RunAnswering("-restore", std::string(kAutoArrangeRefusal) + kDisablingSentence, IDOK);
    EXPECT_EQ(RunTessara("-q -restore"), 0u);
    EXPECT_EQ(shell_.Layout()[0].position.x, before.x);
    EXPECT_EQ(shell_.Layout()[0].position.y, before.y);

    // A save from the command line does not ask about Auto Arrange.
    ASSERT_TRUE(harness::RegDeleteValue(HKEY_CURRENT_USER, kKey, kResolutionValue));
    EXPECT_EQ(RunTessara("-q -save"), 0u);
    EXPECT_TRUE(Stored(kResolutionValue));
}

TEST_F(IconPositions, MalformedValuesRestoreTheirCompleteRecordsOnly) {
    StartShell();
    const auto layout = shell_.Layout();
    ASSERT_GE(layout.size(), 3u);
    MoveTo(SpreadPlaces(layout.size()));
    const std::vector<uint8_t> whole = Encode({{300, 375, layout[0].caption},
                                               {450, 375, layout[1].caption},
                                               {600, 375, layout[2].caption}});
    // Cut inside the third record's caption: the first two are restored.
    std::vector<uint8_t> cut(whole.begin(), whole.end() - 2);
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kResolutionValue, cut));
    EXPECT_EQ(RunTessara("-q -restore"), 0u);
    auto restored = shell_.Layout();
    EXPECT_EQ(restored[0].position.x, 300);
    EXPECT_EQ(restored[1].position.x, 450);
    EXPECT_NE(restored[2].position.x, 600);

    // A count byte announcing more records than follow.
    std::vector<uint8_t> shortValue = whole;
    shortValue[0] = 200;
    MoveTo(SpreadPlaces(layout.size()));
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kResolutionValue, shortValue));
    EXPECT_EQ(RunTessara("-q -restore"), 0u);
    EXPECT_EQ(shell_.Layout()[2].position.x, 600);

    // Longer than any save writes: treated as no set, nothing moves.
    std::vector<uint8_t> huge = whole;
    huge.resize(icons::kMaxStoredBytes + 1, 'x');
    MoveTo(SpreadPlaces(layout.size()));
    const auto before = shell_.Layout();
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kResolutionValue, huge));
    EXPECT_EQ(RunTessara("-q -restore"), 0u);
    ExpectSamePositions(shell_.Layout(), before);
}

TEST_F(IconPositions, NoSavedSetMovesNothingAndSaysNothing) {
    StartShell();
    MoveTo(SpreadPlaces(shell_.Layout().size()));
    const auto before = shell_.Layout();
    EXPECT_EQ(RunTessara("-restore"), 0u); // a box would keep it from ending
    ExpectSamePositions(shell_.Layout(), before);
    EXPECT_TRUE(IsWindowVisible(shell_.ListView()));
}

// Every wait on the desktop is bounded, the showing of the icons at the end
// too: a desktop that stops answering costs time-outs, not the run.
TEST_F(IconPositions, ARestoreAgainstAHungDesktopEndsWithinSeconds) {
    StartShell();
    ASSERT_TRUE(OpenInstanceData());
    RefreshDesktopListView();
    ASSERT_TRUE(AttachDesktop());
    Instances().DesktopAttached = 1;
    EXPECT_EQ(RunTessara("-q -save"), 0u);
    constexpr DWORD kFrozenMs = 15000;
    shell_.Freeze(kFrozenMs);
    const DWORD frozenAt = GetTickCount();
    Process tessara = Process::Start("Tessara.exe", "-q -restore");
    EXPECT_TRUE(tessara.WaitExit(9000).has_value()) << "-restore waited for the hung desktop";
    // The shell wakes before the attachment is let go.
    harness::PumpMessages(kFrozenMs - std::min<DWORD>(GetTickCount() - frozenAt, kFrozenMs));
    Instances().DesktopAttached = 0;
    EXPECT_TRUE(DetachDesktop());
}

TEST_F(IconPositions, SwitchesReuseTheAttachmentOfARunningInstance) {
    // This test program stands in for the running instance: it attaches the
    // desktop and says so in the data all instances share.
    StartShell();
    ASSERT_TRUE(OpenInstanceData());
    RefreshDesktopListView();
    ASSERT_TRUE(AttachDesktop());
    Instances().DesktopAttached = 1;
    MoveTo(SpreadPlaces(shell_.Layout().size()));
    const auto saved = shell_.Layout();

    EXPECT_EQ(RunTessara("-q -save"), 0u);
    EXPECT_TRUE(Stored(kResolutionValue));
    MoveIcon(shell_, 0, {900, 600});
    MoveIcon(shell_, 1, {20, 650});
    EXPECT_EQ(RunTessara("-q -restore"), 0u);
    ExpectSamePositions(shell_.Layout(), saved);
    // The runs used the instance's hook and left it in place.
    EXPECT_TRUE(shell_.IsListViewSubclassed());

    Instances().DesktopAttached = 0;
    EXPECT_TRUE(DetachDesktop());
}

ShellOptions IconsWithCaptions(const std::vector<std::string>& captions) {
    ShellOptions options;
    options.iconsFile = harness::TempFile("captions");
    FILE* file = std::fopen(options.iconsFile.c_str(), "wb");
    EXPECT_TRUE(file);
    if (file) {
        for (const std::string& caption : captions)
            std::fprintf(file, "%s\n", caption.c_str());
        std::fclose(file);
    }
    return options;
}

TEST_F(IconPositions, DuplicateCaptionsComeBackOneSavedPlaceEach) {
    StartShell(IconsWithCaptions({"Same", "Other", "Same", "Same", "Last"}));
    MoveTo(SpreadPlaces(5));
    const auto saved = shell_.Layout();
    EXPECT_EQ(RunTessara("-q -save"), 0u);
    MoveTo({saved[4].position, saved[3].position, saved[2].position, saved[1].position,
            saved[0].position});
    EXPECT_EQ(RunTessara("-q -restore"), 0u);
    ExpectSamePositions(shell_.Layout(), saved);
}

TEST_F(IconPositions, MoreThan32000BytesOfIconDataAreRefused) {
    // 130 records of 9 + 250 bytes pass the limit long before the icon count does.
    std::vector<std::string> captions;
    for (int i = 0; i < 130; ++i)
        captions.push_back(std::to_string(1000 + i) + std::string(246, 'w'));
    StartShell(IconsWithCaptions(captions));
    ASSERT_EQ(shell_.IconCount(), 130);
    RunAnswering("-q -save", kTooMuchData, IDOK);
    EXPECT_FALSE(Stored(kResolutionValue));
}

// Calls into the program's own save and restore from this process, on a
// thread of their own so that this thread can answer their message boxes.
class InProcess : public IconPositions {
  protected:
    void SetUp() override {
        IconPositions::SetUp();
        g_settings = SettingsTemplate();
        g_settings.PerResolutionPositions = 1;
        g_settings.HideAlways = 0;
        g_settings.AutoResample = 0;
    }
    void TearDown() override {
        DetachDesktop();
        IconPositions::TearDown();
    }
    void Attach() {
        RefreshDesktopListView();
        ASSERT_TRUE(AttachDesktop());
    }
    template <typename Call> void CallAnswering(Call call, const std::string& text, int button) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            call();
            done = true;
        });
        HWND box = harness::WaitForDialog("Tessara", GetCurrentProcessId());
        EXPECT_TRUE(box);
        if (box) {
            EXPECT_EQ(harness::MessageBoxText(box), text);
            harness::PressButton(box, button);
        }
        EXPECT_TRUE(harness::WaitUntil([&] { return done.load(); }));
        worker.join();
    }
};

TEST_F(InProcess, SaveAsksAboutAutoArrangeWhenToldTo) {
    ShellOptions options;
    options.autoArrange = true;
    StartShell(options);
    Attach();
    constexpr char question[] =
        "The desktop is in \"Auto Arrange\" mode.\n\nDo you want to save the icon positions?";
    CallAnswering([] { SaveIconPositions(nullptr, AutoArrangeQuestion::Ask); }, question, IDNO);
    EXPECT_FALSE(Stored(kResolutionValue));
    CallAnswering([] { SaveIconPositions(nullptr, AutoArrangeQuestion::Ask); }, question, IDYES);
    EXPECT_TRUE(Stored(kResolutionValue));
}

TEST_F(InProcess, ARefusedWriteKeepsTheSavedSetAndSaysSo) {
    StartShell();
    Attach();
    const auto saved = Encode({{500, 500, "Icon 1"}});
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kResolutionValue, saved));
    {
        harness::RegistryWritesRefused refused;
        ASSERT_TRUE(refused.Active());
        CallAnswering([] { SaveIconPositions(nullptr, AutoArrangeQuestion::Skip); },
                      "The registry did not take the icon positions.\n\nIcon positions were "
                      "not saved; the positions saved before are kept.",
                      IDOK);
        // Quiet: no box, and still nothing written.
        g_app.quiet = true;
        std::atomic<bool> done{false};
        std::thread worker([&] {
            SaveIconPositions(nullptr, AutoArrangeQuestion::Skip);
            done = true;
        });
        EXPECT_TRUE(harness::WaitUntil([&] { return done.load(); })) << "a box while quiet";
        if (HWND box = harness::FindTopLevel("#32770", "Tessara", GetCurrentProcessId()))
            harness::PressButton(box, IDOK);
        worker.join();
        g_app.quiet = false;
    }
    EXPECT_EQ(Stored(kResolutionValue), saved);
}

TEST_F(InProcess, AutoArrangeRefusalClearsAutomaticRestoreAndSaysSo) {
    ShellOptions options;
    options.autoArrange = true;
    StartShell(options);
    Attach();
    g_settings.AutoRestorePositions = 1;
    RestoreOutcome outcome;
    CallAnswering([&outcome] { outcome = RestoreIconPositions(nullptr); },
                  std::string(kAutoArrangeRefusal) + kDisablingSentence, IDOK);
    EXPECT_EQ(g_settings.AutoRestorePositions, 0);
    EXPECT_TRUE(outcome.autoRestoreCleared);
    EXPECT_FALSE(outcome.finished);
}

TEST_F(InProcess, FinishedRestoreClearsTheTemporarilyMovedFlagAndSaysSo) {
    StartShell();
    Attach();
    ASSERT_TRUE(OpenInstanceData());
    Instances().IconsTemporarilyMoved = 1;
    ShowWindow(shell_.ListView(), SW_HIDE);
    g_settings.AutoResample = 1;
    g_settings.TransparentText = 0;
    RestoreOutcome outcome = RestoreIconPositions(nullptr); // no saved set: only the finish
    EXPECT_EQ(Instances().IconsTemporarilyMoved, 0);
    EXPECT_TRUE(outcome.finished);
    EXPECT_TRUE(outcome.resampleWanted);
    EXPECT_FALSE(outcome.autoRestoreCleared);
    // Shown by the desktop's thread when it gets to it.
    EXPECT_TRUE(harness::WaitUntil([&] { return IsWindowVisible(shell_.ListView()) != FALSE; }));

    g_settings.HideAlways = 1;
    g_settings.TransparentText = 1;
    outcome = RestoreIconPositions(nullptr);
    EXPECT_FALSE(outcome.resampleWanted);
    EXPECT_TRUE(harness::WaitUntil([&] { return !IsWindowVisible(shell_.ListView()); }));
}

// The dance threads that a hung desktop holds up end in the background: the
// stop waits for them no longer than a desktop that answers would take.
TEST_F(InProcess, StoppingTheDanceOnAHungDesktopWaitsOnlyBriefly) {
    StartShell();
    Attach();
    ASSERT_TRUE(StartIconDance(nullptr, [](HWND) {}));
    harness::PumpMessages(500);
    constexpr DWORD kFrozenMs = 10000;
    shell_.Freeze(kFrozenMs);
    const DWORD frozenAt = GetTickCount();
    harness::PumpMessages(300);
    const DWORD before = GetTickCount();
    StopIconDance();
    const DWORD took = GetTickCount() - before;
    EXPECT_LT(took, 2000u);
    EXPECT_FALSE(IconDanceRunning());
    harness::PumpMessages(kFrozenMs - std::min<DWORD>(GetTickCount() - frozenAt, kFrozenMs));
    // A new dance after the old one's threads have ended.
    ASSERT_TRUE(StartIconDance(nullptr, [](HWND) {}));
    harness::PumpMessages(300);
    StopIconDance();
}

TEST_F(InProcess, QueriesSeeTheSetOfEachMode) {
    EXPECT_FALSE(RelativeIconSetExists());
    EXPECT_FALSE(ResolutionIconSetExists());
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kRelativeValue, {0}));
    EXPECT_TRUE(RelativeIconSetExists());
    EXPECT_FALSE(ResolutionIconSetExists());
    ASSERT_TRUE(harness::RegWriteBinary(HKEY_CURRENT_USER, kKey, kResolutionValue, {0}));
    EXPECT_TRUE(ResolutionIconSetExists());
}

} // namespace
