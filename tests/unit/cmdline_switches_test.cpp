#include "app/command_line.h"
#include "base/windows_version.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct Call {
    Switch which;
    std::string token;
    bool operator==(const Call& other) const {
        return which == other.which && token == other.token;
    }
};

// Runs the parser; the switches in `stopping` set the stop flag.
std::vector<Call> Parse(const std::string& commandLine, std::set<Switch> stopping = {}) {
    std::vector<Call> calls;
    ApplySwitches(commandLine, [&](Switch which, const std::string& token) {
        calls.push_back({which, token});
        return stopping.count(which) != 0;
    });
    return calls;
}

} // namespace

TEST(Cmdline_Split, BlanksSeparateAndRunsOfBlanksGiveNoEmptyTokens) {
    struct Case {
        const char* line;
        std::vector<std::string> tokens;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"-q", {"-q"}},
        {"  -save   -restore  ", {"-save", "-restore"}},
        {"\"-q\" a\tb", {"\"-q\"", "a\tb"}},
        {"1 2 3 4 5 6 7 8 9 10", {"1", "2", "3", "4", "5", "6", "7", "8"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.tokens) << c.line;
}

TEST(Cmdline_Recognise, MatchesExactlyAndCaseSensitively) {
    struct Case {
        const char* token;
        Switch which;
    } cases[] = {
        {"-stop", Switch::Stop},     {"-test", Switch::Test},       {"-webshots", Switch::Webshots},
        {"-save", Switch::Save},     {"-restore", Switch::Restore}, {"-quiet", Switch::Quiet},
        {"-q", Switch::Q},           {"-kill", Switch::Kill},       {"-wait", Switch::Wait},
        {"-Stop", Switch::Invalid},  {"-STOP", Switch::Invalid},    {"-sto", Switch::Invalid},
        {"-stopp", Switch::Invalid}, {"/stop", Switch::Invalid},    {"-", Switch::Invalid},
        {"stop", Switch::Invalid},   {"-Q", Switch::Invalid},       {"-quiet-", Switch::Invalid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecogniseSwitch(c.token), c.which) << c.token;
}

TEST(Cmdline_Apply, SaveThatStopsKeepsRestoreFromRunning) {
    EXPECT_EQ(Parse("-save -restore", {Switch::Save, Switch::Restore}),
              (std::vector<Call>{{Switch::Save, "-save"}}));
}

TEST(Cmdline_Apply, SaveWithoutTheHookGoesOnToTheNextSwitch) {
    EXPECT_EQ(Parse("-save -restore"),
              (std::vector<Call>{{Switch::Save, "-save"}, {Switch::Restore, "-restore"}}));
}

TEST(Cmdline_Apply, WaitConsumesItsArgument) {
    EXPECT_EQ(Parse("-wait 5 -stop", {Switch::Stop}), (std::vector<Call>{{Switch::Stop, "-stop"}}));
    EXPECT_EQ(Parse("-wait -stop -q"), (std::vector<Call>{{Switch::Q, "-q"}}));
    EXPECT_EQ(Parse("-q -wait"), (std::vector<Call>{{Switch::Q, "-q"}}));
}

TEST(Cmdline_Apply, OtherCaseIsAnInvalidSwitchThatStops) {
    EXPECT_EQ(Parse("-Stop -q", {Switch::Invalid}),
              (std::vector<Call>{{Switch::Invalid, "-Stop"}}));
}

TEST(Cmdline_Apply, TokensAfterTheEighthAreIgnored) {
    const std::vector<Call> calls = Parse("-q -q -q -q -q -q -q -kill -bogus -stop");
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls.back(), (Call{Switch::Kill, "-kill"}));
}

TEST(Cmdline_Apply, WaitAsEighthTokenHasNoArgumentToConsume) {
    const std::vector<Call> calls = Parse("-q -q -q -q -q -q -q -wait -bogus");
    EXPECT_EQ(calls.size(), 7u);
}

TEST(Cmdline_Message, NamesTheTokenAndListsTheSwitches) {
    const std::string text = InvalidSwitchMessage("-Stop");
    EXPECT_EQ(text.rfind("Tessara was started with an invalid command line switch (-Stop).\n", 0),
              0u);
    for (const char* line :
         {"\t-save      Save icon positions (*)\n", "\t-stop      Stop Tessara if it is running\n",
          "on the \"Positions\" tab within Tessara.\n\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    const std::string end = "\n\tand is not affiliated with Marrowen Software in any way.";
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
    EXPECT_EQ(text.find("-wait"), std::string::npos);
    EXPECT_EQ(text.find("-kill"), std::string::npos);
}

TEST(Cmdline_Message, ALongTokenIsCutToFitTheBuffer) {
    const std::string frame = InvalidSwitchMessage("");
    for (std::size_t length : {0u, 10u, 500u, 2000u, 100000u}) {
        const std::string token(length, 'x');
        const std::string text = InvalidSwitchMessage(token);
        EXPECT_LT(text.size(), kInvalidSwitchMessageSize) << length;
        const std::size_t kept = text.size() - frame.size();
        EXPECT_EQ(kept, std::min(length, kInvalidSwitchMessageSize - 1 - frame.size())) << length;
        EXPECT_EQ(text.substr(text.size() - 20), frame.substr(frame.size() - 20)) << length;
    }
}

TEST(Cmdline_Version, PredicatesFollowTheVersionNumbers) {
    struct Case {
        unsigned major, minor;
        bool xp, w2000, old;
    } cases[] = {
        {3, 51, false, false, true},  {4, 0, false, false, true}, {4, 10, false, false, false},
        {4, 90, false, false, false}, {5, 0, false, true, false}, {5, 1, true, true, false},
        {5, 2, true, true, false},    {6, 0, true, true, false},  {6, 1, true, true, false},
        {10, 0, true, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsXPOrLaterVersion(c.major, c.minor), c.xp) << c.major << "." << c.minor;
        EXPECT_EQ(Is2000OrLaterVersion(c.major, c.minor), c.w2000) << c.major << "." << c.minor;
        EXPECT_EQ(IsOldVersion(c.major, c.minor), c.old) << c.major << "." << c.minor;
    }
}
