// Owners of COM references and of the thread's COM apartment, for the few
// system components the colour work reaches through COM.
#pragma once

#include <objbase.h>

#include <utility>

template <typename Interface> class ComRef {
  public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}

    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For functions that return the reference through a pointer.
    Interface** receive() {
        reset();
        return &p_;
    }
    void** receiveVoid() { return reinterpret_cast<void**>(receive()); }
    void reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }

  private:
    Interface* p_ = nullptr;
};

// COM on the calling thread for the object's lifetime. A thread that has
// already joined another kind of apartment keeps it and may use COM as well.
class ComApartment {
  public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
    HRESULT result() const { return result_; }

  private:
    HRESULT result_;
};
