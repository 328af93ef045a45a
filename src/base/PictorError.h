#pragma once
#include <stdexcept>
#include <string>

namespace pictor {

// Every failure the engine reports: which file, and why. what() reads "file: reason".
class TPictorError : public std::runtime_error {
public:
    TPictorError(std::string file, std::string reason)
        : std::runtime_error(file.empty() ? reason : file + ": " + reason),
          File(std::move(file)), Reason(std::move(reason)) {}
    std::string File;
    std::string Reason;
};

} // namespace pictor
