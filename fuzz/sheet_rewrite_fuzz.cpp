// The style-sheet walk, record building and rewriting over arbitrary sheet text.
#include "RewriteCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    pictor::fuzz::CheckScanAndRewrite({reinterpret_cast<const char*>(data), size}, false);
    return 0;
}
