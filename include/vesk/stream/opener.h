// The registry of protocol openers. A name "protocol::path" is offered to
// every registered opener, newest first, until one returns a stream; an
// opener returns null for whatever it does not serve. Openers live for the
// whole process: constructing one links it at the head of the registry.
#pragma once

#include <memory>

#include <vesk/stream/registry.h>
#include <vesk/stream/stream.h>
#include <vesk/stream/url.h>

namespace vesk {

class TStreamOpener : public TRegistry<TStreamOpener> {
public:
    TStreamOpener() = default;  // registers this opener at the head
    virtual ~TStreamOpener() = default;

    virtual TStreamRef Open(const TUrl& url, const Text& protocol, const Text& path,
                            bool readable, bool writeable);
};

// The opener asked first, or null before any opener exists.
TStreamOpener* FirstOpener();

}  // namespace vesk
