// Named objects that the program's instances and the hook library share in
// the session: made owned by and open to this user alone, and used only when
// their owner is this user, so that no other account in the session can read
// or steer them by making an object of the same name first.
#pragma once

#include <windows.h>

#include <memory>

#include "base/handles.h"

// Security attributes for such an object.
class UserOnlySecurity {
  public:
    UserOnlySecurity();
    // Null when the user could not be told: such an object is not made.
    SECURITY_ATTRIBUTES* Attributes() { return valid_ ? &attributes_ : nullptr; }

  private:
    ACL* acl() { return reinterpret_cast<ACL*>(acl_); }

    std::unique_ptr<BYTE[]> user_;
    alignas(DWORD) BYTE acl_[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE];
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool valid_ = false;
};

// The object's owner is this process's user.
bool OwnedByThisUser(HANDLE object);

// The named mutex of this user's; empty when it cannot be had, or when one of
// that name belongs to someone else.
UniqueHandle OpenUserMutex(const char* name);

// Holds a mutex for one turn, waiting at most `waitMs` for it. A process that
// died holding it leaves it abandoned; the next owner takes it as it is.
class MutexTurn {
  public:
    MutexTurn(HANDLE mutex, DWORD waitMs);
    ~MutexTurn();
    MutexTurn(const MutexTurn&) = delete;
    MutexTurn& operator=(const MutexTurn&) = delete;
    bool Held() const { return held_; }

  private:
    HANDLE mutex_;
    bool held_ = false;
};
