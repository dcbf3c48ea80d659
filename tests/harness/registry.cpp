#include "tests/harness/harness.h"

namespace harness {

std::optional<DWORD> RegValue::AsDword() const {
    if (type != REG_DWORD || data.size() != sizeof(DWORD))
        return std::nullopt;
    return DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24;
}

std::optional<std::string> RegValue::AsString() const {
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    std::string text(data.begin(), data.end());
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

std::optional<RegValue> RegRead(HKEY root, const std::string& key, const std::string& name) {
    DWORD type = 0, size = 0;
    if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    RegValue value;
    value.type = type;
    value.data.resize(size);
    if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                     value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

bool RegWrite(HKEY root, const std::string& key, const std::string& name, DWORD type,
              const void* data, DWORD size) {
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG result =
        RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool RegWriteBinary(HKEY root, const std::string& key, const std::string& name,
                    const std::vector<uint8_t>& data) {
    return RegWrite(root, key, name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}

bool RegWriteDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    return RegWrite(root, key, name, REG_DWORD, &value, sizeof value);
}

bool RegWriteString(HKEY root, const std::string& key, const std::string& name,
                    const std::string& value) {
    return RegWrite(root, key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

bool RegDeleteValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return true;
    LONG result = RegDeleteValueA(handle, name.c_str());
    RegCloseKey(handle);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool RegDeleteKeyTree(HKEY root, const std::string& key) {
    LONG result = RegDeleteTreeA(root, key.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        return false;
    result = RegDeleteKeyA(root, key.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

namespace {

LONG g_refusedWriteError = ERROR_SUCCESS;

LONG WINAPI RefusedRegSetValueExA(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD) {
    return g_refusedWriteError;
}

LONG WINAPI RefusedRegSetValueExW(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) {
    return g_refusedWriteError;
}

// The slot of this executable's import table that holds `target`.
void** ImportSlotOf(void* target) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return nullptr;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         dll->Name; ++dll)
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
             slot->u1.Function; ++slot)
            if (reinterpret_cast<void*>(slot->u1.Function) == target)
                return reinterpret_cast<void**>(&slot->u1.Function);
    return nullptr;
}

void SetImportSlot(void** slot, void* function) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    *slot = function;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
}

} // namespace

RegistryWritesRefused::RegistryWritesRefused(LONG error) {
    g_refusedWriteError = error;
    const HMODULE advapi = GetModuleHandleA("advapi32.dll");
    const struct {
        const char* name;
        void* refusal;
    } functions[] = {{"RegSetValueExA", reinterpret_cast<void*>(&RefusedRegSetValueExA)},
                     {"RegSetValueExW", reinterpret_cast<void*>(&RefusedRegSetValueExW)}};
    for (const auto& function : functions) {
        void* original = reinterpret_cast<void*>(GetProcAddress(advapi, function.name));
        if (void** slot = original ? ImportSlotOf(original) : nullptr) {
            SetImportSlot(slot, function.refusal);
            replaced_.push_back({slot, original});
        }
    }
}

RegistryWritesRefused::~RegistryWritesRefused() {
    for (const Replaced& entry : replaced_)
        SetImportSlot(entry.slot, entry.original);
}

} // namespace harness
