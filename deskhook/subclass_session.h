// One subclassing of a desktop window by this library inside Explorer, from
// the start message to the moment no call of ours is left on the window's
// thread, with the watcher that undoes it when the program that attached has
// gone without detaching and then lets the library go. The desktop list view
// and the desktop view each have one, with a small policy of their own:
//
//   kSubclassId                      the subclass's id
//   Window(block), Hook(block)       the window the block attaches, and the
//                                    program's hook for it (a start after the
//                                    detach finds none)
//   Prepare(window, block, proc)     before the subclass: what the block and
//                                    the procedure need (`proc` is the window's
//                                    procedure before ours)
//   MarkAttached(block, on)          what the block says of the attachment
//   Handle(window, block, m, w, l)   before the window's own procedure; true
//                                    when that must not see the message
//   IsEnd(block, m)                  the program's detach message
//   OwnerGone(window, block)         what a vanished program left changed
//   Unsubclassed(window)             after the subclass is removed
//
// Everything here runs on the window's own thread, except the watcher, which
// owns its ticket and a duplicate of the session's event, so neither thread
// ever reads what the other frees.
#pragma once

#include <memory>
#include <utility>

#include "base/handles.h"
#include "deskhook/hook_internal.h"

namespace subclass_session {

// The message by which the watcher has the window's thread remove the
// subclass of a program that is gone; wParam is that program's process id.
UINT OwnerGoneMessage();
bool IsOwnerGone(const SharedBlock& block, UINT message, WPARAM wParam);

// The watcher thread's work: follows the block's owner until `released` is
// set, and has the window's thread unsubclass when the owner is gone.
void WatchUntilReleased(HWND window, HANDLE released);
// Then, once the window's thread is proved to have left the subclass
// procedure (an answer to a message sent to one of its windows, or its end),
// ends the watcher and lets the library go.
DWORD FreeLibraryOnceLeft(DWORD threadId);

template <class Policy> class Session {
  public:
    // The start message, on the window's own thread. A window whose session
    // is on its way out (unsubclassed while a call of ours is still on its
    // stack) is subclassed again in the same session.
    static void Start(HWND target) {
        SharedBlock* block = deskhook::DesktopBlock();
        if (!block || !target || target != Policy::Window(*block) || !Policy::Hook(*block))
            return;
        if (GetWindowThreadProcessId(target, nullptr) != GetCurrentThreadId())
            return;
        if (current_ && current_->window != target)
            return;
        if (current_ && unsubclassed_) {
            if (!SetWindowSubclass(target, Proc, Policy::kSubclassId, 0))
                return;
            unsubclassed_ = false;
        } else if (!current_ && !Begin(target, *block)) {
            return;
        }
        Policy::MarkAttached(*block, true);
    }

    // The window's procedure before our subclass, kept here rather than
    // taken from the block, which other processes can write; null unless
    // `window` is the subclassed one.
    static WNDPROC OriginalProc(HWND window) {
        return current_ && current_->window == window && !unsubclassed_ ? current_->originalProc
                                                                        : nullptr;
    }

  private:
    struct State {
        HWND window;
        UniqueHandle released; // set once the subclass is gone and no call of ours is left
        WNDPROC originalProc;
    };
    struct Ticket {
        HWND window;
        DWORD threadId; // the window's, which outlives it
        UniqueHandle released;
    };

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
        ++callDepth_;
        SharedBlock* block = deskhook::DesktopBlock();
        const bool ownerGone = block && IsOwnerGone(*block, message, wParam);
        bool handled = false;
        if (block) {
            handled = Policy::Handle(window, *block, message, wParam, lParam);
            if (ownerGone)
                Policy::OwnerGone(window, *block);
        }
        const LRESULT result = handled ? 0 : DefSubclassProc(window, message, wParam, lParam);
        if (message == WM_NCDESTROY || ownerGone || (block && Policy::IsEnd(*block, message)))
            Unsubclass(window, block);
        --callDepth_;
        ReleaseIfDone();
        return result;
    }

    static void Unsubclass(HWND window, SharedBlock* block) {
        RemoveWindowSubclass(window, Proc, Policy::kSubclassId);
        Policy::Unsubclassed(window);
        // The block may describe a newer attachment by now.
        if (block && Policy::Window(*block) == window)
            Policy::MarkAttached(*block, false);
        unsubclassed_ = true;
    }

    static void ReleaseIfDone() {
        if (callDepth_ > 0 || !unsubclassed_ || !current_)
            return;
        unsubclassed_ = false;
        SetEvent(current_->released.get());
        current_.reset();
    }

    static DWORD WINAPI Watch(void* param) {
        DWORD threadId = 0;
        {
            // Gone, with its handle, before the library may be.
            const std::unique_ptr<Ticket> ticket(static_cast<Ticket*>(param));
            threadId = ticket->threadId;
            WatchUntilReleased(ticket->window, ticket->released.get());
        }
        return FreeLibraryOnceLeft(threadId);
    }

    static bool StartWatcher(const State& state) {
        UniqueHandle released;
        if (!DuplicateHandle(GetCurrentProcess(), state.released.get(), GetCurrentProcess(),
                             released.receive(), 0, FALSE, DUPLICATE_SAME_ACCESS))
            return false;
        auto ticket = std::make_unique<Ticket>(
            Ticket{state.window, GetCurrentThreadId(), std::move(released)});
        const UniqueHandle watcher(CreateThread(nullptr, 0, Watch, ticket.get(), 0, nullptr));
        if (!watcher)
            return false;
        ticket.release(); // the watcher's now
        return true;
    }

    // The library stays loaded while the subclass can be called: the watcher
    // gives the reference back.
    static bool Subclass(const State& state) {
        if (!deskhook::PinModule())
            return false;
        if (SetWindowSubclass(state.window, Proc, Policy::kSubclassId, 0)) {
            if (StartWatcher(state))
                return true;
            RemoveWindowSubclass(state.window, Proc, Policy::kSubclassId);
        }
        FreeLibrary(deskhook::Module());
        return false;
    }

    static bool Begin(HWND window, SharedBlock& block) {
        UniqueHandle released(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!released)
            return false;
        const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
        Policy::Prepare(window, block, proc);
        auto state = std::make_unique<State>(State{window, std::move(released), proc});
        if (!Subclass(*state))
            return false;
        current_ = std::move(state);
        return true;
    }

    static inline std::unique_ptr<State> current_;
    static inline int callDepth_ = 0;         // nested calls of Proc
    static inline bool unsubclassed_ = false; // removed; released once the depth is 0
};

} // namespace subclass_session
