#pragma once
#include <string>

namespace pictor {

// The manual's start page: "manual/index.html" beside the program (a build tree), else in the
// installed data folder "../share/pictor/manual/". Empty when neither exists.
std::string FindHelpFile(const std::string& programFolder);

} // namespace pictor
