// The command line switches and what each does.
#pragma once

#include <string>

// Applies the switches in order and sets the flags of g_app and the shared
// test mode; sets g_app.stop when a switch finished the whole job.
void ParseCommandLine(const std::string& commandLine);
