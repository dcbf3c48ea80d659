// The program's version, set here and nowhere else: the version resources of
// both deliverables, the names of the packages and the installer take it from
// here (scripts/package.sh reads these lines).
#pragma once

#define TESSARA_VERSION_MAJOR 1
#define TESSARA_VERSION_MINOR 0
#define TESSARA_VERSION_PATCH 0
#define TESSARA_VERSION_TEXT "1.0.0"
