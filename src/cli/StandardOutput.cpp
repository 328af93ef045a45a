#include "cli/StandardOutput.h"

#include <algorithm>
#include <cerrno>
#include <iostream>

#include <unistd.h>

namespace pictor::cli {

TStandardOutput::TStandardOutput() : Previous_(std::cout.rdbuf(this))
{
    setp(Buffer_.data(), Buffer_.data() + Buffer_.size());
}

TStandardOutput::~TStandardOutput()
{
    WriteBuffered();
    std::cout.rdbuf(Previous_);
}

int TStandardOutput::Finish()
{
    WriteBuffered();
    return Error_;
}

TStandardOutput::int_type TStandardOutput::overflow(int_type c)
{
    WriteBuffered();
    if (Error_ != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

// A large piece (the JSON writer's chunks) goes out as it is rather than through the buffer.
std::streamsize TStandardOutput::xsputn(const char* data, std::streamsize size)
{
    if (size <= epptr() - pptr()) {
        std::copy(data, data + size, pptr());
        pbump(int(size));
    } else {
        WriteBuffered();
        if (size < std::streamsize(Buffer_.size())) return xsputn(data, size);
        Write(data, std::size_t(size));
    }
    return Error_ == 0 ? size : 0;
}

int TStandardOutput::sync()
{
    WriteBuffered();
    return Error_ == 0 ? 0 : -1;
}

void TStandardOutput::WriteBuffered()
{
    Write(pbase(), std::size_t(pptr() - pbase()));
    setp(Buffer_.data(), Buffer_.data() + Buffer_.size());
}

void TStandardOutput::Write(const char* data, std::size_t size)
{
    for (const char* end = data + size; Error_ == 0 && data < end;) {
        const ssize_t written = ::write(STDOUT_FILENO, data, std::size_t(end - data));
        if (written >= 0) data += written;
        else if (errno != EINTR) Error_ = errno;
    }
}

} // namespace pictor::cli
