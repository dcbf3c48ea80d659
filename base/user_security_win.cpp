#include "base/user_security_win.h"

#include <aclapi.h>

namespace {

struct LocalFreeDeleter {
    void operator()(void* memory) const { LocalFree(memory); }
};

// The user of this process, in a buffer of its own (TOKEN_USER).
std::unique_ptr<BYTE[]> ThisUser() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()))
        return nullptr;
    DWORD size = 0;
    GetTokenInformation(token.get(), ::TokenUser, nullptr, 0, &size);
    auto buffer = size ? std::make_unique<BYTE[]>(size) : nullptr;
    if (buffer && !GetTokenInformation(token.get(), ::TokenUser, buffer.get(), size, &size))
        buffer.reset();
    return buffer;
}

PSID UserSid(const std::unique_ptr<BYTE[]>& tokenUser) {
    return reinterpret_cast<TOKEN_USER*>(tokenUser.get())->User.Sid;
}

} // namespace

// Owned by this user and open to this user alone, stated rather than left to
// the defaults, so that whoever opens it can check who made it.
UserOnlySecurity::UserOnlySecurity() : user_(ThisUser()) {
    if (!user_)
        return;
    PSID sid = UserSid(user_);
    valid_ = InitializeAcl(acl(), sizeof acl_, ACL_REVISION) &&
             AddAccessAllowedAce(acl(), ACL_REVISION, GENERIC_ALL, sid) &&
             InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             SetSecurityDescriptorOwner(&descriptor_, sid, FALSE) &&
             SetSecurityDescriptorDacl(&descriptor_, TRUE, acl(), FALSE);
    attributes_ = SECURITY_ATTRIBUTES{sizeof attributes_, &descriptor_, FALSE};
}

bool OwnedByThisUser(HANDLE object) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    std::unique_ptr<void, LocalFreeDeleter> release(descriptor);
    auto user = ThisUser();
    return owner && user && EqualSid(owner, UserSid(user));
}

UniqueHandle OpenUserMutex(const char* name) {
    UserOnlySecurity security;
    UniqueHandle mutex(security.Attributes() ? CreateMutexA(security.Attributes(), FALSE, name)
                                             : nullptr);
    if (mutex && !OwnedByThisUser(mutex.get()))
        mutex.reset();
    return mutex;
}

MutexTurn::MutexTurn(HANDLE mutex, DWORD waitMs) : mutex_(mutex) {
    const DWORD waited = mutex_ ? WaitForSingleObject(mutex_, waitMs) : WAIT_FAILED;
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

MutexTurn::~MutexTurn() {
    if (held_)
        ReleaseMutex(mutex_);
}
