#pragma once
#include <iconv.h>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pictor::test {

// The reference conversions the encoding tests compare against; throws when iconv refuses the text.
inline std::string Iconv(std::string_view text, const char* from, const char* to)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no iconv for ") + from);
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const bool ok = iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)
        && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok) throw std::runtime_error(std::string("iconv refused the text from ") + from + " to " + to);
    out.resize(out.size() - outLeft);
    return out;
}

// Whether iconv takes the text there and back unchanged.
inline bool RoundTrips(std::string_view text, const char* from, const char* to)
{
    try {
        return Iconv(Iconv(text, from, to), to, from) == text;
    } catch (const std::runtime_error&) {
        return false;
    }
}

} // namespace pictor::test
