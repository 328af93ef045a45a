#include "cli/Commands.h"
#include "cli/DocumentJson.h"
#include "document/WorkSession.h"

#include <iostream>

namespace pictor::cli {

int RunList(const TListRequest& request)
{
    const TWorkSession work;
    THtmlStructure document(work.Path());
    document.LoadFromFile(request.Page);
    WarnDeadReferences(document);
    if (request.Json)
        std::cout << DocumentToJson(document).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    else
        std::cout << DocumentToText(document);
    return 0;
}

} // namespace pictor::cli
