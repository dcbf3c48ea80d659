// From process start to the message loop.
#pragma once

#include <windows.h>

#include <string>

// What runs before anything else, in this order: the instance data, the
// system version, "TaskBarCreated", UserTextColor, the desktop list view,
// DropShadowsOn and the optional system functions.
void InitialiseProcess();

// The entry point's work; returns the exit code.
int RunTessara(HINSTANCE instance, const char* commandLine);

// "major.minor.patch" of the file version of the executable at `path` (UTF-8), or ""
// when it has none.
std::string ReadVersionText(const std::string& path);

// The program's four window classes; false when one cannot be registered.
bool RegisterWindowClasses(HINSTANCE instance);
