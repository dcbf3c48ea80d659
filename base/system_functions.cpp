#include "base/system_functions.h"

SystemFunctions g_system;

namespace {

template <typename Function>
void Bind(Function& function, const char* moduleName, const char* functionName) {
    HMODULE module = GetModuleHandleA(moduleName);
    FARPROC address = module ? GetProcAddress(module, functionName) : nullptr;
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

} // namespace

void BindSystemFunctions() {
    Bind(g_system.EndTask, "User32.DLL", "EndTask");
    Bind(g_system.SetLayeredWindowAttributes, "USER32.DLL", "SetLayeredWindowAttributes");
    Bind(g_system.LockWorkStation, "USER32.DLL", "LockWorkStation");
    Bind(g_system.EnumDisplayDevicesA, "User32.DLL", "EnumDisplayDevicesA");
    Bind(g_system.Module32First, "Kernel32.DLL", "Module32First");
    Bind(g_system.Process32First, "Kernel32.DLL", "Process32First");
    Bind(g_system.Process32Next, "Kernel32.DLL", "Process32Next");
    Bind(g_system.CreateToolhelp32Snapshot, "Kernel32.DLL", "CreateToolhelp32Snapshot");
    Bind(g_system.GetDpiForWindow, "User32.DLL", "GetDpiForWindow");
    Bind(g_system.GetSystemMetricsForDpi, "User32.DLL", "GetSystemMetricsForDpi");
}

// Both stay loaded until the process ends.
void BindShellFunctions() {
    LoadLibraryA("shell32.dll");
    LoadLibraryA("comctl32.dll");
    Bind(g_system.SHGetSettings, "Shell32.DLL", "SHGetSettings");
    Bind(g_system.SHGetSpecialFolderPathW, "Shell32.DLL", "SHGetSpecialFolderPathW");
    Bind(g_system.LoadIconWithScaleDown, "Comctl32.DLL", "LoadIconWithScaleDown");
}
