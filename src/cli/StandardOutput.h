#pragma once
#include <array>
#include <streambuf>

namespace pictor::cli {

// std::cout's buffer while it lives, written straight to descriptor 1: the first write that fails is
// remembered with its errno, which stdio would lose, and nothing more is attempted after it.
class TStandardOutput : public std::streambuf {
public:
    TStandardOutput();
    ~TStandardOutput() override;
    TStandardOutput(const TStandardOutput&) = delete;
    TStandardOutput& operator=(const TStandardOutput&) = delete;

    // Writes what is buffered. 0 when everything arrived, else the errno of the first failure.
    int Finish();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    void WriteBuffered();
    void Write(const char* data, std::size_t size);

    std::array<char, 1 << 16> Buffer_;
    int Error_ = 0;
    std::streambuf* Previous_;
};

} // namespace pictor::cli
