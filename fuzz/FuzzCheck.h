#pragma once
#include <cstdio>
#include <cstdlib>

namespace pictor::fuzz {

// A broken promise is a crash for libFuzzer, which then keeps the input.
inline void Require(bool ok, const char* promise)
{
    if (ok) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

} // namespace pictor::fuzz
