// The command line that the autostart entry starts the program with.
#pragma once

#include <string>

// The quoted program path, then " -q" when this run is quiet and " -test"
// when test mode is on, so the next log-in starts the program the same way.
std::string AutostartCommandLine(const std::string& programPath, bool quiet, bool testMode);
