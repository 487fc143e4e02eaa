// The opener registry: a list linked through the openers themselves.
#include <vesk/stream/opener.h>

namespace vesk {

TStreamRef TStreamOpener::Open(const TUrl&, const Text&, const Text&, bool, bool) {
    return nullptr;
}

TStreamOpener* FirstOpener() { return TStreamOpener::First(); }

}  // namespace vesk
