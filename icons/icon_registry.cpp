#include "icons/icon_registry.h"

#include "icons/icon_positions.h"
#include "settings/settings.h"

namespace {

bool IconValueExists(const std::string& name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    const bool exists =
        RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

} // namespace

IconScreen CurrentIconScreen() {
    if (GetSystemMetrics(SM_CMONITORS) < 2)
        return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool RelativeModeSelected() {
    return g_settings.PerResolutionPositions == 0;
}

std::string CurrentIconValueName(IconScreen screen) {
    if (RelativeModeSelected())
        return icons::kRelativeValueName;
    return icons::ResolutionValueName(screen.width, screen.height);
}

bool ReadIconValue(const std::string& name, std::uint8_t (&buffer)[icons::kMaxStoredBytes],
                   std::size_t& size) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD length = sizeof buffer;
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, buffer, &length);
    RegCloseKey(key);
    size = length;
    return result == ERROR_SUCCESS;
}

void WriteIconValue(const std::string& name, const std::uint8_t* data, std::size_t size) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    HKEY key;
    char noClass[] = "";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, noClass, 0, KEY_ALL_ACCESS, &security,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    if (RegSetValueExA(key, name.c_str(), 0, REG_BINARY, data, static_cast<DWORD>(size)) !=
        ERROR_SUCCESS)
        RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

bool RelativeIconSetExists() {
    return IconValueExists(icons::kRelativeValueName);
}

bool ResolutionIconSetExists() {
    const IconScreen screen = CurrentIconScreen();
    return IconValueExists(icons::ResolutionValueName(screen.width, screen.height));
}
