// The program's command line switches: splitting, recognising and the
// message for a token that is no switch.
#pragma once

#include <functional>
#include <string>
#include <vector>

inline constexpr std::size_t kMaxCommandLineTokens = 8;
// Room for the invalid-switch message including its terminating zero.
inline constexpr std::size_t kInvalidSwitchMessageSize = 1000;

enum class Switch { Stop, Test, Webshots, Save, Restore, Quiet, Q, Kill, Wait, Invalid };

// Splits at blanks only (no quoting; runs of blanks give no empty tokens) and
// keeps at most the first eight tokens.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Exact, case-sensitive match of a token.
Switch RecogniseSwitch(const std::string& token);

// Hands the switches to `apply` in order while it returns false (false: go
// on, true: the stop flag is set). "-wait" and the token after it are
// skipped without a call.
void ApplySwitches(const std::string& commandLine,
                   const std::function<bool(Switch, const std::string& token)>& apply);

// The full text of the message box for an unknown token. A token too long
// for the message is cut so that the text stays below
// kInvalidSwitchMessageSize characters.
std::string InvalidSwitchMessage(const std::string& token);
