#include "app/startup.h"

#include "app/hidden_window.h"
#include "app/switches.h"
#include "base/app_state.h"
#include "base/handles.h"
#include "base/instance_data.h"
#include "base/system_functions.h"
#include "base/unicode_text_win.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"
#include "ui/custom_controls_win.h"
#include "ui/resource.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

namespace {

void ReadSystemVersion() {
    g_app.systemVersion = {};
    g_app.systemVersion.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    GetVersionExA(&g_app.systemVersion);
}

constexpr char kStartFailedText[] =
    "Tessara could not create its windows and ends.\n\nRestarting Windows may help.";

// The mutex is held while the returned handle is; null when another instance
// holds it.
UniqueHandle ClaimSingleInstance() {
    UniqueHandle mutex(CreateMutexA(nullptr, FALSE, names::InstanceMutex));
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        mutex.reset();
    return mutex;
}

// The caption of every message, also of those that the switches show.
void LoadCaption(HINSTANCE instance) {
    if (LoadStringA(instance, IDS_APP_CAPTION, g_app.caption, sizeof g_app.caption) <= 0)
        lstrcpynA(g_app.caption, kProgramName, sizeof g_app.caption);
}

// Without its classes or its hidden window the program could never be used
// or ended, and would hold the single-instance mutex for nothing.
bool CreateProgramWindows(HINSTANCE instance) {
    return RegisterWindowClasses(instance) && CreateHiddenWindow(instance);
}

void BringFirstInstanceForward() {
    HWND settingsWindow = FindWindowA(names::SettingsWindowClass, nullptr);
    if (!settingsWindow)
        return;
    EnableWindow(settingsWindow, TRUE);
    SetWindowPos(settingsWindow, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(settingsWindow);
}

struct WindowClass {
    const char* name;
    WNDPROC procedure;
    int extraBytes;
    bool programIcon;
    int backgroundColor; // system color index + 1, 0 for none
};

// The settings window is a dialog: the dialog manager's procedure and room
// for its data. The sample windows draw themselves.
const WindowClass kWindowClasses[] = {
    {names::SampleWindowClass, SampleProc, 0, false, 0},
    {names::SampleTextWindowClass, SampleTextProc, 0, false, 0},
    {names::SettingsWindowClass, DefDlgProcA, DLGWINDOWEXTRA, true, COLOR_MENU + 1},
    {names::HiddenWindowClass, HiddenWindowProc, 0, true, COLOR_WINDOW + 1},
};

int RunMessageLoop() {
    MSG msg{};
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        HWND settingsWindow = SharedSettingsWindow();
        if (settingsWindow && IsDialogMessageA(settingsWindow, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

} // namespace

// The version is read first because DropShadowsOn depends on it.
void InitialiseProcess() {
    OpenInstanceData();
    ReadSystemVersion();
    g_app.taskbarCreatedMessage = RegisterWindowMessageA(names::TaskBarCreated);
    UserTextColor = COLORREF(g_settings.TextColor);
    RefreshDesktopListView();
    RefreshDropShadowsOn();
    BindSystemFunctions();
}

std::string ReadVersionText(const std::string& path) {
    const std::wstring file = Utf16Text(path);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0)
        return "";
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data()))
        return "";
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return "";
    char text[40];
    std::snprintf(text, sizeof text, "%i.%i.%i", int(HIWORD(info->dwFileVersionMS)),
                  int(LOWORD(info->dwFileVersionMS)), int(HIWORD(info->dwFileVersionLS)));
    return text;
}

bool RegisterWindowClasses(HINSTANCE instance) {
    bool allRegistered = true;
    for (const WindowClass& entry : kWindowClasses) {
        WNDCLASSA windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = entry.procedure;
        windowClass.cbWndExtra = entry.extraBytes;
        windowClass.hInstance = instance;
        windowClass.hIcon =
            entry.programIcon ? LoadIconA(instance, MAKEINTRESOURCEA(IDI_TESSARA)) : nullptr;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(INT_PTR(entry.backgroundColor));
        windowClass.lpszClassName = entry.name;
        allRegistered = RegisterClassA(&windowClass) != 0 && allRegistered;
    }
    return allRegistered;
}

int RunTessara(HINSTANCE instance, const char* commandLine) {
    InitialiseProcess();
    g_app.instance = instance;
    g_app.commandLine = commandLine ? commandLine : "";
    LoadCaption(instance);
    ParseCommandLine(g_app.commandLine);
    if (g_app.stop)
        return 0;
    BindShellFunctions();
    const UniqueHandle instanceMutex = ClaimSingleInstance();
    if (!instanceMutex) {
        BringFirstInstanceForward();
        return 0;
    }
    g_app.versionText = ReadVersionText(ProgramPath());
    if (!CreateProgramWindows(instance)) {
        MessageBoxA(nullptr, kStartFailedText, g_app.caption, MB_OK | MB_ICONERROR);
        return 1;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    return RunMessageLoop();
}
