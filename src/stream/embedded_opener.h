// The opener of "incbin::name": a read-only stream straight over the bytes of
// a registered resource.
#pragma once

#include <vesk/stream/opener.h>

namespace vesk {

class TEmbeddedOpener : public TStreamOpener {
public:
    TStreamRef Open(const TUrl& url, const Text& protocol, const Text& path, bool readable,
                    bool writeable) override;
};

}  // namespace vesk
