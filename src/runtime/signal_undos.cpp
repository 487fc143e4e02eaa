// The undos registered for a process that ends at once. Both platforms'
// endings take them from any thread, a signal handler included, so they sit
// in lock-free slots rather than behind a lock the ending could meet held.
#include <vesk/runtime/startup.h>

#include "runtime/platform_startup.h"

#include <atomic>

namespace vesk {
namespace {

using TSignalUndo = void (*)();
constexpr int kSignalUndoSlots = 4;
std::atomic<TSignalUndo> signalUndos[kSignalUndoSlots];
static_assert(std::atomic<TSignalUndo>::is_always_lock_free, "a signal handler reads them");

}  // namespace

bool AddSignalUndo(void (*undo)()) {
    for (std::atomic<TSignalUndo>& slot : signalUndos)
        if (slot.load() == undo) return true;
    for (std::atomic<TSignalUndo>& slot : signalUndos) {
        TSignalUndo empty = nullptr;
        if (slot.compare_exchange_strong(empty, undo)) return true;
    }
    return false;
}

void RemoveSignalUndo(void (*undo)()) {
    for (std::atomic<TSignalUndo>& slot : signalUndos) {
        TSignalUndo present = undo;
        slot.compare_exchange_strong(present, nullptr);
    }
}

void RunEachSignalUndoOnce() {
    for (std::atomic<TSignalUndo>& slot : signalUndos)
        if (TSignalUndo undo = slot.exchange(nullptr)) undo();
}

}  // namespace vesk
