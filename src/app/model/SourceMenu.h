#pragma once
#include <string>
#include <vector>

namespace pictor {

inline constexpr const char* kSourceMenuPlaceholder = "(なし)";
inline constexpr const char* kSourceMenuHint = "エディタはオプションから選択できます";

struct TSourceMenuItem {
    std::string Caption;  // a menu text: "&" marks the access key
    int Tag = 0;          // the file tab: 0 the page, k style sheet k - 1
};

// One item per file, in tab order: the file's name without its folder, followed by "(&k)" for the
// first ten. An "&" in a file name is doubled so that the name shows as it is.
std::vector<TSourceMenuItem> SourceMenuItems(const std::vector<std::string>& filePaths);

// The external editor's start: EditorPath as the program, used as written, and the file as its only
// argument. Started detached; nobody waits for it or reports its failure.
struct TEditorCommand {
    std::string Program;
    std::vector<std::string> Arguments;
};
TEditorCommand EditorCommand(const std::string& editorPath, const std::string& file);

} // namespace pictor
