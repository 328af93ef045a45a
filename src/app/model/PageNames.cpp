#include "app/model/PageNames.h"

namespace pictor {

bool IsHtmlPageName(std::string_view path)
{
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot);
    return extension == ".htm" || extension == ".html" || extension == ".shtml";
}

} // namespace pictor
