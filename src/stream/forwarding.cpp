// Forwarding and borrowed streams.
#include <vesk/stream/forwarding.h>

namespace vesk {

// With no inner stream (a borrowed stream after Close) the stream acts as a
// closed one: empty, at its end, moving nothing.
bool TForwardingStream::AtEnd() { return inner_ ? inner_->AtEnd() : true; }
std::int32_t TForwardingStream::Position() { return inner_ ? inner_->Position() : 0; }
std::int32_t TForwardingStream::Size() { return inner_ ? inner_->Size() : 0; }

std::int32_t TForwardingStream::Seek(std::int32_t offset) {
    return inner_ ? inner_->Seek(offset) : 0;
}

void TForwardingStream::Flush() {
    if (inner_) inner_->Flush();
}

void TForwardingStream::Close() {
    if (inner_) inner_->Close();
}

std::int32_t TForwardingStream::Read(void* buffer, std::int32_t count) {
    return inner_ ? inner_->Read(buffer, count) : 0;
}

std::int32_t TForwardingStream::Write(const void* buffer, std::int32_t count) {
    return inner_ ? inner_->Write(buffer, count) : 0;
}

// Take the new reference before letting go of the old one, so setting the
// same stream again never releases it in between.
void TForwardingStream::SetInner(TStreamRef stream) {
    TStreamRef previous = std::move(inner_);
    inner_ = std::move(stream);
}

void TBorrowedStream::Close() { SetInner(nullptr); }

std::shared_ptr<TBorrowedStream> TBorrowedStream::Borrow(TStreamRef stream) {
    auto borrowed = std::make_shared<TBorrowedStream>();
    borrowed->SetInner(std::move(stream));
    return borrowed;
}

}  // namespace vesk
