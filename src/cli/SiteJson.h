#pragma once
#include "site/SiteDocument.h"

#include <ostream>

namespace pictor::cli {

// A site in the schema of `list --site --json`: "pages" (each page's document as `list --json` gives
// it), "failed" (each page that could not be loaded, with why), "palette" and "pictures".
void PrintSiteJson(std::ostream& out, const TSiteDocument& site);
// The same for people, the palette first.
void PrintSiteText(std::ostream& out, const TSiteDocument& site);

} // namespace pictor::cli
