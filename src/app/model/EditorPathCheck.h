#pragma once
#include <string>

namespace pictor {

// The editor's full path when name is run through the search path: a name with a "/" is taken as
// it is, any other is looked for in each folder of searchPath (":"-separated, like $PATH). Empty
// when there is no executable file of that name.
std::string FindExecutable(const std::string& name, const std::string& searchPath);

// Whether the options dialog may store path as EditorPath: the platform's default editor name,
// an existing file, or a command found on searchPath.
bool IsEditorPathAccepted(const std::string& path, const std::string& searchPath);

// The $PATH of this process, empty when unset.
std::string ProcessSearchPath();

} // namespace pictor
