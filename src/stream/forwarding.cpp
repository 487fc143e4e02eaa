// Forwarding and borrowed streams.
#include "stream/forwarding.h"

namespace vesk {

bool TForwardingStream::AtEnd() { return inner_->AtEnd(); }
std::int32_t TForwardingStream::Position() { return inner_->Position(); }
std::int32_t TForwardingStream::Size() { return inner_->Size(); }
std::int32_t TForwardingStream::Seek(std::int32_t offset) { return inner_->Seek(offset); }
void TForwardingStream::Flush() { inner_->Flush(); }
void TForwardingStream::Close() { inner_->Close(); }

std::int32_t TForwardingStream::Read(void* buffer, std::int32_t count) {
    return inner_->Read(buffer, count);
}

std::int32_t TForwardingStream::Write(const void* buffer, std::int32_t count) {
    return inner_->Write(buffer, count);
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
