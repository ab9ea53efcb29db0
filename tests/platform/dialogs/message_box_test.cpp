// MessageBoxA: answers by keyboard and queued answers for every button set,
// what is recorded, the owner disabled while it runs, the box's geometry.
#include "fixture.h"

#include <vector>

using namespace dlgtest;
namespace vt = velkaro::testing;

namespace {

class MessageBoxTest : public DialogTest {};

struct KeyCase {
    UINT type;
    std::vector<std::pair<unsigned, const char*>> keys; // pressed before the box shows
    int expected;
};

TEST_F(MessageBoxTest, KeyboardAnswersEachButtonSet)
{
    const KeyCase cases[] = {
        {MB_OK, {{VK_RETURN, nullptr}}, IDOK},
        {MB_OK, {{VK_ESCAPE, nullptr}}, IDOK},
        {MB_OKCANCEL, {{VK_RETURN, nullptr}}, IDOK},
        {MB_OKCANCEL, {{VK_ESCAPE, nullptr}}, IDCANCEL},
        {MB_OKCANCEL, {{VK_TAB, nullptr}, {VK_RETURN, nullptr}}, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON2, {{VK_RETURN, nullptr}}, IDCANCEL},
        {MB_YESNO, {{VK_RETURN, nullptr}}, IDYES},
        {MB_YESNO, {{VK_TAB, nullptr}, {VK_SPACE, " "}}, IDNO},
        {MB_YESNO, {{'N', "n"}}, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, {{VK_RETURN, nullptr}}, IDNO},
        // No Cancel: Escape does nothing, the next key decides.
        {MB_YESNO, {{VK_ESCAPE, nullptr}, {'Y', "y"}}, IDYES},
        {MB_YESNOCANCEL, {{VK_ESCAPE, nullptr}}, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, {{VK_RETURN, nullptr}}, IDCANCEL},
        {MB_YESNOCANCEL, {{VK_TAB, nullptr}, {VK_TAB, nullptr}, {VK_TAB, nullptr}, {VK_RETURN, nullptr}}, IDYES},
        {MB_RETRYCANCEL, {{VK_RETURN, nullptr}}, IDRETRY},
        {MB_RETRYCANCEL, {{VK_ESCAPE, nullptr}}, IDCANCEL},
        {MB_ABORTRETRYIGNORE, {{VK_RETURN, nullptr}}, IDABORT},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {{VK_SPACE, " "}}, IDIGNORE},
        {MB_ABORTRETRYIGNORE, {{'R', "r"}}, IDRETRY},
        {MB_CANCELTRYCONTINUE, {{'C', "c"}}, IDCONTINUE},
    };
    for (const KeyCase& c : cases) {
        for (auto& [vk, text] : c.keys)
            vt::pressKey(vk, text);
        EXPECT_EQ(MessageBoxA(owner, "text", "caption", c.type | MB_ICONQUESTION), c.expected)
            << std::hex << "type " << c.type;
        EXPECT_TRUE(IsWindowEnabled(owner));
        vt::pumpUntilIdle();
    }
}

TEST_F(MessageBoxTest, QueuedAnswersReturnAtOnceAndEveryCallIsRecorded)
{
    const struct {
        UINT type;
        int answer;
    } cases[] = {{MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNO, IDNO}, {MB_YESNOCANCEL, IDYES},
                 {MB_RETRYCANCEL, IDRETRY}, {MB_ABORTRETRYIGNORE, IDIGNORE}};
    size_t windowsBefore = vt::liveWindows();
    for (auto& c : cases) {
        vt::answerNextMessageBox(c.answer);
        // Nothing shows: no window is ever made, so the idle handler never runs.
        vt::setIdleHandler([] {
            ADD_FAILURE() << "the box showed";
            return false;
        });
        EXPECT_EQ(MessageBoxA(owner, "保存更改吗？", "画框", c.type), c.answer);
        EXPECT_EQ(vt::liveWindows(), windowsBefore);
    }
    vt::setIdleHandler(nullptr);
    // Shown boxes are recorded too, with a null caption as given.
    vt::pressKey(VK_RETURN);
    EXPECT_EQ(MessageBoxA(nullptr, "done", nullptr, MB_OK | MB_ICONINFORMATION), IDOK);

    auto shown = vt::messageBoxesShown();
    ASSERT_EQ(shown.size(), std::size(cases) + 1);
    EXPECT_EQ(shown[0].text, "保存更改吗？");
    EXPECT_EQ(shown[0].caption, "画框");
    EXPECT_EQ(shown[2].type, UINT(MB_YESNO));
    EXPECT_EQ(shown.back().text, "done");
    EXPECT_EQ(shown.back().caption, "");
    EXPECT_EQ(shown.back().type, UINT(MB_OK | MB_ICONINFORMATION));
}

TEST_F(MessageBoxTest, OwnerIsDisabledWhileTheBoxRunsAndActiveAfter)
{
    HWND child = CreateWindowExA(0, "BUTTON", "x", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, owner, nullptr, nullptr,
                                 nullptr);
    bool ownerEnabled = true;
    HWND boxOwner = nullptr;
    RECT box{}, own{};
    std::string caption;
    whenShown([&](HWND b) {
        ownerEnabled = IsWindowEnabled(owner);
        boxOwner = GetWindow(b, GW_OWNER);
        caption = textOf(b);
        GetWindowRect(b, &box);
        GetWindowRect(owner, &own);
        EXPECT_TRUE(vt::saveWindowScreenshot(b, outputPath("message_box.png").c_str()));
    });
    // A child as owner: the box belongs to its top-level window.
    int r = MessageBoxA(child,
                        "无法打开图片文件“风景.jpg”。文件可能已损坏，或者格式不受支持。请选择另一个文件后再试一次。",
                        "画框", MB_OKCANCEL | MB_ICONERROR);
    EXPECT_EQ(r, IDCANCEL); // the loop ran dry: the box was dismissed
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(boxOwner, owner);
    EXPECT_EQ(caption, "画框");
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    // Centred on the owner, and the long text wrapped rather than stretched.
    EXPECT_NEAR((box.left + box.right) / 2, (own.left + own.right) / 2, 1);
    EXPECT_NEAR((box.top + box.bottom) / 2, (own.top + own.bottom) / 2, 1);
    EXPECT_LE(box.right - box.left, 560);
    EXPECT_GT(box.bottom - box.top, 100);
}

TEST_F(MessageBoxTest, OuterDisabledOwnerStaysDisabled)
{
    EnableWindow(owner, FALSE);
    vt::pressKey(VK_RETURN);
    EXPECT_EQ(MessageBoxA(owner, "x", "y", MB_OK), IDOK);
    EXPECT_FALSE(IsWindowEnabled(owner));
    EnableWindow(owner, TRUE);
}

TEST_F(MessageBoxTest, TaskModalWithoutOwnerDisablesTheProgramsWindows)
{
    bool enabled = true;
    whenShown([&](HWND) { enabled = IsWindowEnabled(owner); });
    EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_YESNO | MB_TASKMODAL), IDNO);
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(MessageBoxTest, BadCallsFail)
{
    HWND gone = CreateWindowExA(0, "VkDialogOwner", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(MessageBoxA(gone, "x", "y", MB_OK), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(MessageBoxA(owner, "x", "y", 0x0F), 0);
    EXPECT_TRUE(vt::messageBoxesShown().empty());
    // Reachable by name, as a program that loads user32 at run time finds it.
    HMODULE user32 = LoadLibraryA("user32.dll");
    ASSERT_NE(user32, nullptr);
    EXPECT_NE(GetProcAddress(user32, "MessageBoxA"), nullptr);
}

} // namespace
