#pragma once
#include "encoding/CharCode.h"

#include <cstring>
#include <string>

namespace pictor {

// Output of the conversion loops. std::string::push_back per byte costs a size update and a terminator
// each time; here a loop reserves room once per character and writes through a pointer.
class TByteSink {
public:
    explicit TByteSink(std::size_t expected) { Resize(expected + 16); }

    // Room for at least n more bytes.
    void Ensure(std::size_t n)
    {
        if (static_cast<std::size_t>(End_ - P_) < n) Resize(Out_.size() * 2 + n);
    }
    void Put(unsigned c) { *P_++ = static_cast<char>(c); }
    void Put2(unsigned pair)
    {
        P_[0] = static_cast<char>(pair >> 8);
        P_[1] = static_cast<char>(pair);
        P_ += 2;
    }
    // A Shift-JIS double-byte character at b[i] is copied whole, so that its trail byte is never taken
    // for a character of its own; false when none starts there. Needs room for 2 bytes.
    bool PutSjisPair(const unsigned char* b, std::size_t& i, std::size_t n)
    {
        if (!IsSjisLeadByte(b[i]) || i + 1 >= n) return false;
        P_[0] = static_cast<char>(b[i]);
        P_[1] = static_cast<char>(b[i + 1]);
        P_ += 2;
        i += 2;
        return true;
    }
    void Append(const char* bytes, std::size_t n)
    {
        Ensure(n);
        std::memcpy(P_, bytes, n);
        P_ += n;
    }
    std::string Take()
    {
        Out_.resize(static_cast<std::size_t>(P_ - Out_.data()));
        return std::move(Out_);
    }

private:
    void Resize(std::size_t size)
    {
        const std::size_t used = P_ ? static_cast<std::size_t>(P_ - Out_.data()) : 0;
        Out_.resize(size);
        P_ = Out_.data() + used;
        End_ = Out_.data() + Out_.size();
    }

    std::string Out_;
    char* P_ = nullptr;
    char* End_ = nullptr;
};

} // namespace pictor
