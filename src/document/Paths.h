#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// reference made absolute against folder: "\" read as "/", "." and ".." followed. A name that holds "?"
// or "#" is taken as written when that file exists, else without its query or fragment. Empty when
// folder does not exist or the reference holds a NUL byte. The process's current folder is not touched.
std::string ResolvePath(const std::string& folder, std::string_view reference);
// path with every link resolved, as far as its folders exist: two names of one place give one text.
std::string ResolvedPath(const std::string& path);
// What makes a file the same file under two names: its device and inode where it exists, else its
// resolved path.
std::string FileIdentity(const std::string& path);
// The folder part of a path, with its trailing "/".
std::string FolderOf(const std::string& path);
// A reference that names no local file: a URL with a scheme (http:, https:, data:, ...) or "//host/...".
bool IsExternalReference(std::string_view reference);
// Whether a reference names an SVG picture: ".svg" at its end, or before its query or fragment.
bool NamesSvgFile(std::string_view reference);
// A page: its name ends in ".htm", ".html" or ".shtml", in any case.
bool IsPageName(std::string_view path);
// path without folder (with its trailing "/") when it lies there, else path as it is.
std::string PathBelow(const std::string& path, const std::string& folder);
// The folder that every path lies below, with a trailing "/", cut before the first differing character.
std::string CommonBaseFolder(const std::vector<std::string>& paths);

} // namespace pictor
