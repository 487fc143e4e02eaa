// A file on disk over the C library's buffered file functions. The size is
// measured once when the stream is made and afterwards only grows through
// writes. A closed stream reads as empty (position and size 0).
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include <vesk/stream/stream.h>

namespace vesk {

class TFileStream : public TByteStream {
public:
    enum { kModeRead = 1, kModeWrite = 2, kModeReadWrite = 3 };

    std::int32_t Position() override;
    std::int32_t Size() override;
    std::int32_t Seek(std::int32_t offset) override;
    void Flush() override;
    void Close() override;
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;

    // "r+b" (must exist) when both flags are set, "wb" (create or truncate)
    // when only writeable, "rb" otherwise. Backslashes in the path become
    // slashes. Null when the file does not open.
    static std::shared_ptr<TFileStream> OpenFile(const Text& path, bool readable, bool writeable);
    // The same with a UTF-8 path.
    static std::shared_ptr<TFileStream> OpenFile(std::string_view path, bool readable, bool writeable);
    // Takes over an open handle; the stream closes it.
    static std::shared_ptr<TFileStream> FromHandle(std::FILE* handle, int mode);

    int Mode() const { return mode_; }

    // The system's error number of the first write, flush or close that
    // failed; 0 while none has.
    int ErrorNumber() const { return errorNumber_; }
    // Removes the file if opening it made it (it did not exist before), after
    // closing it. For a writer that could not finish what it began: a file
    // that was there before is left where it was.
    void RemoveIfCreated();

private:
    enum { kNoTransfer, kReading, kWriting };
    void SwitchTransfer(int transfer);
    void NoteFailure();

    std::int32_t position_ = 0;
    std::int32_t size_ = 0;
    std::FILE* handle_ = nullptr;
    int mode_ = 0;
    int lastTransfer_ = kNoTransfer;
    int errorNumber_ = 0;
    Text createdPath_;  // the file opening made; empty when it existed
};

}  // namespace vesk
