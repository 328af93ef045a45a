#include "support/CliRunner.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <sys/wait.h>

namespace pictor::test {

namespace {

constexpr const char* HangGuard = "timeout -k 10 600 ";

const char* Redirection(TCliCapture capture)
{
    switch (capture) {
    case TCliCapture::Stdout: return " 2>/dev/null";
    case TCliCapture::StdoutAndStderr: return " 2>&1";
    case TCliCapture::Stderr: return " 2>&1 >/dev/null";
    }
    return "";
}

} // namespace

TCliRun RunCli(const std::string& arguments, TCliCapture capture, const std::string& environment)
{
    const std::string command = environment + (environment.empty() ? "" : " ") + HangGuard +
                                ShellQuote(PICTOR_CLI) + " " + arguments + Redirection(capture);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    TCliRun run;
    std::array<char, 4096> buffer;
    while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) run.Out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    return run;
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace pictor::test
