// The registry's lookups and the 1-based lists with their fatal bounds.
#include "skin/core/registry.h"

#include <gtest/gtest.h>
#include <velkaro/testing.h>

namespace {

using namespace velkaro::skin;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(velkaro::testing::startHeadless());
        skinRegistry().clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "RegistryTestWindow";
        RegisterClassA(&wc);
    }
    void TearDown() override
    {
        skinRegistry().clear();
        for (HWND w : m_windows)
            DestroyWindow(w);
    }

    HWND topLevel()
    {
        HWND w = CreateWindowExA(0, "RegistryTestWindow", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                 nullptr);
        m_windows.push_back(w);
        return w;
    }
    static HWND child(HWND parent)
    {
        return CreateWindowExA(0, "RegistryTestWindow", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, nullptr,
                               nullptr, nullptr);
    }
    static int registerWindow(HWND w)
    {
        WindowSkin skin;
        skin.hwnd = w;
        return skinRegistry().append(std::move(skin));
    }

    std::vector<HWND> m_windows;
};

TEST_F(RegistryTest, LookupsFindTheWindowItsAncestorsOrNothing)
{
    HWND a = topLevel(), b = topLevel(), loose = topLevel();
    EXPECT_EQ(registerWindow(a), 1);
    EXPECT_EQ(registerWindow(b), 2);
    HWND grandchild = child(child(b));

    EXPECT_EQ(findSkinSlot(b), 2);
    EXPECT_EQ(findSkinSlot(grandchild), 0);
    EXPECT_EQ(findSkinSlotUpward(grandchild), 2);
    EXPECT_EQ(findSkinSlotUpward(loose), 0);
    EXPECT_EQ(findSkinSlotUpward(child(loose)), 0);
    EXPECT_EQ(findSkinSlot(nullptr), 0);
    EXPECT_EQ(findSkinSlotUpward(reinterpret_cast<HWND>(0x7777)), 0);
}

TEST_F(RegistryTest, LowerSlotWinsForADuplicateHandle)
{
    HWND a = topLevel();
    registerWindow(a);
    registerWindow(a);
    EXPECT_EQ(findSkinSlot(a), 1);
}

TEST_F(RegistryTest, UpwardWalkReachesTheRootOwnerOfAnOwnedPopup)
{
    HWND owner = topLevel();
    registerWindow(owner);
    HWND popup = CreateWindowExA(0, "RegistryTestWindow", "", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr,
                                 nullptr);
    m_windows.insert(m_windows.begin(), popup);
    EXPECT_EQ(findSkinSlotUpward(popup), 1);
}

TEST_F(RegistryTest, ContainerIndexIsZeroForAWindowThatIsNoContainer)
{
    HWND a = topLevel();
    int slot = registerWindow(a);
    HWND bar = child(a), other = child(a);
    WindowSkin& skin = skinAt(slot);
    ASSERT_EQ(skin.containers.count(), 1);  // the blank entry
    skin.containers.at(1).hwnd = bar;
    skin.containers.append(ContainerEntry{other, nullptr, 5, 5});

    EXPECT_EQ(findContainerIndex(slot, bar), 1);
    EXPECT_EQ(findContainerIndex(slot, other), 2);
    EXPECT_EQ(findContainerIndex(slot, a), 0);
    EXPECT_EQ(findContainerIndex(slot, nullptr), 0);
    EXPECT_EQ(findContainerIndex(9, bar), 0);
}

TEST_F(RegistryTest, NewRecordHoldsOneBlankEntryPerControlList)
{
    WindowSkin skin;
    for (int count : {skin.buttons.count(), skin.editControls.count(), skin.listControls.count(),
                      skin.trackBars.count(), skin.progressBars.count(), skin.comboControls.count(),
                      skin.upDowns.count(), skin.headers.count(), skin.toolbars.count(), skin.containers.count(),
                      skin.statusPanels.count(), skin.statusPanelRects.count()})
        EXPECT_EQ(count, 1);
    EXPECT_EQ(skin.buttons.at(1).hwnd, nullptr);
    EXPECT_EQ(skin.captionButtons.count(), 0);
}

TEST_F(RegistryTest, RemovingASlotMovesTheRecordsBehindForward)
{
    HWND a = topLevel(), b = topLevel(), c = topLevel();
    registerWindow(a);
    registerWindow(b);
    registerWindow(c);
    skinRegistry().removeAt(1);
    EXPECT_EQ(findSkinSlot(b), 1);
    EXPECT_EQ(findSkinSlot(c), 2);
    EXPECT_EQ(findSkinSlot(a), 0);
}

using RegistryDeathTest = RegistryTest;

TEST_F(RegistryDeathTest, APositionOutsideItsListEndsTheProgramWithAMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int position : {0, -1, 2}) {
        EXPECT_EXIT(
            {
                velkaro::testing::answerNextMessageBox(IDOK);
                WindowSkin skin;
                skin.buttons.at(position);
            },
            ::testing::ExitedWithCode(3), "buttons");
    }
    EXPECT_EXIT(skinAt(1), ::testing::ExitedWithCode(3), "SkinRegistry");
}

} // namespace
