// The file types of lpstrFilter and Windows wildcard matching.
#include "dialogs/file_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using vk::dialogs::FileType;

TEST(FileFilter, PairsAreReadUntilTheDoubleNul)
{
    const char filter[] = "图片(*.jpg;*.png)\0*.jpg; *.png ;;\0全部\0*.*\0dangling label\0";
    auto types = vk::dialogs::parseFilter(filter);
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].label, "图片(*.jpg;*.png)");
    EXPECT_EQ(types[0].patterns, (std::vector<std::string>{"*.jpg", "*.png"}));
    EXPECT_EQ(types[1].patterns, (std::vector<std::string>{"*.*"}));
    EXPECT_TRUE(vk::dialogs::parseFilter(nullptr).empty());
    EXPECT_TRUE(vk::dialogs::parseFilter("\0").empty());
}

TEST(FileFilter, WildcardsMatchAsWindowsDoes)
{
    const struct {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.jpg", "a.jpg", true},
        {"*.jpg", "A.JPG", true},
        {"*.jpg", "a.jpeg", false},
        {"*.jpg", "a.jpg.txt", false},
        {"*.*", "readme", true},
        {"*", "", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*b*", "abc", true},
        {"照片*.png", "照片01.png", true},
        {"*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(vk::dialogs::matchesPattern(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

} // namespace
