#include "document/WorkSession.h"
#include "support/OtherUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pictor {
namespace {

namespace fs = std::filesystem;
using test::TTempDir;

void Plant(const std::string& path)
{
    std::ofstream(path) << "planted";
}

// The system's temporary folder moved to a fresh folder for one test.
class WorkSession : public testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TMPDIR");
        Saved_ = old ? old : "";
        HadTmp_ = old != nullptr;
        ::setenv("TMPDIR", Tmp_.Path().c_str(), 1);
    }
    void TearDown() override
    {
        if (HadTmp_) ::setenv("TMPDIR", Saved_.c_str(), 1);
        else ::unsetenv("TMPDIR");
    }
    std::string Shared() const { return Tmp_ / ("PVWORK-" + std::to_string(::geteuid())); }
    bool InShared(const TWorkSession& s) const { return s.Path().starts_with(Shared() + "/"); }

    TTempDir Tmp_;
    std::string Saved_;
    bool HadTmp_ = false;
};

TEST_F(WorkSession, EachProcessHasItsOwnFolderRemovedAtTheEnd)
{
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    fs::create_directories(Shared() + "/" + std::to_string(dead) + "-abcdef/img");
    fs::permissions(Shared(), fs::perms::owner_all, fs::perm_options::replace);
    std::string first;
    {
        const TWorkSession one, two;
        EXPECT_TRUE(InShared(one)) << one.Path();
        EXPECT_NE(one.Path(), two.Path());
        EXPECT_FALSE(fs::exists(Shared() + "/" + std::to_string(dead) + "-abcdef")) << "a dead process's folder";
        first = one.Path();
        EXPECT_TRUE(fs::is_directory(first));
    }
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(Shared())) << "the shared folder goes with its last session";
}

// Each way of taking the shared folder over: the session goes elsewhere and leaves the folder as it was.
TEST_F(WorkSession, AFolderThatCouldBeTakenOverIsRefused)
{
    const test::TOtherUser& other = test::OtherUser();
    struct TCase {
        const char* What;
        std::function<void(const std::string&)> Prepare;
    };
    const TCase cases[] = {
        {"open to others", [](const std::string& f) { fs::create_directory(f); ::chmod(f.c_str(), 0777); }},
        {"holding a file", [](const std::string& f) { fs::create_directory(f); ::chmod(f.c_str(), 0700); Plant(f + "/x"); }},
        {"holding a link", [](const std::string& f) { fs::create_directory(f); ::chmod(f.c_str(), 0700); fs::create_directory_symlink("/etc", f + "/1-abcdef"); }},
        {"a link", [this](const std::string& f) { fs::create_directory(Tmp_ / "elsewhere"); fs::create_directory_symlink(Tmp_ / "elsewhere", f); }},
        {"a file", [](const std::string& f) { Plant(f); }},
        {"another user's", [&](const std::string& f) { fs::create_directory(f); ::chmod(f.c_str(), 0700); ::chown(f.c_str(), other.Uid, other.Gid); }},
    };
    for (const TCase& c : cases) {
        if (std::string(c.What) == "another user's" && !other.Reason.empty()) {
            std::cerr << "[  SKIPPED ] case \"" << c.What << "\": " << other.Reason << "\n";
            continue;
        }
        std::error_code ec;
        fs::remove_all(Shared(), ec);
        c.Prepare(Shared());
        struct stat before {};
        ::lstat(Shared().c_str(), &before);
        {
            const TWorkSession session;
            EXPECT_FALSE(InShared(session)) << c.What;
            EXPECT_TRUE(fs::is_directory(session.Path())) << c.What;
            struct stat st {};
            ::stat(session.Path().c_str(), &st);
            EXPECT_EQ(st.st_mode & 07777, 0700u) << c.What;
        }
        struct stat after {};
        ::lstat(Shared().c_str(), &after);
        EXPECT_EQ(after.st_mode, before.st_mode) << c.What << ": not repaired";
        EXPECT_EQ(after.st_uid, before.st_uid) << c.What;
        fs::remove_all(Shared(), ec);
        EXPECT_TRUE(fs::is_empty(Tmp_.Path()) || fs::exists(Tmp_ / "elsewhere")) << c.What << ": the fresh folder is removed";
    }
}

} // namespace
} // namespace pictor
