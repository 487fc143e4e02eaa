// The scroller's text: a French announcement with credits and greetings,
// padded with runs of spaces, and the lower-case control letters that switch
// the scroller's motion and the effect objects as they enter its window.
#pragma once

#include <vesk/runtime/text.h>

namespace vesk {

// The whole text, 776 characters.
Text AssembleScrollText();

}  // namespace vesk
