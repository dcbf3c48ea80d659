#include "app/command_line.h"

#include <utility>

namespace {

const std::pair<const char*, Switch> kSwitches[] = {
    {"-stop", Switch::Stop}, {"-test", Switch::Test},       {"-webshots", Switch::Webshots},
    {"-save", Switch::Save}, {"-restore", Switch::Restore}, {"-quiet", Switch::Quiet},
    {"-q", Switch::Q},       {"-kill", Switch::Kill},       {"-wait", Switch::Wait},
};

constexpr char kMessageHead[] = "Tessara was started with an invalid command line switch (";

constexpr char kMessageTail[] =
    ").\nValid command line switches are:\n\n"
    "\t-save      Save icon positions (*)\n"
    "\t-restore   Restore icon positions (*)\n"
    "\t-stop      Stop Tessara if it is running\n"
    "\t-quiet     Suppress some error dialog windows (not recommended)\n"
    "\t-test      Enable test tab\n"
    "\t-webshots  Test using WebShots program (**)\n\n\n"
    "      *\tWhether positions used are for the current resolution\n"
    "\tor for all resolutions depends on the selection made\n"
    "\ton the \"Positions\" tab within Tessara.\n\n"
    "      **\tIntended for testing only\n"
    "\tWebshots is a great program available from\n"
    "\t\thttp://www.webshots.com/"
    "\n\tand is not affiliated with Marrowen Software in any way.";

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    while (tokens.size() < kMaxCommandLineTokens) {
        const std::size_t begin = commandLine.find_first_not_of(' ', pos);
        if (begin == std::string::npos)
            break;
        const std::size_t end = commandLine.find(' ', begin);
        tokens.push_back(commandLine.substr(begin, end - begin));
        if (end == std::string::npos)
            break;
        pos = end;
    }
    return tokens;
}

Switch RecogniseSwitch(const std::string& token) {
    for (const auto& [text, which] : kSwitches) {
        if (token == text)
            return which;
    }
    return Switch::Invalid;
}

void ApplySwitches(const std::string& commandLine,
                   const std::function<bool(Switch, const std::string& token)>& apply) {
    const std::vector<std::string> tokens = SplitCommandLine(commandLine);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Switch which = RecogniseSwitch(tokens[i]);
        if (which == Switch::Wait) {
            ++i;
            continue;
        }
        if (apply(which, tokens[i]))
            return;
    }
}

std::string InvalidSwitchMessage(const std::string& token) {
    constexpr std::size_t frame = sizeof kMessageHead - 1 + sizeof kMessageTail - 1;
    constexpr std::size_t room = kInvalidSwitchMessageSize - 1 - frame;
    return kMessageHead + token.substr(0, room) + kMessageTail;
}
