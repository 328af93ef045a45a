// The page walk, record building and rewriting over arbitrary page text.
#include "RewriteCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    pictor::fuzz::CheckScanAndRewrite({reinterpret_cast<const char*>(data), size}, true);
    return 0;
}
