#pragma once
#include <stdexcept>
#include <string>

namespace pictor {

// text with its control bytes written as escapes (\n, \r, \t, \xHH), so that a message built from file
// names and pages stays on one line.
std::string EscapeControlBytes(const std::string& text);

// Every failure the engine reports: which file, and why. what() reads "file: reason", escaped.
class TPictorError : public std::runtime_error {
public:
    TPictorError(std::string file, std::string reason)
        : std::runtime_error(EscapeControlBytes(file.empty() ? reason : file + ": " + reason)),
          File(std::move(file)), Reason(std::move(reason)) {}
    std::string File;
    std::string Reason;
};

} // namespace pictor
