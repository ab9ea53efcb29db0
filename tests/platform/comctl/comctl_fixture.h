// A parent window on the headless screen that records what the common
// controls tell it (WM_NOTIFY, WM_COMMAND, WM_HSCROLL/WM_VSCROLL).
#pragma once

#include "../user/fixture.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

namespace vktest {

struct Told {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    UINT code; // WM_NOTIFY code
    std::vector<unsigned char> data; // copy of the notification structure
    template <class T>
    const T& as() const { return *reinterpret_cast<const T*>(data.data()); }
};

class ComctlTest : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&icc));
        m_parent = make(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                        [this](HWND, UINT msg, WPARAM wp, LPARAM lp, bool& handled) -> LRESULT {
                            if (msg == WM_NOTIFY || msg == WM_COMMAND || msg == WM_HSCROLL || msg == WM_VSCROLL) {
                                Told t{msg, wp, lp, 0, {}};
                                if (msg == WM_NOTIFY && lp) {
                                    t.code = reinterpret_cast<NMHDR*>(lp)->code;
                                    t.data.assign(reinterpret_cast<unsigned char*>(lp),
                                                  reinterpret_cast<unsigned char*>(lp) +
                                                      notifySize(reinterpret_cast<NMHDR*>(lp)));
                                }
                                told.push_back(std::move(t));
                                if (msg == WM_NOTIFY && answer) {
                                    handled = true;
                                    return answer(reinterpret_cast<NMHDR*>(lp));
                                }
                            }
                            return 0;
                        });
        pumpUntilIdle();
    }

    // Each notification is copied at its own structure's size.
    static size_t notifySize(const NMHDR* hdr)
    {
        const UINT code = hdr->code;
        if (code == TVN_KEYDOWN)
            return sizeof(NMTVKEYDOWN);
        if (code == TVN_GETDISPINFOA || code == TVN_SETDISPINFOA)
            return sizeof(NMTVDISPINFOA);
        if (code >= TVN_KEYDOWN && code <= TVN_SELCHANGINGA)
            return sizeof(NMTREEVIEWA);
        if (code == LVN_KEYDOWN)
            return sizeof(NMLVKEYDOWN);
        if (code == LVN_GETDISPINFOA || code == LVN_SETDISPINFOA)
            return sizeof(NMLVDISPINFOA);
        if (code == LVN_ITEMACTIVATE)
            return sizeof(NMITEMACTIVATE);
        if (code >= LVN_KEYDOWN && code <= LVN_ITEMCHANGING)
            return sizeof(NMLISTVIEW);
        if (code >= HDN_ENDDRAG && code <= HDN_ITEMCHANGINGA)
            return sizeof(NMHEADERA);
        if (code == TBN_HOTITEMCHANGE)
            return sizeof(NMTBHOTITEM);
        if (code >= TBN_GETINFOTIPA && code <= TBN_GETBUTTONINFOA)
            return sizeof(NMTOOLBARA);
        if (code == UDN_DELTAPOS)
            return sizeof(NMUPDOWN);
        if (code == DTN_DATETIMECHANGE)
            return sizeof(NMDATETIMECHANGE);
        if (code == IPN_FIELDCHANGED)
            return sizeof(NMIPADDRESS);
        if (code == TTN_GETDISPINFOA)
            return sizeof(NMTTDISPINFOA);
        if (code == NM_CLICK || code == NM_DBLCLK || code == NM_RCLICK) {
            // The list view tells which item was clicked; the others send a bare header.
            char cls[32] = {};
            GetClassNameA(hdr->hwndFrom, cls, sizeof cls);
            return strcmp(cls, WC_LISTVIEWA) == 0 ? sizeof(NMITEMACTIVATE) : sizeof(NMHDR);
        }
        return sizeof(NMHDR);
    }

    HWND control(const char* cls, DWORD style, int x, int y, int w, int h, int id = 100, const char* text = "")
    {
        HWND hwnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_parent,
                                    reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
        pumpUntilIdle();
        return hwnd;
    }

    static void pumpUntilIdle() { velkaro::testing::pumpUntilIdle(); }

    // Screen point of a client point of hwnd.
    static POINT screenOf(HWND hwnd, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(hwnd, &p);
        return p;
    }
    static void clickAt(HWND hwnd, int x, int y)
    {
        POINT p = screenOf(hwnd, x, y);
        velkaro::testing::click(p.x, p.y);
        pumpUntilIdle();
    }

    std::vector<UINT> codes() const
    {
        std::vector<UINT> out;
        for (auto& t : told)
            if (t.msg == WM_NOTIFY)
                out.push_back(t.code);
        return out;
    }
    const Told* last(UINT code) const
    {
        for (auto it = told.rbegin(); it != told.rend(); ++it)
            if (it->msg == WM_NOTIFY && it->code == code)
                return &*it;
        return nullptr;
    }
    std::vector<int> scrollCodes() const
    {
        std::vector<int> out;
        for (auto& t : told)
            if (t.msg == WM_HSCROLL || t.msg == WM_VSCROLL)
                out.push_back(LOWORD(t.wp));
        return out;
    }

    HWND m_parent = nullptr;
    std::vector<Told> told;
    std::function<LRESULT(NMHDR*)> answer;
};

inline std::string outputPath(const char* name)
{
    return std::string(VK_TEST_OUTPUT_DIR) + "/" + name;
}

} // namespace vktest
