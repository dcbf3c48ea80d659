// The stamp that ties a request in the shared block to the message sent for
// it. A message can arrive late, after its sender gave up: it must never be
// answered with, nor act on, fields that another request wrote. So the
// writer closes the request before it writes a field and publishes the new
// stamp only after the last; the desktop side copies the fields it acts on
// and takes them only when the stamp matched before and after the copy.
// Portable: both sides use it on the block's stamp.
#pragma once

#include <atomic>
#include <limits>

namespace request_stamp {

// The stamp while the request is being written; no message carries it.
inline constexpr int kWriting = 0;

// The stamp that follows `last`: never kWriting, and wrapping around.
template <class Stamp> Stamp Next(Stamp last) {
    const Stamp next = last == std::numeric_limits<Stamp>::max() ? Stamp(1) : Stamp(last + 1);
    return next == Stamp(kWriting) ? Stamp(next + 1) : next;
}

// The program's side, under the request mutex: `write` fills the request
// fields while no stamp matches; returns the stamp published for them.
template <class Stamp, class Write> Stamp Publish(volatile Stamp& stamp, Write write) {
    const Stamp next = Next(static_cast<Stamp>(stamp));
    stamp = Stamp(kWriting);
    std::atomic_thread_fence(std::memory_order_seq_cst);
    write();
    std::atomic_thread_fence(std::memory_order_seq_cst);
    stamp = next;
    return next;
}

// The desktop side: `copy` takes the request fields; true when they are the
// ones written for `sent`.
template <class Stamp, class Copy> bool Take(const volatile Stamp& stamp, Stamp sent, Copy copy) {
    if (sent == Stamp(kWriting) || stamp != sent)
        return false;
    std::atomic_thread_fence(std::memory_order_seq_cst);
    copy();
    std::atomic_thread_fence(std::memory_order_seq_cst);
    return stamp == sent;
}

} // namespace request_stamp
