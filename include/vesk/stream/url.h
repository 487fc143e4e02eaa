// What a stream can be opened from: a name (text), an open stream, or another
// shared object that some opener recognises (a memory buffer). A null object
// and the empty text both reach the openers with an empty protocol and path.
// Names may be given as engine text or as UTF-8 ("hero.png"); both become
// the same text.
#pragma once

#include <concepts>
#include <memory>
#include <string>
#include <string_view>

#include <vesk/runtime/text.h>
#include <vesk/stream/object.h>

namespace vesk {

class TUrl {
public:
    TUrl() = default;
    TUrl(Text text) : text_(std::move(text)), isText_(true) {}
    TUrl(const char16_t* text) : text_(text), isText_(true) {}
    TUrl(const char* utf8) : TUrl(std::string_view(utf8 ? utf8 : "")) {}
    TUrl(const std::string& utf8) : TUrl(std::string_view(utf8)) {}
    TUrl(std::string_view utf8) : text_(Utf8ToText(utf8)), isText_(true) {}
    template <std::derived_from<TObject> T>
    TUrl(std::shared_ptr<T> object) : object_(std::move(object)) {}

    bool IsText() const { return isText_; }
    const Text& AsText() const { return text_; }  // empty when not a text
    const std::shared_ptr<TObject>& Object() const { return object_; }

    // The object as a T, or null when it is not one.
    template <typename T>
    std::shared_ptr<T> As() const { return std::dynamic_pointer_cast<T>(object_); }

private:
    Text text_;
    std::shared_ptr<TObject> object_;
    bool isText_ = false;
};

}  // namespace vesk
