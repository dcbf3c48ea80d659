#include <cstring>
#include <vector>

#include "deskhook/deskhook.h"

// The value's first four bytes as a little-endian number, whatever its type:
// the string "2" reads as 50. A longer value is read whole and cut.
DWORD WINAPI RegReadDWord(const char* subKey, const char* valueName) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 0;
    DWORD result = 0;
    DWORD type = REG_DWORD;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + sizeof(result));
        if (RegQueryValueExA(key, valueName, nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
            std::memcpy(&result, data.data(), sizeof(result));
    }
    RegCloseKey(key);
    return result;
}
