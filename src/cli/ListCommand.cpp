#include "cli/Commands.h"
#include "cli/DocumentJson.h"

#include <iostream>

namespace pictor::cli {

int RunList(const TListRequest& request)
{
    THtmlStructure document(NoWorkingCopies());
    document.LoadFromFile(request.Page);
    WarnDeadReferences(document);
    if (request.Json) {
        WriteDocumentJson(std::cout, document, 0);
        std::cout << "\n";
    } else {
        std::cout << DocumentToText(document);
    }
    return 0;
}

} // namespace pictor::cli
