#include "app/model/PageNames.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TEST(PageNames, OnlyTheThreeExactExtensionsArePages)
{
    EXPECT_TRUE(IsHtmlPageName("/site/index.html"));
    EXPECT_TRUE(IsHtmlPageName("page.htm"));
    EXPECT_TRUE(IsHtmlPageName("/a.b/c.shtml"));
    EXPECT_FALSE(IsHtmlPageName("/site/INDEX.HTM"));
    EXPECT_FALSE(IsHtmlPageName("/site/index.Html"));
    EXPECT_FALSE(IsHtmlPageName("/site/style.css"));
    EXPECT_FALSE(IsHtmlPageName("/site/page.shtm"));
    EXPECT_FALSE(IsHtmlPageName("/site.html/readme"));
    EXPECT_FALSE(IsHtmlPageName("html"));
}

} // namespace
} // namespace pictor
