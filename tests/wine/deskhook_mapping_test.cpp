// The shared block's mapping as another program, or a hook library of
// another layout, may have left it, and the other named objects the
// instances share as another account may have made them: none is used. No test in
// this program maps the block itself, so the mapping that the helpers find is
// the one the test made.
#include "base/instance_data.h"
#include "base/user_security_win.h"
#include "deskhook/deskhook.h"
#include "deskhook/shared_names.h"
#include "desklink/desk_link.h"
#include "tests/harness/harness.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <cstring>
#include <string>

using namespace harness;

namespace {

const char kHelperVariable[] = "TESSARA_DESKHOOK_MAPPING_HELPER";
const char kReadyEvent[] = "Local\\TessaraTestMappingReady";

std::string HelperRole() {
    char value[64] = "";
    GetEnvironmentVariableA(kHelperVariable, value, sizeof value);
    return value;
}

Process StartHelper(const std::string& role, const std::string& test) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA(kHelperVariable, role.c_str());
    Process helper = Process::Start(self, "--gtest_filter=DeskhookMappingHelper." + test);
    SetEnvironmentVariableA(kHelperVariable, nullptr);
    return helper;
}

// Runs only as a helper: makes the block's mapping with `role` bytes, filled
// so that a reader trusting it would find a live attachment, and keeps it
// until killed.
TEST(DeskhookMappingHelper, Squat) {
    const std::string role = HelperRole();
    if (role.empty())
        GTEST_SKIP() << "only run as a helper";
    const DWORD size = static_cast<DWORD>(std::stoul(role));
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                        names::SharedBlockMapping);
    ASSERT_NE(mapping, nullptr);
    ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    auto* bytes = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(bytes, nullptr);
    std::memset(bytes, 0x5A, size);
    if (size >= sizeof(SharedBlock))
        reinterpret_cast<SharedBlock*>(bytes)->OwnerProcessId = GetCurrentProcessId();
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, kReadyEvent);
    ASSERT_NE(ready, nullptr);
    SetEvent(ready);
    Sleep(INFINITE);
}

// Runs only as a helper: the program's view of the desktop link with that
// mapping in place.
TEST(DeskhookMappingHelper, Use) {
    if (HelperRole() != "use")
        GTEST_SKIP() << "only run as a helper";
    EXPECT_EQ(LocateSharedData(), nullptr);
    EXPECT_FALSE(SetHook(TRUE));
    IconInfo info{};
    EXPECT_FALSE(GetIconInfo(0, info));
}

class DeskhookMapping : public testing::TestWithParam<DWORD> {};

TEST_P(DeskhookMapping, AMappingOfAnotherSizeIsNotUsed) {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, kReadyEvent);
    ASSERT_NE(ready, nullptr);
    Process squatter = StartHelper(std::to_string(GetParam()), "Squat");
    const DWORD waited = WaitForSingleObject(ready, 20000);
    CloseHandle(ready);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    Process user = StartHelper("use", "Use");
    auto exitCode = user.WaitExit(30000);
    ASSERT_TRUE(exitCode);
    EXPECT_EQ(*exitCode, 0u) << "the program used a mapping of " << GetParam() << " bytes";
    squatter.Terminate();
}

INSTANTIATE_TEST_SUITE_P(Sizes, DeskhookMapping,
                         testing::Values(DWORD{64}, DWORD{sizeof(SharedBlock) + 4096}));

// Runs only as a helper: the request mutex and the instance data as another
// account (here the system's) would make them first, open to everyone.
TEST(DeskhookMappingHelper, SquatAsAnotherOwner) {
    if (HelperRole() != "owner")
        GTEST_SKIP() << "only run as a helper";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "O:SYD:(A;;GA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    ASSERT_NE(CreateMutexA(&attributes, FALSE, names::SharedBlockRequestMutex), nullptr);
    ASSERT_NE(CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, 4096,
                                 "Local\\TessaraInstanceData"),
              nullptr);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, kReadyEvent);
    ASSERT_NE(ready, nullptr);
    SetEvent(ready);
    Sleep(INFINITE);
}

// Runs only as a helper: neither object is taken.
TEST(DeskhookMappingHelper, UseOwned) {
    if (HelperRole() != "use-owned")
        GTEST_SKIP() << "only run as a helper";
    EXPECT_FALSE(OpenUserMutex(names::SharedBlockRequestMutex));
    EXPECT_FALSE(OpenInstanceData());
}

TEST(DeskhookOwnership, ObjectsOfAnotherOwnerAreNotUsed) {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, kReadyEvent);
    ASSERT_NE(ready, nullptr);
    Process squatter = StartHelper("owner", "SquatAsAnotherOwner");
    const DWORD waited = WaitForSingleObject(ready, 20000);
    CloseHandle(ready);
    ASSERT_EQ(waited, WAIT_OBJECT_0);
    Process user = StartHelper("use-owned", "UseOwned");
    auto exitCode = user.WaitExit(30000);
    ASSERT_TRUE(exitCode);
    EXPECT_EQ(*exitCode, 0u) << "an object of another owner was used";
    squatter.Terminate();
}

} // namespace
