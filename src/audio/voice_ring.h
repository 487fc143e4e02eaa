// A single-producer, single-consumer ring of pointers, the only channel
// between the main thread and the mixing thread. The producer writes a slot
// and then publishes it by advancing its index with release ordering; the
// consumer acquires that index before reading the slot, so a voice's fields
// written before the push are seen whole on the other side. The indices run
// freely and wrap modulo 2^32, so all slots can be in use and "full" differs
// from "empty" without a spare slot.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace vesk {

template <typename T, size_t Slots>
class VoiceRing {
    static_assert((Slots & (Slots - 1)) == 0, "the index wraps by masking");

public:
    // Producer side. A full ring refuses rather than overwrite a slot the
    // consumer has not read yet.
    bool Full() const {
        return write_.load(std::memory_order_relaxed) - read_.load(std::memory_order_acquire) == Slots;
    }

    bool Push(T* item) {
        const uint32_t w = write_.load(std::memory_order_relaxed);
        if (w - read_.load(std::memory_order_acquire) == Slots) return false;
        slots_[w & (Slots - 1)] = item;
        write_.store(w + 1, std::memory_order_release);
        return true;
    }

    // Consumer side: null when empty.
    T* Pop() {
        const uint32_t r = read_.load(std::memory_order_relaxed);
        if (r == write_.load(std::memory_order_acquire)) return nullptr;
        T* item = slots_[r & (Slots - 1)];
        read_.store(r + 1, std::memory_order_release);
        return item;
    }

    // Either side; exact only while the other side is idle.
    size_t Count() const {
        return write_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire);
    }

private:
    std::array<T*, Slots> slots_{};
    // Apart, so the two threads do not share a cache line for their indices.
    alignas(64) std::atomic<uint32_t> read_{0};
    alignas(64) std::atomic<uint32_t> write_{0};
};

}  // namespace vesk
