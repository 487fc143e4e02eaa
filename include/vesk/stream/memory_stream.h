// A stream over a fixed block of memory that it does not own (for example a
// resource inside the executable). It never grows: reads and writes stop at
// its size and Seek clamps to 0 … size.
#pragma once

#include <memory>

#include <vesk/stream/stream.h>

namespace vesk {

class TFixedMemoryStream : public TByteStream {
public:
    std::int32_t Position() override;
    std::int32_t Size() override;
    std::int32_t Seek(std::int32_t offset) override;
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;

    static std::shared_ptr<TFixedMemoryStream> OpenMemoryBlock(void* data, std::int32_t size,
                                                               bool readable, bool writeable);

protected:
    // Points the stream at its block, for OpenMemoryBlock and subclasses.
    void Attach(void* data, std::int32_t size, bool readable, bool writeable);

private:
    std::int32_t position_ = 0;
    std::int32_t size_ = 0;
    std::uint8_t* data_ = nullptr;
    bool readable_ = false;
    bool writeable_ = false;
};

std::shared_ptr<TFixedMemoryStream> OpenMemoryBlock(void* data, std::int32_t size, bool readable,
                                                    bool writeable);

}  // namespace vesk
