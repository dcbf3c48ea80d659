#include "support/diagnostic_report_win.h"

#include "base/app_state.h"
#include "base/handles.h"
#include "base/system_functions.h"
#include "base/unicode_text_win.h"
#include "deskhook/deskhook.h"
#include "desklink/desk_link.h"
#include "settings/settings.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstring>

using namespace support;

namespace {

constexpr char kCreateFailedText[] = "Could not create temporary system information text file.";
constexpr char kMailCommandKey[] = "SOFTWARE\\Classes\\mailto\\shell\\open\\command";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr DWORD kTileOn = '1';

// The default value of a key of HKEY_LOCAL_MACHINE, read only.
std::string ReadMachineString(const char* subKey, const SupportRequest& request) {
    UniqueRegKey key;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, key.receive());
    DWORD size = 0;
    if (result == ERROR_SUCCESS)
        result = RegQueryValueExA(key.get(), nullptr, nullptr, nullptr, nullptr, &size);
    if (result != ERROR_SUCCESS) {
        request.showError(DWORD(result));
        return "";
    }
    std::string text(size, '\0');
    if (RegQueryValueExA(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS)
        return "";
    text.resize(std::strlen(text.c_str()));
    return text;
}

MEMORYSTATUSEX MemoryStatus() {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    return memory;
}

Size2 Metrics(int x, int y) {
    return {GetSystemMetrics(x), GetSystemMetrics(y)};
}

BOOL CALLBACK AddDesktop(LPSTR name, LPARAM list) {
    reinterpret_cast<std::vector<std::string>*>(list)->emplace_back(name);
    return TRUE;
}

std::optional<std::vector<std::string>> Desktops() {
    HWINSTA station = GetProcessWindowStation();
    if (!station)
        return std::nullopt;
    std::vector<std::string> names;
    EnumDesktopsA(station, AddDesktop, reinterpret_cast<LPARAM>(&names));
    return names;
}

std::optional<std::vector<DisplayDevice>> DisplayDevices() {
    if (!g_system.EnumDisplayDevicesA)
        return std::nullopt;
    std::vector<DisplayDevice> devices;
    DISPLAY_DEVICEA adapter{};
    adapter.cb = sizeof adapter;
    for (DWORD index = 0; g_system.EnumDisplayDevicesA(nullptr, index, &adapter, 0); ++index) {
        DisplayDevice device;
        device.primary = (adapter.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0;
        device.name = adapter.DeviceName;
        device.description = adapter.DeviceString;
        DISPLAY_DEVICEA monitor{};
        monitor.cb = sizeof monitor;
        if (g_system.EnumDisplayDevicesA(adapter.DeviceName, 0, &monitor, 0))
            device.monitor = monitor.DeviceString;
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        if (EnumDisplaySettingsA(adapter.DeviceName, ENUM_CURRENT_SETTINGS, &mode))
            device.mode =
                DisplayMode{reinterpret_cast<const char*>(mode.dmDeviceName), int(mode.dmPelsWidth),
                            int(mode.dmPelsHeight), int(mode.dmBitsPerPel)};
        devices.push_back(device);
        adapter = DISPLAY_DEVICEA{};
        adapter.cb = sizeof adapter;
    }
    return devices;
}

std::optional<std::string> FirstModulePath(DWORD processId) {
    if (g_app.systemVersion.dwMajorVersion == 4 || !g_system.Module32First)
        return std::string();
    UniqueHandle snapshot(g_system.CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE)
        return std::nullopt;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    if (!g_system.Module32First(snapshot.get(), &module))
        return std::nullopt;
    return std::string(module.szExePath);
}

std::optional<std::vector<ProcessEntry>> Processes(const SupportRequest& request) {
    if (!g_system.CreateToolhelp32Snapshot || !g_system.Process32First)
        return std::nullopt;
    std::vector<ProcessEntry> processes;
    UniqueHandle snapshot(g_system.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) {
        request.showError(GetLastError());
        return processes;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = g_system.Process32First(snapshot.get(), &entry); more;
         more = g_system.Process32Next && g_system.Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID != 0)
            processes.push_back({entry.szExeFile, FirstModulePath(entry.th32ProcessID)});
    }
    return processes;
}

ReportFacts GatherFacts(const SupportRequest& request, const std::string& path) {
    ReportFacts f;
    f.filePath = path;
    f.version = g_app.versionText;
    f.buildDate = ParseBuildDate(__DATE__);
    f.major = g_app.systemVersion.dwMajorVersion;
    f.minor = g_app.systemVersion.dwMinorVersion;
    f.platformId = g_app.systemVersion.dwPlatformId;
    f.languageId = GetSystemDefaultLangID();
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    f.processorArchitecture = system.wProcessorArchitecture;
    f.processorRevision = system.wProcessorRevision;
    f.processors = system.dwNumberOfProcessors;
    const MEMORYSTATUSEX memory = MemoryStatus();
    f.physicalBytes = memory.ullTotalPhys;
    f.virtualBytes = memory.ullTotalVirtual;
    f.availableVirtualBytes = memory.ullAvailVirtual;
    f.iconCount = IconCount();
    f.iconSize = Metrics(SM_CXICON, SM_CYICON);
    const Size2 spacing = Metrics(SM_CXICONSPACING, SM_CYICONSPACING);
    f.iconSpacing = {spacing.x - f.iconSize.x, spacing.y - f.iconSize.y};
    f.autoArrange = AutoArrangeOn();
    f.desktops = Desktops();
    f.monitors = GetSystemMetrics(SM_CMONITORS);
    f.displays = DisplayDevices();
    f.wallpaper = request.wallpaper;
    f.wallpaper.tiled = RegReadDWord(kDesktopKey, "TileWallpaper") == kTileOn;
    f.wallpaper.style = RegReadDWord(kDesktopKey, "WallpaperStyle");
    f.screen = Metrics(SM_CXSCREEN, SM_CYSCREEN);
    f.virtualScreen = Metrics(SM_CXVIRTUALSCREEN, SM_CYVIRTUALSCREEN);
    f.activeDesktop = ActiveDesktopOn();
    f.showDesktop = DesktopMovedOffProgman();
    f.dropShadows = DropShadowsOn();
    f.settings = SerializeSettings(g_settings);
    f.processes = Processes(request);
    return f;
}

// A new file at `path`. Whatever stands at that name first is removed, never
// followed: a link is deleted itself, and a file of another user that cannot
// be deleted makes the creation fail rather than be overwritten.
UniqueHandle CreateReportFile(const std::wstring& path) {
    DeleteFileW(path.c_str());
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

bool WriteAll(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) &&
           written == text.size();
}

// The report as CF_TEXT, from the text just written rather than from the
// file, which another process could have replaced meanwhile.
bool CopyToClipboard(HWND owner, const std::string& text, const SupportRequest& request) {
    if (!OpenClipboard(owner)) {
        request.showError(GetLastError());
        return false;
    }
    bool copied = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            EmptyClipboard();
            copied = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!copied)
            GlobalFree(memory);
    }
    CloseClipboard();
    return copied;
}

MailFacts GatherMailFacts() {
    MailFacts m;
    m.version = g_app.versionText;
    m.buildDate = ParseBuildDate(__DATE__);
    m.windowsName =
        WindowsName(g_app.systemVersion.dwMajorVersion, g_app.systemVersion.dwMinorVersion,
                    g_app.systemVersion.dwPlatformId, NameUse::MailSubject);
    const MEMORYSTATUSEX memory = MemoryStatus();
    m.physicalBytes = memory.ullTotalPhys;
    m.virtualBytes = memory.ullTotalVirtual;
    m.availableVirtualBytes = memory.ullAvailVirtual;
    m.screen = Metrics(SM_CXSCREEN, SM_CYSCREEN);
    m.activeDesktop = ActiveDesktopOn();
    return m;
}

} // namespace

std::wstring DiagnosticReportPath() {
    return TemporaryFolder() + Utf16Text(kReportFileName);
}

bool WriteDiagnosticReport(const SupportRequest& request) {
    const std::wstring path = DiagnosticReportPath();
    std::string text;
    {
        UniqueHandle file = CreateReportFile(path);
        if (!file) {
            const DWORD error = GetLastError();
            MessageBoxA(request.settingsWindow, kCreateFailedText, kProgramName, MB_OK);
            request.showError(error);
            return false;
        }
        // The report is text of the ANSI code page, its own path too.
        text = BuildReport(GatherFacts(request, AnsiText(path)));
        if (!WriteAll(file.get(), text)) {
            request.showError(GetLastError());
            return false;
        }
    }
    CopyToClipboard(request.settingsWindow, text, request);
    ShellExecuteW(request.settingsWindow, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

void EmailSupport(const SupportRequest& request) {
    if (MessageBoxA(request.settingsWindow, SupportQuestionText().c_str(), kQuestionCaption,
                    MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return;
    const bool withBody = MailProgramTakesBody(ReadMachineString(kMailCommandKey, request));
    const std::string url = MailtoUrl(GatherMailFacts(), withBody);
    ShellExecuteA(request.settingsWindow, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    WriteDiagnosticReport(request);
}
