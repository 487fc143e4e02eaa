// The common base of the engine's shared objects that can stand in for a name
// when a stream is opened: streams and memory buffers. Only the opener
// registry looks through it (with dynamic casts), so it carries nothing but a
// virtual destructor.
#pragma once

namespace vesk {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

}  // namespace vesk
