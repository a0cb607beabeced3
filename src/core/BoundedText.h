// Output into a caller's fixed buffer that is cut at a maximum length and always ends with a
// NUL, the way the formatting routines promise their callers.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string_view>

namespace UtilityClasses::Strings::Implementation {

class ABoundedText {
public:
    // `out` holds `maxLength` characters and the NUL.
    ABoundedText(char16_t* out, std::size_t maxLength) : out_(out), maxLength_(maxLength) {}

    bool Full() const { return length_ == maxLength_; }
    void Put(char16_t c)
    {
        if (!Full())
            out_[length_++] = c;
    }
    void Put(std::u16string_view text)
    {
        std::size_t count = std::min(text.size(), maxLength_ - length_);
        std::copy_n(text.data(), count, out_ + length_);
        length_ += count;
    }
    void Repeat(char16_t c, std::ptrdiff_t count)
    {
        for (std::ptrdiff_t i = 0; i < count; ++i)
            Put(c);
    }
    std::size_t Finish()
    {
        out_[length_] = u'\0';
        return length_;
    }

private:
    char16_t* out_;
    std::size_t maxLength_;
    std::size_t length_ = 0;
};

}  // namespace UtilityClasses::Strings::Implementation
