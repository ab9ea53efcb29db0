// GetOpenFileNameA / GetSaveFileNameA: queued answers, the real dialog driven
// by keys and the mouse in a temporary folder, the checks OK makes before it
// accepts a name, and what a bad structure gets.
#include "fixture.h"

#include "kernel/paths.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

using namespace dlgtest;
namespace vt = velkaro::testing;
namespace fs = std::filesystem;

namespace {

constexpr int kFileList = 0x460;
constexpr int kFolderList = 0x461;

const char kFilter[] = "图片文件(*.jpg;*.png)\0*.jpg; *.PNG\0文本文件(*.txt)\0*.txt\0所有文件\0*.*\0";

class FileDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        char tmpl[] = "/tmp/vk-filedlg-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        folder = tmpl;
        for (const char* name : {"a.jpg", "b.png", "C.PNG", "notes.txt", "readme", ".hidden.jpg"})
            touch(folder + "/" + name);
        fs::create_directory(folder + "/相册");
        touch(folder + "/相册/inside.jpg");
        std::memset(file, 0, sizeof file);
        ofn = OPENFILENAMEA{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = kFilter;
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof file;
        ofn.lpstrInitialDir = folderWin().c_str();
        ofn.Flags = OFN_NOCHANGEDIR | OFN_EXPLORER;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
        DialogTest::TearDown();
    }

    static void touch(const std::string& path)
    {
        FILE* f = std::fopen(path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }

    const std::string& folderWin()
    {
        folderWindows = vk::kernel::toWindowsPath(folder.c_str());
        return folderWindows;
    }
    std::string win(const std::string& rel) const { return vk::kernel::toWindowsPath((folder + "/" + rel).c_str()); }

    static std::vector<std::string> listItems(HWND box, int id)
    {
        HWND list = GetDlgItem(box, id);
        std::vector<std::string> out;
        LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            char buf[256] = {};
            SendMessageA(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(buf));
            out.push_back(buf);
        }
        return out;
    }

    // Steps run one after another each time the dialog's loop runs dry; each
    // may look at the box and queue more input. After the last the loop ends.
    void steps(std::vector<std::function<void(HWND)>> list)
    {
        vt::setIdleHandler([list = std::move(list), next = size_t(0)]() mutable {
            if (next >= list.size())
                return false;
            list[next++](GetActiveWindow());
            return true;
        });
    }

    std::string folder, folderWindows;
    char file[MAX_PATH];
    OPENFILENAMEA ofn{};
};

TEST_F(FileDialogTest, QueuedAnswersFillTheResultWithoutShowing)
{
    struct Case {
        const char* answer;
        WORD offset, extension;
    } cases[] = {
        {"C:\\pics\\a.jpg", 8, 10},
        {"C:\\pics\\noext", 8, 13},    // no extension: the offset of the terminating NUL
        {"C:\\pics\\dot.", 8, 0},      // a name ending in a dot
        {"C:\\my.pics\\file", 11, 15}, // a dot in the folder is no extension
    };
    for (const Case& c : cases) {
        vt::answerNextFileDialog(c.answer);
        ofn.nFileOffset = ofn.nFileExtension = 0xEEEE;
        ASSERT_TRUE(GetOpenFileNameA(&ofn)) << c.answer;
        EXPECT_STREQ(file, c.answer);
        EXPECT_EQ(ofn.nFileOffset, c.offset) << c.answer;
        EXPECT_EQ(ofn.nFileExtension, c.extension) << c.answer;
    }
    // A host path comes back in Windows form; the older structure size works.
    vt::answerNextFileDialog((folder + "/b.png").c_str());
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::string(file), win("b.png"));

    std::strcpy(file, "keep");
    vt::answerNextFileDialog(nullptr);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_STREQ(file, "keep");
}

TEST_F(FileDialogTest, BadStructuresAndSmallBuffersFail)
{
    OPENFILENAMEA bad = ofn;
    bad.lStructSize = sizeof bad - 1;
    EXPECT_FALSE(GetOpenFileNameA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_STRUCTSIZE));
    bad = ofn;
    bad.lpstrFile = nullptr;
    EXPECT_FALSE(GetSaveFileNameA(&bad));
    EXPECT_NE(CommDlgExtendedError(), 0u);
    EXPECT_FALSE(GetOpenFileNameA(nullptr));
    EXPECT_NE(CommDlgExtendedError(), 0u);
    bad = ofn;
    HWND gone = CreateWindowExA(0, "VkDialogOwner", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    bad.hwndOwner = gone;
    EXPECT_FALSE(GetOpenFileNameA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_DIALOGFAILURE));

    // Too small: FALSE, and the first two bytes say how much is needed.
    char small[8] = "old";
    bad = ofn;
    bad.lpstrFile = small;
    bad.nMaxFile = sizeof small;
    vt::answerNextFileDialog("C:\\pictures\\long-name.jpg");
    EXPECT_FALSE(GetOpenFileNameA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), DWORD(FNERR_BUFFERTOOSMALL));
    WORD need = 0;
    std::memcpy(&need, small, sizeof need);
    EXPECT_EQ(need, std::strlen("C:\\pictures\\long-name.jpg") + 1);

    HMODULE comdlg = LoadLibraryA("comdlg32.dll");
    ASSERT_NE(comdlg, nullptr);
    EXPECT_NE(GetProcAddress(comdlg, "GetOpenFileNameA"), nullptr);
    EXPECT_NE(GetProcAddress(comdlg, "CommDlgExtendedError"), nullptr);
}

TEST_F(FileDialogTest, TypedNameAndEnterChooseTheFileWithTheDefaultExtension)
{
    ofn.lpstrDefExt = "png";
    ofn.nFilterIndex = 2;
    vt::typeText("新照片");
    vt::pressKey(VK_RETURN);
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::string(file), win("新照片.png"));
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    EXPECT_EQ(std::string(file + ofn.nFileOffset), "新照片.png");
    EXPECT_STREQ(file + ofn.nFileExtension, "png");
    EXPECT_TRUE(IsWindowEnabled(owner));

    // A typed extension stays, and the caller hears it differs.
    vt::typeText("scan.jpeg");
    vt::pressKey(VK_RETURN);
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(std::string(file), win("scan.jpeg"));
    EXPECT_TRUE(ofn.Flags & OFN_EXTENSIONDIFFERENT);
}

TEST_F(FileDialogTest, EscapeCancelsAndLeavesTheBufferAlone)
{
    std::strcpy(file, "untouched.jpg");
    vt::typeText("other");
    vt::pressKey(VK_ESCAPE);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_STREQ(file, "untouched.jpg");
}

TEST_F(FileDialogTest, DialogRunsModalAndReturnsFalseWhenInputRunsOut)
{
    bool ownerEnabled = true;
    std::string title;
    std::vector<std::string> files, folders;
    std::string name;
    whenShown([&](HWND box) {
        ownerEnabled = IsWindowEnabled(owner);
        title = textOf(box);
        files = listItems(box, kFileList);
        folders = listItems(box, kFolderList);
        name = textOf(GetDlgItem(box, 0x480));
        EXPECT_TRUE(vt::saveWindowScreenshot(box, outputPath("open_file_dialog.png").c_str()));
    });
    std::strcpy(file, "a.jpg");
    ofn.lpstrTitle = "打开图片";
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(title, "打开图片");
    EXPECT_EQ(name, "a.jpg");
    // Only the filter's types, matched without case; hidden files stay hidden.
    EXPECT_EQ(files, (std::vector<std::string>{"a.jpg", "b.png", "C.PNG"}));
    EXPECT_EQ(folders, (std::vector<std::string>{"..", "相册"}));
}

TEST_F(FileDialogTest, TypeComboAndTypedWildcardsChangeTheFileList)
{
    std::vector<std::vector<std::string>> seen;
    steps({
        [&](HWND box) {
            seen.push_back(listItems(box, kFileList));
            // The type list is the next stop after the name field.
            vt::pressKey(VK_TAB);
            vt::pressKey(VK_DOWN);
        },
        [&](HWND box) {
            seen.push_back(listItems(box, kFileList));
            vt::pressKey(VK_DOWN);
        },
        [&](HWND box) {
            seen.push_back(listItems(box, kFileList));
            SetFocus(GetDlgItem(box, 0x480));
            vt::typeText("*.t?t");
            vt::pressKey(VK_RETURN);
        },
        [&](HWND box) { seen.push_back(listItems(box, kFileList)); },
    });
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], (std::vector<std::string>{"a.jpg", "b.png", "C.PNG"}));
    EXPECT_EQ(seen[1], (std::vector<std::string>{"notes.txt"}));
    EXPECT_EQ(seen[2], (std::vector<std::string>{"a.jpg", "b.png", "C.PNG", "notes.txt", "readme"}));
    EXPECT_EQ(seen[3], (std::vector<std::string>{"notes.txt"}));
}

TEST_F(FileDialogTest, ChosenTypeIsWrittenBack)
{
    steps({[&](HWND) {
        vt::pressKey(VK_TAB);
        vt::pressKey(VK_DOWN);
        vt::pressKey(VK_TAB); // to OK, with the name field empty: nothing chosen yet
        vt::keyDown(VK_SHIFT);
        vt::pressKey(VK_TAB);
        vt::pressKey(VK_TAB);
        vt::keyUp(VK_SHIFT);
        vt::typeText("notes.txt");
        vt::pressKey(VK_RETURN);
    }});
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(std::string(file), win("notes.txt"));
    EXPECT_EQ(ofn.nFilterIndex, 2u);
}

TEST_F(FileDialogTest, FoldersAreEnteredByDoubleClickOrTypedName)
{
    std::vector<std::string> inside;
    steps({
        [&](HWND box) {
            HWND list = GetDlgItem(box, kFolderList);
            RECT r{};
            SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
            POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            ClientToScreen(list, &p);
            vt::doubleClick(p.x, p.y);
        },
        [&](HWND box) {
            inside = listItems(box, kFileList);
            SetFocus(GetDlgItem(box, 0x480));
            vt::typeText("..");
            vt::pressKey(VK_RETURN);
            vt::typeText("相册\\inside.jpg");
            vt::pressKey(VK_RETURN);
        },
    });
    ofn.Flags |= OFN_FILEMUSTEXIST;
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(inside, (std::vector<std::string>{"inside.jpg"}));
    EXPECT_EQ(std::string(file), win("相册/inside.jpg"));
}

TEST_F(FileDialogTest, OkChecksTheNameBeforeAccepting)
{
    struct Case {
        bool save;
        DWORD flags;
        const char* typed;
        int boxAnswer;    // 0: no box expected
        const char* says; // part of the box's text
        bool accepted;
    } cases[] = {
        {true, OFN_OVERWRITEPROMPT, "a.jpg", IDNO, "a.jpg 已存在", false},
        {true, OFN_OVERWRITEPROMPT, "a.jpg", IDYES, "a.jpg 已存在", true},
        {true, 0, "a.jpg", 0, nullptr, true},
        {true, OFN_OVERWRITEPROMPT, "fresh.jpg", 0, nullptr, true},
        {false, OFN_FILEMUSTEXIST, "missing.jpg", IDOK, "找不到文件", false},
        {false, OFN_FILEMUSTEXIST, "b.png", 0, nullptr, true},
        {false, OFN_CREATEPROMPT, "new.txt", IDNO, "要创建", false},
        {false, 0, "nowhere\\x.jpg", IDOK, "找不到该路径", false},
    };
    for (const Case& c : cases) {
        vt::clearRecords();
        std::strcpy(file, "before");
        ofn.Flags = OFN_NOCHANGEDIR | c.flags;
        if (c.boxAnswer)
            vt::answerNextMessageBox(c.boxAnswer);
        vt::typeText(c.typed);
        vt::pressKey(VK_RETURN);
        BOOL ok = c.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
        EXPECT_EQ(bool(ok), c.accepted) << c.typed;
        auto boxes = vt::messageBoxesShown();
        if (c.says) {
            ASSERT_EQ(boxes.size(), 1u) << c.typed;
            EXPECT_NE(boxes[0].text.find(c.says), std::string::npos) << boxes[0].text;
        } else {
            EXPECT_TRUE(boxes.empty()) << c.typed;
        }
        if (c.accepted)
            EXPECT_EQ(std::string(file), win(c.typed));
        else
            EXPECT_STREQ(file, "before");
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
}

TEST_F(FileDialogTest, ChoosingMovesTheCurrentDirectoryUnlessAsked)
{
    char before[MAX_PATH];
    GetCurrentDirectoryA(sizeof before, before);
    ofn.Flags = 0;
    vt::typeText("相册\\inside.jpg");
    vt::pressKey(VK_RETURN);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    char now[MAX_PATH];
    GetCurrentDirectoryA(sizeof now, now);
    SetCurrentDirectoryA(before);
    EXPECT_EQ(std::string(now), win("相册"));
}

} // namespace
