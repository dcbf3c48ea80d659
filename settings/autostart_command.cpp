#include "settings/autostart_command.h"

std::string AutostartCommandLine(const std::string& programPath, bool quiet, bool testMode) {
    std::string command = "\"" + programPath + "\"";
    if (quiet)
        command += " -q";
    if (testMode)
        command += " -test";
    return command;
}
