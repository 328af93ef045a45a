#pragma once
#include <string>
#include <vector>

namespace pictor::test {

// How a pictor-cli run ended: its exit code (128 + the signal when it was killed, 124 when it ran
// out of time) and what it wrote to the captured streams.
struct TCliRun {
    int Status = -1;
    std::string Out;
};

enum class TCliCapture { Stdout, StdoutAndStderr, Stderr };

// Runs pictor-cli with arguments (a shell fragment), under a generous time limit that only guards
// against hangs. environment: shell assignments put before the command, such as "TMPDIR=/x".
TCliRun RunCli(const std::string& arguments, TCliCapture capture = TCliCapture::Stdout,
               const std::string& environment = {});

// Runs pictor-cli with arguments as they are (no shell) and its standard output on fd (-1: closed),
// capturing its stderr: for outputs a shell cannot make, such as a pipe nobody reads.
TCliRun RunCliInto(const std::vector<std::string>& arguments, int fd);

// text in single quotes for the shell.
std::string ShellQuote(const std::string& text);

} // namespace pictor::test
