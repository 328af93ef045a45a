#include "app/model/HelpFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TEST(HelpFile, PrefersTheManualBesideTheProgramThenTheInstalledOne)
{
    test::TTempDir dir;
    const std::string program = dir / "bin/";
    dir.Write("bin/pictor", "");
    EXPECT_EQ(FindHelpFile(program), "");
    const std::string installed = dir.Write("share/pictor/manual/index.html", "<html>");
    EXPECT_EQ(FindHelpFile(program), installed);
    const std::string beside = dir.Write("bin/manual/index.html", "<html>");
    EXPECT_EQ(FindHelpFile(program), beside);
}

} // namespace
} // namespace pictor
