// Resource ids of the program, one range per kind of resource.
#pragma once

// Strings
#define IDS_APP_CAPTION 103

// Icons
#define IDI_TESSARA 107

// Version, fed to the VERSIONINFO resource and read back at run time.
#define TESSARA_VERSION_MAJOR 1
#define TESSARA_VERSION_MINOR 0
#define TESSARA_VERSION_PATCH 0
#define TESSARA_VERSION_TEXT "1.0.0"
