#include "base/WorkPool.h"
#include "cli/Commands.h"
#include "cli/DocumentJson.h"
#include "cli/LoadPages.h"
#include "cli/SiteJson.h"

#include <iostream>

namespace pictor::cli {

TCommandEnd RunList(const TListRequest& request)
{
    TWorkPool pool;
    TSiteDocument site;
    LoadPages(site, request, pool);
    if (request.OnePage()) {
        const THtmlStructure& document = *site.Pages().front().Document;
        if (request.Json)
            PrintDocumentJson(std::cout, document);
        else
            std::cout << DocumentToText(document);
    } else if (request.Json) {
        PrintSiteJson(std::cout, site);
    } else {
        PrintSiteText(std::cout, site);
    }
    return {SiteStatus(site)};
}

} // namespace pictor::cli
