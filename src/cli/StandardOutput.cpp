#include "cli/StandardOutput.h"

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

int TStandardOutput::sync()
{
    WriteBuffered();
    return Error_ == 0 ? 0 : -1;
}

void TStandardOutput::WriteBuffered()
{
    for (const char* from = pbase(); Error_ == 0 && from < pptr();) {
        const ssize_t written = ::write(STDOUT_FILENO, from, std::size_t(pptr() - from));
        if (written >= 0) from += written;
        else if (errno != EINTR) Error_ = errno;
    }
    setp(Buffer_.data(), Buffer_.data() + Buffer_.size());
}

} // namespace pictor::cli
