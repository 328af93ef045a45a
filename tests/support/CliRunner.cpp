#include "support/CliRunner.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pictor::test {

namespace {

constexpr const char* HangGuard = "timeout -k 10 600 ";

int StatusOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

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
    run.Status = StatusOf(status);
    return run;
}

TCliRun RunCliInto(const std::vector<std::string>& arguments, int fd)
{
    int err[2];
    if (::pipe(err) != 0) throw std::runtime_error("cannot make a pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (fd < 0) posix_spawn_file_actions_addclose(&actions, 1);
    else posix_spawn_file_actions_adddup2(&actions, fd, 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<char*> argv{const_cast<char*>(PICTOR_CLI)};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, PICTOR_CLI, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(err[1]);
    TCliRun run;
    char buffer[4096];
    for (ssize_t n; spawned == 0 && (n = ::read(err[0], buffer, sizeof buffer)) > 0;) run.Out.append(buffer, size_t(n));
    ::close(err[0]);
    if (spawned != 0) throw std::runtime_error("cannot run " + std::string(PICTOR_CLI));
    int status = 0;
    ::waitpid(child, &status, 0);
    run.Status = StatusOf(status);
    return run;
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace pictor::test
