// The opener registry: a list linked through the openers themselves.
#include "stream/opener.h"

namespace vesk {

namespace {
TStreamOpener* head = nullptr;
}

TStreamOpener::TStreamOpener() : next_(head) { head = this; }

TStreamRef TStreamOpener::Open(const TUrl&, const Text&, const Text&, bool, bool) {
    return nullptr;
}

TStreamOpener* FirstOpener() { return head; }

}  // namespace vesk
