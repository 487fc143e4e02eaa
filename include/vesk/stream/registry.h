// Process-wide registries of handlers (stream openers, pixmap readers, sample
// readers). A handler links itself at the head of its kind's list when it is
// made, so the one made last is asked first; handlers are never removed and
// must live for the rest of the process.
#pragma once

#include <vesk/stream/stream.h>

#include <cstdint>
#include <utility>

namespace vesk {

// The base of a registered handler; `Handler` is the class deriving from it.
template <typename Handler>
class TRegistry {
public:
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    Handler* Next() const { return static_cast<Handler*>(next_); }
    // The handler asked first, or null before any exists.
    static Handler* First() { return static_cast<Handler*>(Head()); }

    // Asks every handler, newest first, until one gives an answer that is not
    // null; null when none does.
    template <typename Ask>
    static auto FirstAnswer(Ask ask) -> decltype(ask(std::declval<Handler&>())) {
        for (Handler* handler = First(); handler; handler = handler->Next())
            if (auto answer = ask(*handler)) return answer;
        return nullptr;
    }

protected:
    // Links the base: while it is being made, the handler around it is not
    // yet a Handler, so the list holds bases and is cast only when read.
    TRegistry() : next_(Head()) { Head() = this; }
    ~TRegistry() = default;

private:
    static TRegistry*& Head() {
        static TRegistry* head = nullptr;
        return head;
    }

    TRegistry* next_;
};

// The readers' walk over one open stream: every handler is offered the
// stream from `start` until `decode` gives a result. A stream failure inside
// a handler is that handler's decline; any other failure closes the stream
// and goes to the caller, so a file opened by name never stays open. The
// stream is closed once the walk is over.
template <typename Handler, typename Decode>
auto OfferToReaders(const TStreamRef& stream, int32_t start, Decode decode)
    -> decltype(decode(std::declval<Handler&>())) {
    using TResult = decltype(decode(std::declval<Handler&>()));
    TResult result;
    try {
        result = Handler::FirstAnswer([&](Handler& reader) -> TResult {
            stream->Seek(start);
            try {
                return decode(reader);
            } catch (const TStreamError&) {
                return nullptr;
            }
        });
    } catch (...) {
        stream->Close();
        throw;
    }
    stream->Close();
    return result;
}

}  // namespace vesk
