#include "icons/icon_registry.h"

#include "base/handles.h"
#include "icons/icon_positions.h"
#include "settings/settings.h"

namespace {

bool IconValueExists(const std::string& name) {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_QUERY_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        return false;
    return RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool ReadWholeValue(const std::string& name, std::uint8_t* buffer, std::size_t capacity,
                    std::size_t& size) {
    UniqueRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_QUERY_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        return false;
    DWORD length = static_cast<DWORD>(capacity);
    const LONG result =
        RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, buffer, &length);
    size = length;
    return result == ERROR_SUCCESS;
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
    return ReadWholeValue(name, buffer, sizeof buffer, size);
}

bool ReadIconValue(const std::string& name, std::uint8_t (&buffer)[icons::kMaxNameBytes],
                   std::size_t& size) {
    return ReadWholeValue(name, buffer, sizeof buffer, size);
}

IconValueWrite WriteIconValue(const std::string& name, const std::uint8_t* data, std::size_t size) {
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    UniqueRegKey key;
    char noClass[] = "";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, noClass, 0, KEY_ALL_ACCESS, &security,
                        key.receive(), nullptr) != ERROR_SUCCESS)
        return IconValueWrite::NoKey;
    if (RegSetValueExA(key.get(), name.c_str(), 0, REG_BINARY, data, static_cast<DWORD>(size)) !=
        ERROR_SUCCESS)
        return IconValueWrite::Refused;
    return IconValueWrite::Stored;
}

bool RelativeIconSetExists() {
    return IconValueExists(icons::kRelativeValueName);
}

bool ResolutionIconSetExists() {
    const IconScreen screen = CurrentIconScreen();
    return IconValueExists(icons::ResolutionValueName(screen.width, screen.height));
}
