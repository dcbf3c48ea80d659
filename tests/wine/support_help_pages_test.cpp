// The Help button on each tab, the FAQ link, the Web Page entry and the
// donation command of the real Tessara.exe. In the test prefix a recorder
// opens .htm and .html files and http links, so every page the program hands
// to the shell leaves a line in its log.
#include "base/unicode_text_win.h"
#include "tests/wine/app_program.h"
#include "tests/wine/hiding_program.h"
#include "support/update_check_win.h"
#include "ui/settings_pages.h"
#include "ui/web_site.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char kPageType[] = "TessaraTest.htm";
constexpr DWORD kOpenedMs = 15000;

// A registry default value that the test replaces and puts back.
class SavedDefault {
  public:
    SavedDefault(HKEY root, std::string key)
        : root_(root), key_(std::move(key)), saved_(harness::RegRead(root_, key_, "")) {}
    ~SavedDefault() {
        if (saved_)
            harness::RegWrite(root_, key_, "", saved_->type, saved_->data.data(),
                              DWORD(saved_->data.size()));
        else
            harness::RegDeleteValue(root_, key_, "");
    }
    SavedDefault(const SavedDefault&) = delete;
    SavedDefault& operator=(const SavedDefault&) = delete;

  private:
    HKEY root_;
    std::string key_;
    std::optional<harness::RegValue> saved_;
};

std::string HelpFolder() {
    return harness::BinDir() + "\\help";
}
std::string HiddenHelpFolder() {
    return harness::BinDir() + "\\help.hidden-by-test";
}

class HelpPagesTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        // A run that died before putting the folder back left it aside.
        if (GetFileAttributesA(HiddenHelpFolder().c_str()) != INVALID_FILE_ATTRIBUTES)
            MoveFileA(HiddenHelpFolder().c_str(), HelpFolder().c_str());
        log_ = harness::TempFile("pages_opened");
        const std::string command =
            "\"" + harness::BinDir() + "\\recorder.exe\" \"" + log_ + "\" \"%1\"";
        ASSERT_TRUE(harness::RegWriteString(HKEY_CLASSES_ROOT, ".htm", "", kPageType));
        ASSERT_TRUE(harness::RegWriteString(HKEY_CLASSES_ROOT, ".html", "", kPageType));
        ASSERT_TRUE(harness::RegWriteString(
            HKEY_CLASSES_ROOT, std::string(kPageType) + "\\shell\\open\\command", "", command));
        ASSERT_TRUE(
            harness::RegWriteString(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", "", command));
        // The web pages are on the default host.
        harness::RegDeleteValue(HKEY_CURRENT_USER, kProgramKey, kWebSiteHostValue);
        ASSERT_TRUE(shell_.Start());
    }
    void TearDown() override {
        app_test::ProgramTest::TearDown();
        harness::RegDeleteKeyTree(HKEY_CLASSES_ROOT, kPageType);
        if (GetFileAttributesA(HiddenHelpFolder().c_str()) != INVALID_FILE_ATTRIBUTES)
            MoveFileA(HiddenHelpFolder().c_str(), HelpFolder().c_str());
    }

    HWND Window() const { return tessara_.Window(); }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        const std::string text = hiding_test::ReadFileText(log_);
        std::size_t start = 0;
        for (std::size_t end = text.find('\n'); end != std::string::npos;
             start = end + 1, end = text.find('\n', start)) {
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // Runs `act` and returns what the recorder was given for it.
    template <typename Act> std::string Opened(Act act) {
        const std::size_t before = Lines().size();
        act();
        if (!harness::WaitUntil([&] { return Lines().size() > before; }, kOpenedMs))
            return "(nothing opened)";
        return Lines().back();
    }

    std::string HelpOfTab(SettingsTab tab) {
        tessara_.SelectTab(tab);
        return Opened([&] { SendMessageA(GetDlgItem(Window(), IDC_HELP_BUTTON), BM_CLICK, 0, 0); });
    }
    std::string CommandOpens(int id) {
        return Opened([&] { tessara_.Command(id); });
    }

    static std::string Web(const char* path) {
        return std::string("http://") + kWebSiteHost + path;
    }

    std::string log_;
    SavedDefault htm_{HKEY_CLASSES_ROOT, ".htm"};
    SavedDefault html_{HKEY_CLASSES_ROOT, ".html"};
    SavedDefault http_{HKEY_CLASSES_ROOT, "http\\shell\\open\\command"};
};

// The recorder is given the path as the shell passes it: compare the end.
bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           _stricmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

// Which page each tab and command opens is the page table's; here, that the
// program hands a local page and a web page to the shell.
TEST_F(HelpPagesTest, TheHelpButtonOpensTheTabsLocalPageAndTheWebPageItsAddress) {
    StartProgram(SettingsTemplate());
    const std::string opened = HelpOfTab(SettingsTab::Positions);
    EXPECT_TRUE(EndsWith(opened, "\\help\\positions.htm\"")) << opened;
    EXPECT_NE(opened.find(harness::BinDir()), std::string::npos) << opened;
    // The tray's "Help..." sends the button's command.
    EXPECT_TRUE(EndsWith(CommandOpens(IDC_HELP_BUTTON), "\\help\\positions.htm\""));
    EXPECT_TRUE(EndsWith(CommandOpens(IDM_WEB_PAGE), "\"" + Web("/") + "\""));
}

POINT CentreOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// The links under the tab control answer a click and, once the tab key has
// reached them, Space; the About area's donation button a click. The tab
// key stops twice in the About area (its two links) before it leaves.
TEST_F(HelpPagesTest, LinksAndTheDonationButtonOpenTheirPagesByMouseAndKeyboard) {
    StartProgram(SettingsTemplate());
    SetForegroundWindow(Window());
    HWND web = GetDlgItem(Window(), IDC_WEB_PAGE_LINK);
    HWND faq = GetDlgItem(Window(), IDC_FAQ_LINK);
    EXPECT_TRUE(EndsWith(Opened([&] { harness::Click(CentreOf(web)); }), "\"" + Web("/") + "\""));
    EXPECT_TRUE(EndsWith(Opened([&] { harness::Click(CentreOf(faq)); }), "\\help\\faq.htm\""));

    tessara_.SelectTab(SettingsTab::About);
    HWND tabs = GetDlgItem(Window(), IDC_TABS);
    HWND about = GetDlgItem(Window(), IDC_ABOUT_AREA);
    SetForegroundWindow(Window());
    ASSERT_TRUE(harness::WaitUntil([&] { return FocusOf(Window()) == tabs; }));
    harness::PressKey(VK_TAB);
    EXPECT_TRUE(harness::WaitUntil([&] { return FocusOf(Window()) == about; })) << "first stop";
    // The second stop is the area taking the focus back from the next control,
    // which holds it for a moment: only where the focus settles can be told.
    harness::PressKey(VK_TAB);
    harness::PressKey(VK_TAB);
    // A poll can catch the focus on its way; settled is where it stays.
    const auto settlesOn = [&](auto isFocus) {
        return harness::WaitUntil([&] { return harness::HoldsFor(isFocus, 300); });
    };
    EXPECT_TRUE(settlesOn([&] { return GetDlgCtrlID(FocusOf(Window())) == IDC_TAB_DEFAULTS; }))
        << "left the About area after its second stop, focus on "
        << GetDlgCtrlID(FocusOf(Window()));
    harness::PressKey(VK_TAB);
    EXPECT_TRUE(settlesOn([&] { return FocusOf(Window()) == web; }));
    EXPECT_TRUE(EndsWith(Opened([&] { harness::PressKey(VK_SPACE); }), "\"" + Web("/") + "\""));

    RECT frame{}, area{}, donation{};
    GetWindowRect(GetDlgItem(Window(), IDC_FRAME_ABOUT), &frame);
    GetWindowRect(about, &area);
    GetWindowRect(GetDlgItem(Window(), IDC_DONATE_BUTTON), &donation);
    const POINT onDonation = {area.left + donation.left - frame.left + 8,
                              area.top + donation.top - frame.top + 8};
    EXPECT_TRUE(
        EndsWith(Opened([&] { harness::Click(onDonation); }), "\"" + Web("/donate.htm") + "\""));
}

// Outside code page 1252, the test prefix's ANSI code page, where the folder
// would be "Tessara ?".
TEST_F(HelpPagesTest, AProgramInAFolderNamedOutsideTheCodePageFindsItselfThere) {
    const std::wstring folder = harness::Widened(harness::BinDir()) + L"\\Tessara 🌍";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\help").c_str(), nullptr);
    for (const wchar_t* file : {L"Tessara.exe", L"deskhook.dll", L"help\\positions.htm"})
        ASSERT_TRUE(CopyFileW((harness::Widened(harness::BinDir()) + L"\\" + file).c_str(),
                              (folder + L"\\" + file).c_str(), FALSE))
            << Utf8Text(file);
    tessara_.UseProgram(folder + L"\\Tessara.exe");
    StartProgram(SettingsTemplate());
    const std::string opened = HelpOfTab(SettingsTab::Positions);
    EXPECT_TRUE(EndsWith(opened, Utf8Text(folder) + "\\help\\positions.htm\"")) << opened;
    tessara_.Command(IDC_START_WITH_WINDOWS);
    wchar_t entry[MAX_PATH] = L"";
    DWORD size = sizeof entry;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, Utf16Text(kAutostartKey).c_str(),
                           Utf16Text(kAutostartValue).c_str(), RRF_RT_REG_SZ, nullptr, entry,
                           &size),
              ERROR_SUCCESS);
    EXPECT_EQ(entry, L"\"" + folder + L"\\Tessara.exe\"");
    harness::RegDeleteValue(HKEY_CURRENT_USER, kAutostartKey, kAutostartValue);
}

TEST_F(HelpPagesTest, WithoutTheHelpFolderTheHelpButtonOpensTheWebIndex) {
    ASSERT_TRUE(MoveFileA(HelpFolder().c_str(), HiddenHelpFolder().c_str()));
    StartProgram(SettingsTemplate());
    EXPECT_TRUE(EndsWith(HelpOfTab(SettingsTab::Desktop), "\"" + Web("/help/index.html") + "\""));
}

} // namespace
