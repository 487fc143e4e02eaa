#include <vesk/system/forwarding_platform.h>

namespace vesk {

TForwardingPlatformDriver::TForwardingPlatformDriver(std::shared_ptr<TPlatformDriver> inner)
    : inner_(inner ? std::move(inner) : MakePlatformDriver()) {}

void TForwardingPlatformDriver::PollEvents() { inner_->PollEvents(); }
void TForwardingPlatformDriver::WaitEvents() { inner_->WaitEvents(); }
uint32_t TForwardingPlatformDriver::ReadClock() { return inner_->ReadClock(); }
void TForwardingPlatformDriver::SleepFor(int milliseconds) { inner_->SleepFor(milliseconds); }
int TForwardingPlatformDriver::NextChar() { return inner_->NextChar(); }
int TForwardingPlatformDriver::TakeKeyHits(int code) { return inner_->TakeKeyHits(code); }
int TForwardingPlatformDriver::IsKeyDown(int code) { return inner_->IsKeyDown(code); }
void TForwardingPlatformDriver::ResetInput() { inner_->ResetInput(); }
int TForwardingPlatformDriver::MouseAxis(int index) { return inner_->MouseAxis(index); }
void TForwardingPlatformDriver::PlaceMouse(int x, int y) { inner_->PlaceMouse(x, y); }

void TForwardingPlatformDriver::Notify(const Text& text, bool serious) { inner_->Notify(text, serious); }
bool TForwardingPlatformDriver::Confirm(const Text& text, bool serious) { return inner_->Confirm(text, serious); }
int TForwardingPlatformDriver::Proceed(const Text& text, bool serious) { return inner_->Proceed(text, serious); }

Text TForwardingPlatformDriver::RequestFile(const Text& title, const Text& extensions, bool save,
                                            const Text& initial) {
    return inner_->RequestFile(title, extensions, save, initial);
}

Text TForwardingPlatformDriver::RequestDir(const Text& title, const Text& initial) {
    return inner_->RequestDir(title, initial);
}

}  // namespace vesk
