#include "cli/Commands.h"
#include "cli/DocumentJson.h"

#include <iostream>

namespace pictor::cli {

int RunList(const TListRequest& request)
{
    THtmlStructure document(NoWorkingCopies());
    document.LoadFromFile(request.Page);
    WarnDeadReferences(document);
    if (request.Json)
        std::cout << DocumentToJson(document).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    else
        std::cout << DocumentToText(document);
    return 0;
}

} // namespace pictor::cli
