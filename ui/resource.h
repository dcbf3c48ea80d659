// Resource ids of the program, one range per kind of resource.
#pragma once

// Strings
#define IDS_APP_CAPTION 103

// Icons
#define IDI_TESSARA 107

// Settings window controls
#define IDC_HIDE_OFF_DESKTOP_DELAY 1016
#define IDC_HIDE_ON_DESKTOP_DELAY 1021
#define IDC_SHOW_DELAY 1023
#define IDC_CLICK_SHOW_TIME 1036

// Version, fed to the VERSIONINFO resource and read back at run time.
#define TESSARA_VERSION_MAJOR 1
#define TESSARA_VERSION_MINOR 0
#define TESSARA_VERSION_PATCH 0
#define TESSARA_VERSION_TEXT "1.0.0"
