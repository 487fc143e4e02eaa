// File streams over the C library's buffered file functions.
#include <vesk/stream/file_stream.h>

#include "stream/file_names.h"

#include <algorithm>
#include <cerrno>

namespace vesk {

namespace {

struct TOpenMode {
    const char* text;
    int number;
};

TOpenMode ChooseMode(bool readable, bool writeable) {
    if (readable && writeable) return {"r+b", TFileStream::kModeReadWrite};
    if (writeable) return {"wb", TFileStream::kModeWrite};
    return {"rb", TFileStream::kModeRead};
}

}  // namespace

std::shared_ptr<TFileStream> TFileStream::OpenFile(std::string_view path, bool readable, bool writeable) {
    return OpenFile(Utf8ToText(path), readable, writeable);
}

std::shared_ptr<TFileStream> TFileStream::OpenFile(const Text& path, bool readable,
                                                   bool writeable) {
    TOpenMode mode = ChooseMode(readable, writeable);
    const bool existed = NameExists(path);
    std::FILE* handle = OpenFileByName(path, mode.text);
    if (!handle) return nullptr;
    std::shared_ptr<TFileStream> stream = FromHandle(handle, mode.number);
    if (!existed) stream->createdPath_ = path;
    return stream;
}

std::shared_ptr<TFileStream> TFileStream::FromHandle(std::FILE* handle, int mode) {
    auto stream = std::make_shared<TFileStream>();
    stream->handle_ = handle;
    stream->position_ = static_cast<std::int32_t>(std::ftell(handle));
    std::fseek(handle, 0, SEEK_END);
    stream->size_ = static_cast<std::int32_t>(std::ftell(handle));
    std::fseek(handle, stream->position_, SEEK_SET);
    stream->mode_ = mode;
    return stream;
}

std::int32_t TFileStream::Position() { return position_; }
std::int32_t TFileStream::Size() { return size_; }

std::int32_t TFileStream::Seek(std::int32_t offset) {
    if (!handle_) return 0;
    std::fseek(handle_, offset, SEEK_SET);
    position_ = static_cast<std::int32_t>(std::ftell(handle_));
    lastTransfer_ = kNoTransfer;
    return position_;
}

std::int32_t TFileStream::Read(void* buffer, std::int32_t count) {
    if (!handle_ || count <= 0) return 0;
    SwitchTransfer(kReading);
    auto moved = static_cast<std::int32_t>(std::fread(buffer, 1, count, handle_));
    position_ += moved;
    return moved;
}

std::int32_t TFileStream::Write(const void* buffer, std::int32_t count) {
    if (!handle_ || count <= 0) return 0;
    SwitchTransfer(kWriting);
    auto moved = static_cast<std::int32_t>(std::fwrite(buffer, 1, count, handle_));
    // A failed transfer to the file may still count as written while the
    // bytes sat in the buffer; the stream's error flag tells.
    if (moved < count || std::ferror(handle_)) NoteFailure();
    position_ += moved;
    size_ = std::max(size_, position_);
    return moved;
}

// The C library requires a positioning call between a read and a following
// write (and back) on an update stream; a seek to the current place is one.
void TFileStream::SwitchTransfer(int transfer) {
    if (lastTransfer_ != kNoTransfer && lastTransfer_ != transfer) std::fseek(handle_, 0, SEEK_CUR);
    lastTransfer_ = transfer;
}

void TFileStream::NoteFailure() {
    if (errorNumber_ == 0) errorNumber_ = errno != 0 ? errno : EIO;
}

void TFileStream::Flush() {
    if (handle_ && std::fflush(handle_) != 0) NoteFailure();
}

// Bytes still in the C library's buffer reach the file only here, so a full
// disk may show itself only now.
void TFileStream::Close() {
    if (!handle_) return;
    Flush();
    if (std::fclose(handle_) != 0) NoteFailure();
    position_ = 0;
    size_ = 0;
    handle_ = nullptr;
}

void TFileStream::RemoveIfCreated() {
    Close();
    if (!createdPath_.empty()) RemoveFileByName(createdPath_);
    createdPath_.clear();
}

}  // namespace vesk
