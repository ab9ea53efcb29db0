// ShellExecuteA on the headless backend: what is opened is recorded and a
// success value comes back; what the desktop could not open fails as Win32
// says.
#include "fixture.h"

#include <shellapi.h>

#include <cstdio>

using namespace dlgtest;
namespace vt = velkaro::testing;

namespace {

class ShellTest : public DialogTest {};

TEST_F(ShellTest, OpenRecordsTheTargetAndSucceeds)
{
    std::string doc = outputPath("shell_doc.txt");
    FILE* f = std::fopen(doc.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    struct Case {
        const char* verb;
        std::string file;
        const char* dir;
        std::string recorded;
    } cases[] = {
        {"open", "https://example.com/画框?q=1&x=2", nullptr, "https://example.com/画框?q=1&x=2"},
        {nullptr, "http://example.com", nullptr, "http://example.com"},
        {"open", "mailto:someone@example.com", nullptr, "mailto:someone@example.com"},
        {"open", doc, nullptr, doc},
        {"open", "shell_doc.txt", VK_TEST_OUTPUT_DIR, std::string(VK_TEST_OUTPUT_DIR) + "\\shell_doc.txt"},
    };
    for (const Case& c : cases) {
        vt::clearRecords();
        INT_PTR r = reinterpret_cast<INT_PTR>(ShellExecuteA(owner, c.verb, c.file.c_str(), nullptr, c.dir, SW_SHOWNORMAL));
        EXPECT_GT(r, 32) << c.file;
        EXPECT_EQ(vt::shellExecuted(), std::vector<std::string>{c.recorded}) << c.file;
    }
}

TEST_F(ShellTest, WhatCannotBeOpenedFails)
{
    const struct {
        const char* verb;
        const char* file;
        INT_PTR expected;
    } cases[] = {
        {"open", "/no/such/folder/file.txt", ERROR_PATH_NOT_FOUND},
        {"open", VK_TEST_OUTPUT_DIR "/no-such-file.txt", ERROR_FILE_NOT_FOUND},
        {"open", "", SE_ERR_FNF},
        {"print", "https://example.com", SE_ERR_NOASSOC},
        {"open", "gopher-unknown:thing", SE_ERR_NOASSOC},
    };
    for (auto& c : cases) {
        vt::clearRecords();
        EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, c.verb, c.file, nullptr, nullptr, SW_SHOW)),
                  c.expected)
            << c.file;
        EXPECT_TRUE(vt::shellExecuted().empty());
    }
    EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", nullptr, nullptr, nullptr, SW_SHOW)),
              INT_PTR(SE_ERR_FNF));
    HMODULE shell32 = LoadLibraryA("shell32.dll");
    ASSERT_NE(shell32, nullptr);
    EXPECT_NE(GetProcAddress(shell32, "ShellExecuteA"), nullptr);
}

} // namespace
