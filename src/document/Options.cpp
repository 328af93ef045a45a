#include "document/Options.h"

namespace pictor {

TOptions& Options()
{
    static TOptions options;
    return options;
}

} // namespace pictor
