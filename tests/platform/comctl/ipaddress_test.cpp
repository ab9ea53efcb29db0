// The IP address control: values in and out, ranges, typing between fields
// and what the parent is told.
#include "comctl_fixture.h"

using namespace vktest;
namespace vt = velkaro::testing;

namespace {

class IpAddressTest : public ComctlTest {
protected:
    HWND ip()
    {
        HWND h = control(WC_IPADDRESSA, 0, 10, 10, 160, 24, 41);
        EXPECT_TRUE(h);
        return h;
    }
    static DWORD address(HWND h, LRESULT* filled = nullptr)
    {
        DWORD a = 0xdeadbeef;
        LRESULT n = SendMessageA(h, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&a));
        if (filled)
            *filled = n;
        return a;
    }
    static std::string text(HWND h)
    {
        char buf[64] = {};
        GetWindowTextA(h, buf, sizeof buf);
        return buf;
    }
    std::vector<std::pair<int, int>> fieldChanges() const
    {
        std::vector<std::pair<int, int>> out;
        for (auto& t : told)
            if (t.msg == WM_NOTIFY && t.code == IPN_FIELDCHANGED)
                out.push_back({t.as<NMIPADDRESS>().iField, t.as<NMIPADDRESS>().iValue});
        return out;
    }
};

TEST_F(IpAddressTest, AddressRoundTripsThroughMessagesAndText)
{
    HWND h = ip();
    LRESULT filled = -1;
    EXPECT_TRUE(SendMessageA(h, IPM_ISBLANK, 0, 0));
    EXPECT_EQ(address(h, &filled), 0u);
    EXPECT_EQ(filled, 0);

    SendMessageA(h, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 254));
    EXPECT_EQ(address(h, &filled), DWORD(MAKEIPADDRESS(192, 168, 1, 254)));
    EXPECT_EQ(filled, 4);
    EXPECT_FALSE(SendMessageA(h, IPM_ISBLANK, 0, 0));
    EXPECT_EQ(text(h), "192.168.1.254");
    EXPECT_EQ(GetWindowTextLengthA(h), 13);

    struct Case {
        const char* in;
        DWORD addr;
        LRESULT filled;
        const char* out;
    } cases[] = {
        {"10.0.0.1", DWORD(MAKEIPADDRESS(10, 0, 0, 1)), 4, "10.0.0.1"},
        {"300.1.2.3", DWORD(MAKEIPADDRESS(255, 1, 2, 3)), 4, "255.1.2.3"}, // clamped to the field's range
        {"1.2", DWORD(MAKEIPADDRESS(1, 2, 0, 0)), 2, "1.2.0.0"},
        {"", 0, 0, "0.0.0.0"},
        {"a.b.7.x", DWORD(MAKEIPADDRESS(0, 0, 7, 0)), 1, "0.0.7.0"},
    };
    for (const Case& c : cases) {
        SetWindowTextA(h, c.in);
        EXPECT_EQ(address(h, &filled), c.addr) << c.in;
        EXPECT_EQ(filled, c.filled) << c.in;
        EXPECT_EQ(text(h), c.out) << c.in;
    }
    SendMessageA(h, IPM_CLEARADDRESS, 0, 0);
    EXPECT_TRUE(SendMessageA(h, IPM_ISBLANK, 0, 0));
    // No place to write: the count still comes back.
    SendMessageA(h, IPM_SETADDRESS, 0, MAKEIPADDRESS(1, 2, 3, 4));
    EXPECT_EQ(SendMessageA(h, IPM_GETADDRESS, 0, 0), 4);
}

TEST_F(IpAddressTest, RangesLimitFields)
{
    HWND h = ip();
    EXPECT_TRUE(SendMessageA(h, IPM_SETRANGE, 0, MAKEIPRANGE(10, 100)));
    EXPECT_FALSE(SendMessageA(h, IPM_SETRANGE, 4, MAKEIPRANGE(0, 1)));
    EXPECT_FALSE(SendMessageA(h, IPM_SETRANGE, 1, MAKEIPRANGE(9, 3)));
    SendMessageA(h, IPM_SETADDRESS, 0, MAKEIPADDRESS(200, 1, 1, 1));
    EXPECT_EQ(FIRST_IPADDRESS(address(h)), 100u);
    SendMessageA(h, IPM_SETADDRESS, 0, MAKEIPADDRESS(1, 1, 1, 1));
    EXPECT_EQ(FIRST_IPADDRESS(address(h)), 10u);

    // Typed values are brought into range when the field is left.
    SendMessageA(h, IPM_CLEARADDRESS, 0, 0);
    SendMessageA(h, IPM_SETFOCUS, 0, 0);
    vt::typeText("5.");
    pumpUntilIdle();
    EXPECT_EQ(FIRST_IPADDRESS(address(h)), 10u);
    ASSERT_FALSE(fieldChanges().empty());
    EXPECT_EQ(fieldChanges().back(), (std::pair<int, int>{0, 10}));
}

TEST_F(IpAddressTest, TypingMovesBetweenFields)
{
    HWND h = ip();
    clickAt(h, 10, 12); // the first field
    EXPECT_EQ(GetFocus(), h);
    struct Step {
        const char* keys;
        DWORD expect;
        LRESULT filled;
    } steps[] = {
        {"192", DWORD(MAKEIPADDRESS(192, 0, 0, 0)), 1}, // three digits move on by themselves
        {"16.", DWORD(MAKEIPADDRESS(192, 16, 0, 0)), 2},
        {"..", DWORD(MAKEIPADDRESS(192, 16, 0, 0)), 2}, // '.' in a blank field stays
        {"7", DWORD(MAKEIPADDRESS(192, 16, 7, 0)), 3},
        {"9", DWORD(MAKEIPADDRESS(192, 16, 79, 0)), 3}, // 79: another digit would pass 255, so on
        {"42", DWORD(MAKEIPADDRESS(192, 16, 79, 42)), 4},
    };
    for (const Step& s : steps) {
        vt::typeText(s.keys);
        pumpUntilIdle();
        LRESULT filled = 0;
        EXPECT_EQ(address(h, &filled), s.expect) << s.keys;
        EXPECT_EQ(filled, s.filled) << s.keys;
    }
    // Backspace through the last field and on into the one before.
    vt::pressKey(VK_BACK, "\b");
    vt::pressKey(VK_BACK, "\b");
    vt::pressKey(VK_BACK, "\b");
    vt::pressKey(VK_BACK, "\b");
    pumpUntilIdle();
    EXPECT_EQ(address(h), DWORD(MAKEIPADDRESS(192, 16, 7, 0)));
    // Left and right pick a field; its text is replaced by what is typed.
    vt::pressKey(VK_LEFT);
    vt::typeText("1.");
    pumpUntilIdle();
    EXPECT_EQ(address(h), DWORD(MAKEIPADDRESS(192, 1, 7, 0)));
    vt::pressKey(VK_HOME);
    vt::pressKey(VK_DELETE);
    pumpUntilIdle();
    LRESULT filled = 0;
    EXPECT_EQ(address(h, &filled), DWORD(MAKEIPADDRESS(0, 1, 7, 0)));
    EXPECT_EQ(filled, 2);
    // Letters are not numbers.
    vt::typeText("x");
    pumpUntilIdle();
    EXPECT_EQ(address(h, &filled), DWORD(MAKEIPADDRESS(0, 1, 7, 0)));
}

TEST_F(IpAddressTest, FieldChangedTellsTheFieldAndLetsTheParentAdjust)
{
    HWND h = ip();
    answer = [](NMHDR* hdr) -> LRESULT {
        auto* nm = reinterpret_cast<NMIPADDRESS*>(hdr);
        if (nm->iField == 1)
            nm->iValue = 99; // the parent overrides the second field
        return 0;
    };
    SendMessageA(h, IPM_SETFOCUS, 0, 0);
    vt::typeText("1.2.3");
    pumpUntilIdle();
    SetFocus(m_parent); // leaving the control ends the field being typed
    pumpUntilIdle();
    // Recorded as told, before the parent's answer.
    EXPECT_EQ(fieldChanges(), (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}}));
    EXPECT_EQ(address(h), DWORD(MAKEIPADDRESS(1, 99, 3, 0)));
    for (const Told& t : told)
        if (t.msg == WM_NOTIFY && t.code == IPN_FIELDCHANGED) {
            EXPECT_EQ(t.as<NMIPADDRESS>().hdr.hwndFrom, h);
            EXPECT_EQ(t.as<NMIPADDRESS>().hdr.idFrom, 41u);
        }
    // Moving through fields without changing them tells nothing.
    told.clear();
    SendMessageA(h, IPM_SETFOCUS, 0, 0);
    vt::pressKey(VK_RIGHT);
    vt::pressKey(VK_RIGHT);
    pumpUntilIdle();
    EXPECT_TRUE(fieldChanges().empty());
    // IPM_SETFOCUS past the last field goes to the first blank one.
    SendMessageA(h, IPM_SETFOCUS, 9, 0);
    vt::typeText("8");
    pumpUntilIdle();
    EXPECT_EQ(address(h), DWORD(MAKEIPADDRESS(1, 99, 3, 8)));
}

TEST_F(IpAddressTest, ClassicSunkenLook)
{
    HWND h = ip();
    SendMessageA(h, IPM_SETADDRESS, 0, MAKEIPADDRESS(127, 0, 0, 1));
    UpdateWindow(h);
    pumpUntilIdle();
    vt::saveWindowScreenshot(h, outputPath("ipaddress.png").c_str());
    // Dark top-left edge, light bottom-right edge, a window-coloured inside.
    EXPECT_EQ(vt::windowPixel(h, 0, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(vt::windowPixel(h, 159, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(vt::windowPixel(h, 5, 4), GetSysColor(COLOR_WINDOW));
    // Some text is drawn in each quarter.
    for (int q = 0; q < 4; ++q) {
        bool ink = false;
        for (int x = 4 + q * 39; x < 4 + (q + 1) * 39 - 4 && !ink; ++x)
            for (int y = 4; y < 20 && !ink; ++y)
                ink = vt::windowPixel(h, x, y) == GetSysColor(COLOR_WINDOWTEXT);
        EXPECT_TRUE(ink) << "field " << q;
    }
}

} // namespace
