// Memory buffers and buffer streams driven by the input: every operation is
// also applied to a model of the buffer's block, and the two are compared.
// Offsets and counts stay within the buffer where the caller has to keep
// them there; everything the buffer checks itself gets arbitrary values.
#include "fuzz_input.h"
#include <vesk/stream/buffer.h>
#include <vesk/stream/buffer_stream.h>
#include <vesk/stream/opening.h>

#include <vector>

namespace vesk::fuzz {
namespace {

constexpr int32_t kMaxSize = 1 << 14;
constexpr int kUnknown = -1;  // a byte of the block that was never written

// The buffer's block as it should be: bytes 0 … capacity (or size, for
// external memory), each known or not.
struct TModel {
    std::vector<int> block;
    int32_t size = 0;
    int32_t capacity = 0;

    void Resize(int32_t newSize) {
        if (newSize > capacity) {
            int64_t grown = int64_t{capacity} * 3 / 2;
            int32_t newCapacity = grown < newSize ? newSize : static_cast<int32_t>(grown);
            std::vector<int> fresh(static_cast<size_t>(newCapacity), kUnknown);
            for (int32_t i = 0; i < std::min(size, newSize); ++i) fresh[i] = block[i];
            block = std::move(fresh);
            capacity = newCapacity;
        }
        size = newSize;
    }
};

class TBufferDriver {
public:
    explicit TBufferDriver(TOpInput& in) : in_(in) { Reset(TMemoryBuffer::Allocate(0), {}, 0); }

    void Step() {
        switch (in_.Byte() % 16) {
        case 0: Allocate(); break;
        case 1: OverMemory(); break;
        case 2: Resize(); break;
        case 3: Poke(); break;
        case 4: Peek(); break;
        case 5: Seek(); break;
        case 6: StreamRead(); break;
        case 7: StreamWrite(); break;
        case 8: StreamTyped(); break;
        case 9: ReadFrom(); break;
        case 10: WriteTo(); break;
        case 11: CopyWithin(); break;
        case 12: SaveToBuffer(); break;
        case 13: LoadFromBuffer(); break;
        case 14: NewStream(); break;
        default: Compare(); break;
        }
        CheckShape();
    }

private:
    void Reset(TBufferRef buffer, std::vector<int> block, int32_t capacity) {
        buffer_ = std::move(buffer);
        model_.block = std::move(block);
        model_.size = buffer_->Size();
        model_.capacity = capacity;
        model_.block.resize(static_cast<size_t>(std::max(capacity, model_.size)), kUnknown);
        stream_ = OpenBufferStream(buffer_);
        position_ = 0;
    }

    void Allocate() {
        int32_t size = in_.Count(kMaxSize);
        Reset(TMemoryBuffer::Allocate(size), {}, size);
    }

    void OverMemory() {
        size_t count = static_cast<size_t>(in_.Count(kMaxSize));
        const uint8_t* bytes = in_.Take(count);
        external_.push_back(std::vector<uint8_t>(bytes, bytes + count));
        auto& memory = external_.back();
        TBufferRef buffer = TMemoryBuffer::OverMemory(memory.data(), static_cast<int32_t>(memory.size()));
        Reset(buffer, std::vector<int>(memory.begin(), memory.end()), -1);
        VESK_FUZZ_CHECK(buffer_->Capacity() == -1);
    }

    void Resize() {
        int32_t newSize = in_.Count(kMaxSize);
        uint8_t* before = buffer_->Data();
        bool fits = newSize <= model_.capacity;
        buffer_->Resize(newSize);
        model_.Resize(newSize);
        if (fits) VESK_FUZZ_CHECK(buffer_->Data() == before);
    }

    // An offset where width bytes fit, or -1 when the buffer is too small.
    int32_t Offset(int32_t width) {
        int32_t room = model_.size - width;
        return room < 0 ? -1 : in_.Count(room);
    }

    void Poke() {
        static constexpr int32_t kWidths[] = {1, 2, 4, 8, 4, 8};
        int kind = in_.Byte() % 6;
        int32_t width = kWidths[kind];
        int32_t at = Offset(width);
        if (at < 0) return;
        uint64_t value = uint64_t{in_.Word()} | uint64_t{in_.Word()} << 32;
        switch (kind) {
        case 0: buffer_->PokeU8(at, static_cast<int>(value)); break;
        case 1: buffer_->PokeU16(at, static_cast<int>(value)); break;
        case 2: buffer_->PokeI32(at, static_cast<int32_t>(value)); break;
        case 3: buffer_->PokeI64(at, static_cast<int64_t>(value)); break;
        case 4: {
            float f;
            uint32_t bits = static_cast<uint32_t>(value);
            std::memcpy(&f, &bits, 4);
            buffer_->PokeF32(at, f);
            break;
        }
        default: {
            double d;
            std::memcpy(&d, &value, 8);
            buffer_->PokeF64(at, d);
            break;
        }
        }
        for (int32_t i = 0; i < width; ++i) model_.block[at + i] = static_cast<int>((value >> (8 * i)) & 0xFF);
    }

    // The little-endian value of width model bytes, or false when one of
    // them was never written.
    bool Known(int32_t at, int32_t width, uint64_t& value) const {
        value = 0;
        for (int32_t i = 0; i < width; ++i) {
            int byte = model_.block[at + i];
            if (byte == kUnknown) return false;
            value |= uint64_t(byte) << (8 * i);
        }
        return true;
    }

    void Peek() {
        int kind = in_.Byte() % 4;
        static constexpr int32_t kWidths[] = {1, 2, 4, 8};
        int32_t width = kWidths[kind];
        int32_t at = Offset(width);
        if (at < 0) return;
        uint64_t expected;
        if (!Known(at, width, expected)) return;
        switch (kind) {
        case 0: VESK_FUZZ_CHECK(buffer_->PeekU8(at) == static_cast<int>(expected)); break;
        case 1: VESK_FUZZ_CHECK(buffer_->PeekU16(at) == static_cast<int>(expected)); break;
        case 2: VESK_FUZZ_CHECK(buffer_->PeekI32(at) == static_cast<int32_t>(expected)); break;
        default: VESK_FUZZ_CHECK(buffer_->PeekI64(at) == static_cast<int64_t>(expected)); break;
        }
    }

    void Seek() {
        auto offset = static_cast<int32_t>(in_.Word());
        int32_t expected = std::clamp(offset, 0, model_.size);
        VESK_FUZZ_CHECK(stream_->Seek(offset) == expected);
        position_ = expected;
    }

    void StreamRead() {
        int32_t count = in_.Count(kMaxSize);
        std::vector<uint8_t> out(static_cast<size_t>(count) + 1);
        int32_t moved = stream_->Read(out.data(), count);
        int32_t expected = (count <= 0 || position_ >= model_.size) ? 0 : std::min(count, model_.size - position_);
        VESK_FUZZ_CHECK(moved == expected);
        for (int32_t i = 0; i < moved; ++i) {
            int byte = model_.block[position_ + i];
            VESK_FUZZ_CHECK(byte == kUnknown || byte == out[i]);
        }
        position_ += moved;
        VESK_FUZZ_CHECK(stream_->Position() == position_);
    }

    void StreamWrite() {
        size_t count = static_cast<size_t>(in_.Count(kMaxSize));
        const uint8_t* bytes = in_.Take(count);
        auto n = static_cast<int32_t>(count);
        int32_t moved = stream_->Write(bytes, n);
        if (n <= 0 || position_ > model_.size) {
            VESK_FUZZ_CHECK(moved == 0);
            return;
        }
        VESK_FUZZ_CHECK(moved == n);
        if (position_ + n > model_.size) model_.Resize(position_ + n);
        for (int32_t i = 0; i < n; ++i) model_.block[position_ + i] = bytes[i];
        position_ += n;
    }

    // A typed read at or across the end keeps the bytes it found and zeros
    // above them; a typed write appends like any write.
    void StreamTyped() {
        if (in_.Byte() & 1) {
            uint32_t value = in_.Word();
            if (position_ > model_.size) {
                // Beyond the end of a shrunk buffer a write moves nothing,
                // which an exact write reports as a failure.
                bool failed = false;
                try {
                    stream_->WriteI32(static_cast<int32_t>(value));
                } catch (const TStreamWriteError&) {
                    failed = true;
                }
                VESK_FUZZ_CHECK(failed);
                return;
            }
            stream_->WriteI32(static_cast<int32_t>(value));
            if (position_ + 4 > model_.size) model_.Resize(position_ + 4);
            for (int i = 0; i < 4; ++i) model_.block[position_ + i] = static_cast<int>((value >> (8 * i)) & 0xFF);
            position_ += 4;
            return;
        }
        int32_t value = stream_->ReadI32();
        int32_t available = std::clamp(model_.size - position_, 0, 4);
        uint64_t expected;
        if (Known(position_, available, expected)) VESK_FUZZ_CHECK(static_cast<uint32_t>(value) == expected);
        position_ += available;
        VESK_FUZZ_CHECK(stream_->Position() == position_);
    }

    void ReadFrom() {
        int32_t count = in_.Count(model_.size);
        int32_t at = Offset(count);
        if (at < 0) return;
        size_t sourceCount = static_cast<size_t>(in_.Count(count));
        const uint8_t* bytes = in_.Take(sourceCount);
        TStreamRef source = InputStream(bytes, sourceCount);
        VESK_FUZZ_CHECK(buffer_->ReadFrom(source, at, count) == count);
        // Bytes past the source's end keep what they held.
        for (size_t i = 0; i < sourceCount; ++i) model_.block[at + i] = bytes[i];
    }

    void WriteTo() {
        int32_t count = in_.Count(model_.size);
        int32_t at = Offset(count);
        if (at < 0) return;
        auto target = OpenBufferStream(nullptr);
        VESK_FUZZ_CHECK(buffer_->WriteTo(target, at, count) == count);
        VESK_FUZZ_CHECK(target->Size() == count);
        for (int32_t i = 0; i < count; ++i) {
            int byte = model_.block[at + i];
            VESK_FUZZ_CHECK(byte == kUnknown || byte == target->Buffer()->Data()[i]);
        }
    }

    void CopyWithin() {
        int32_t count = in_.Count(model_.size);
        int32_t from = Offset(count);
        int32_t to = Offset(count);
        if (from < 0 || to < 0) return;
        CopyBytes(buffer_, from, buffer_, to, count);
        std::vector<int> moved(model_.block.begin() + from, model_.block.begin() + from + count);
        std::copy(moved.begin(), moved.end(), model_.block.begin() + to);
    }

    void SaveToBuffer() {
        TBufferRef target = TMemoryBuffer::Allocate(0);
        VESK_FUZZ_CHECK(buffer_->SaveTo(target));
        VESK_FUZZ_CHECK(target->Size() == model_.size);
        for (int32_t i = 0; i < model_.size; ++i) {
            int byte = model_.block[i];
            VESK_FUZZ_CHECK(byte == kUnknown || byte == target->Data()[i]);
        }
    }

    void LoadFromBuffer() {
        TBufferRef copy = TMemoryBuffer::LoadFrom(buffer_);
        VESK_FUZZ_CHECK(copy && copy->Size() == model_.size && copy->Capacity() == model_.size);
        for (int32_t i = 0; i < model_.size; ++i) {
            int byte = model_.block[i];
            VESK_FUZZ_CHECK(byte == kUnknown || byte == copy->Data()[i]);
        }
    }

    void NewStream() {
        stream_ = TBufferStream::Over(buffer_);
        position_ = 0;
    }

    void Compare() {
        for (int32_t i = 0; i < model_.size; ++i) {
            int byte = model_.block[i];
            VESK_FUZZ_CHECK(byte == kUnknown || byte == buffer_->Data()[i]);
        }
    }

    void CheckShape() {
        VESK_FUZZ_CHECK(buffer_->Size() == model_.size);
        VESK_FUZZ_CHECK(buffer_->Capacity() == model_.capacity);
        VESK_FUZZ_CHECK(stream_->Size() == model_.size);
        VESK_FUZZ_CHECK(stream_->Position() == position_);
        VESK_FUZZ_CHECK(stream_->AtEnd() == (position_ >= model_.size));
    }

    TOpInput& in_;
    TBufferRef buffer_;
    std::shared_ptr<TBufferStream> stream_;
    TModel model_;
    int32_t position_ = 0;
    std::vector<std::vector<uint8_t>> external_;  // outlives every buffer over it
};

}  // namespace
}  // namespace vesk::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vesk::InitStreamModule();
    vesk::fuzz::HandSignalsToFuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vesk::fuzz::TOpInput in(data, size);
    vesk::fuzz::TBufferDriver driver(in);
    for (int step = 0; step < 256 && !in.Empty(); ++step) driver.Step();
    return 0;
}
