// The polled picture of the keyboard and mouse, built from window messages as
// they pass through the pump. One per process, all zero at start.
#pragma once

#include <vesk/system/messages.h>

#include <array>
#include <cstdint>

namespace vesk {

class TInputState {
public:
    // The input filter: updates the state from one message; messages it does
    // not know are ignored.
    void Filter(uint32_t message, uint32_t wParam, uint32_t lParam);

    int TakeKeyHits(int code);
    int IsKeyDown(int code) const;
    int NextChar();
    void Reset();
    int MouseAxis(int index) const;

private:
    void Press(uint32_t code);
    void Release(uint32_t code);
    static uint32_t SidedCode(uint32_t code, uint32_t lParam);

    std::array<uint8_t, 256> hits_{};
    std::array<uint8_t, 256> down_{};
    std::array<uint16_t, 256> chars_{};
    uint32_t charPut_ = 0;
    uint32_t charTake_ = 0;
    int32_t mouseX_ = 0;
    int32_t mouseY_ = 0;
    int32_t mouseZ_ = 0;
};

// The process-wide input state.
TInputState& Input();

}  // namespace vesk
