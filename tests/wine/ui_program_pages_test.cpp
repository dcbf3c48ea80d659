// The pages of the real Tessara.exe's settings window: the keyboard mnemonics
// each page offers, and a screenshot of every page.
#include "base/instance_data.h"
#include "tests/wine/app_program.h"
#include "ui/settings_pages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>


namespace {

// The letter after a single '&', or 0.
char MnemonicOf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return char(std::tolower(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
    return 0;
}

BOOL CALLBACK CollectVisibleText(HWND child, LPARAM lParam) {
    if (IsWindowVisible(child))
        reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(harness::WindowText(child));
    return TRUE;
}

// The texts that share a mnemonic, by letter.
using Clashes = std::map<char, std::set<std::string>>;

Clashes MnemonicClashes(HWND window) {
    std::vector<std::string> texts;
    EnumChildWindows(window, CollectVisibleText, reinterpret_cast<LPARAM>(&texts));
    std::map<char, std::set<std::string>> byLetter;
    for (const std::string& text : texts) {
        if (char letter = MnemonicOf(text))
            byLetter[letter].insert(text);
    }
    Clashes clashes;
    for (const auto& [letter, owners] : byLetter) {
        if (owners.size() > 1)
            clashes[letter] = owners;
    }
    return clashes;
}

class ProgramPagesTest : public app_test::ProgramTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(shell_.Start());
        StartProgram();
    }

    // A WM_NOTIFY cannot be sent to another process; outside the button
    // style, moving the tab control's focus selects the tab and notifies the
    // window as a click does.
    void SelectTab(SettingsTab tab) {
        SendMessageA(GetDlgItem(tessara_.Window(), IDC_TABS), TCM_SETCURFOCUS, WPARAM(tab), 0);
        harness::PumpMessages(200);
    }
};

} // namespace

TEST_F(ProgramPagesTest, MnemonicsAreUniqueOnEveryPage) {
    // Both texts of each of these pairs are given as they are.
    const std::map<SettingsTab, Clashes> given = {
        {SettingsTab::Colors, {{'r', {"&Resample Now", "&Reset Tab"}}}},
        {SettingsTab::Options, {{'h', {"Select &Hot Keys", "&Hide", "&Help"}}}},
    };
    for (int tab = 0; tab < kPermanentTabCount; ++tab) {
        SCOPED_TRACE(tab);
        SelectTab(SettingsTab(tab));
        const auto known = given.find(SettingsTab(tab));
        EXPECT_EQ(MnemonicClashes(tessara_.Window()), known == given.end() ? Clashes{} : known->second);
    }
}

TEST_F(ProgramPagesTest, ScreenshotOfEveryPage) {
    const char* names[] = {"colors", "hiding", "positions", "desktop", "tray", "options", "about"};
    for (int tab = 0; tab < kPermanentTabCount; ++tab) {
        SelectTab(SettingsTab(tab));
        EXPECT_EQ(TabCtrl_GetCurSel(GetDlgItem(tessara_.Window(), IDC_TABS)), tab);
        EXPECT_FALSE(harness::Screenshot(std::string("ui_program_") + names[tab]).empty());
    }
}
