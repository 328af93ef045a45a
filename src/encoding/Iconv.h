#pragma once
#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace pictor {

// One glibc iconv conversion, open for the object's life.
class TIconv {
public:
    // Throws TPictorError when iconv does not know the pair.
    TIconv(const char* to, const char* from);
    ~TIconv();
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // Bytes written to out, or -1 when the input is not wholly convertible.
    int Convert(const void* in, std::size_t inLength, unsigned char (&out)[8]);
    // The whole text; a byte that does not convert, and a character cut off at the end, pass through as
    // they are, and the conversion goes on after them in the state it had.
    std::string ConvertPassing(std::string_view in);

private:
    iconv_t Cd_;
};

} // namespace pictor
