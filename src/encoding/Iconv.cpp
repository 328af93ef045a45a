#include "encoding/Iconv.h"

#include "base/PictorError.h"

#include <cerrno>

namespace pictor {

TIconv::TIconv(const char* to, const char* from) : Cd_(iconv_open(to, from))
{
    if (Cd_ == reinterpret_cast<iconv_t>(-1))
        throw TPictorError("", std::string("iconv cannot convert ") + from + " to " + to);
}

TIconv::~TIconv()
{
    iconv_close(Cd_);
}

int TIconv::Convert(const void* in, std::size_t inLength, unsigned char (&out)[8])
{
    iconv(Cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(static_cast<const char*>(in));
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    if (iconv(Cd_, &inPtr, &inLength, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLength != 0)
        return -1;
    return static_cast<int>(sizeof out - outLeft);
}

std::string TIconv::ConvertPassing(std::string_view in)
{
    iconv(Cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size(), done = 0;
    while (inLeft > 0) {
        char* outPtr = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const bool stopped = iconv(Cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1);
        done = out.size() - outLeft;
        if (!stopped) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
        } else {  // EILSEQ, EINVAL: the byte goes through as it is
            if (done == out.size()) out.resize(out.size() * 2);
            out[done++] = *inPtr++;
            --inLeft;
        }
    }
    out.resize(done);
    return out;
}

} // namespace pictor
