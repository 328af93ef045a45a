#include "base/Leftovers.h"

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include <pthread.h>
#include <unistd.h>

namespace pictor {

namespace {

struct TLeftover {
    std::uint64_t Order;
    bool SaveFile;  // a save's temporary: removing it means a save was cut short
};

struct TLeftovers {
    std::mutex Lock;
    std::condition_variable Released;
    std::map<std::string, TLeftover> Paths;
    std::uint64_t Added = 0;
    int Holds = 0;
};

TLeftovers& Leftovers()
{
    static TLeftovers leftovers;
    return leftovers;
}

void Say(const std::string& program, const char* text)
{
    const std::string line = program + ": " + text + "\n";
    (void)!::write(STDERR_FILENO, line.data(), line.size());
}

[[noreturn]] void RemoveAllAndDie(int signal, const std::string& program)
{
    TLeftovers& left = Leftovers();
    std::unique_lock lock(left.Lock);  // held to the end: nothing new is added meanwhile
    if (left.Holds > 0) {
        Say(program, "中断の指示を受けました。始まった保存を終えてから終了します");
        left.Released.wait(lock, [&] { return left.Holds == 0; });
    }
    std::vector<std::pair<std::uint64_t, std::string>> latestFirst;
    bool saveCut = false;
    for (const auto& [path, leftover] : left.Paths) {
        latestFirst.emplace_back(leftover.Order, path);
        saveCut = saveCut || leftover.SaveFile;
    }
    std::sort(latestFirst.rbegin(), latestFirst.rend());
    for (const auto& [order, path] : latestFirst) {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    if (saveCut) Say(program, "中断しました。書きかけの保存を取りやめました。元のファイルはそのままです");
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

void Insert(TLeftovers& left, const std::string& path, bool saveFile)
{
    left.Paths[path] = TLeftover{left.Added++, saveFile};
}

} // namespace

void AddLeftover(const std::string& path)
{
    const std::lock_guard lock(Leftovers().Lock);
    Insert(Leftovers(), path, false);
}

int CreateLeftoverFile(const std::string& path, int flags, unsigned mode)
{
    const std::lock_guard lock(Leftovers().Lock);
    const int fd = ::open(path.c_str(), flags, mode);
    if (fd >= 0) Insert(Leftovers(), path, true);
    return fd;
}

void DropLeftover(const std::string& path)
{
    const std::lock_guard lock(Leftovers().Lock);
    Leftovers().Paths.erase(path);
}

TInterruptsHeld::TInterruptsHeld()
{
    const std::lock_guard lock(Leftovers().Lock);
    ++Leftovers().Holds;
}

TInterruptsHeld::~TInterruptsHeld()
{
    {
        const std::lock_guard lock(Leftovers().Lock);
        --Leftovers().Holds;
    }
    Leftovers().Released.notify_all();
}

void RemoveLeftoversOnInterrupt(const char* program)
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    // Blocked here, before any other thread exists, so that every later thread inherits the mask and
    // only the waiter below receives them.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set, name = std::string(program)] {
        int signal = 0;
        while (sigwait(&set, &signal) != 0) {}
        RemoveAllAndDie(signal, name);
    }).detach();
}

} // namespace pictor
