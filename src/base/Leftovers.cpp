#include "base/Leftovers.h"

#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <thread>

#include <pthread.h>
#include <unistd.h>

namespace pictor {

namespace {

struct TLeftovers {
    std::mutex Lock;
    std::set<std::string> Paths;
};

TLeftovers& Leftovers()
{
    static TLeftovers leftovers;
    return leftovers;
}

[[noreturn]] void RemoveAllAndDie(int signal)
{
    TLeftovers& left = Leftovers();
    const std::lock_guard lock(left.Lock);  // held to the end: nothing new is added meanwhile
    for (const std::string& path : left.Paths) {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

} // namespace

void AddLeftover(const std::string& path)
{
    const std::lock_guard lock(Leftovers().Lock);
    Leftovers().Paths.insert(path);
}

int CreateLeftoverFile(const std::string& path, int flags, unsigned mode)
{
    const std::lock_guard lock(Leftovers().Lock);
    const int fd = ::open(path.c_str(), flags, mode);
    if (fd >= 0) Leftovers().Paths.insert(path);
    return fd;
}

void DropLeftover(const std::string& path)
{
    const std::lock_guard lock(Leftovers().Lock);
    Leftovers().Paths.erase(path);
}

void RemoveLeftoversOnInterrupt()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    // Blocked here, before any other thread exists, so that every later thread inherits the mask and
    // only the waiter below receives them.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        int signal = 0;
        while (sigwait(&set, &signal) != 0) {}
        RemoveAllAndDie(signal);
    }).detach();
}

} // namespace pictor
