#include "app/model/SourceMenu.h"

namespace pictor {

namespace {

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DoubleAmpersands(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '&') out += '&';
        out += c;
    }
    return out;
}

} // namespace

std::vector<TSourceMenuItem> SourceMenuItems(const std::vector<std::string>& filePaths)
{
    std::vector<TSourceMenuItem> items;
    for (size_t k = 0; k < filePaths.size(); ++k) {
        std::string caption = DoubleAmpersands(FileNameOf(filePaths[k]));
        if (k < 10) caption += "(&" + std::to_string(k) + ")";
        items.push_back({caption, int(k)});
    }
    return items;
}

TEditorCommand EditorCommand(const std::string& editorPath, const std::string& file)
{
    return {editorPath, {file}};
}

} // namespace pictor
