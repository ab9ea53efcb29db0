// MessageBoxA / MessageBoxExA: a modal box with an icon, the text wrapped to
// a comfortable width, and the buttons of its type. One layout function
// places everything; creation and painting both use it.
#include "core/last_error.h"
#include "core/modules.h"
#include "dialogs/modal_loop.h"
#include "testing/records.h"
#include "user/classes.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr const char* kClassName = "VkMessageBox";
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kButtonsTop = 16;    // space between the text and the buttons
constexpr int kMaxTextWidth = 480;
constexpr int kMinTextWidth = 120;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT;

struct ButtonSpec {
    int id;
    const char* label;
    char mnemonic; // the key that presses it without Alt, 0 for none
};

// The buttons of each box type, left to right, with the labels of a
// simplified-Chinese desktop.
std::vector<ButtonSpec> buttonsFor(UINT type)
{
    const ButtonSpec ok{IDOK, "确定", 0}, cancel{IDCANCEL, "取消", 0}, abort{IDABORT, "中止(&A)", 'A'},
        retry{IDRETRY, "重试(&R)", 'R'}, ignore{IDIGNORE, "忽略(&I)", 'I'}, yes{IDYES, "是(&Y)", 'Y'},
        no{IDNO, "否(&N)", 'N'}, tryAgain{IDTRYAGAIN, "重试(&T)", 'T'}, cont{IDCONTINUE, "继续(&C)", 'C'};
    switch (type & MB_TYPEMASK) {
    case MB_OK: return {ok};
    case MB_OKCANCEL: return {ok, cancel};
    case MB_ABORTRETRYIGNORE: return {abort, retry, ignore};
    case MB_YESNOCANCEL: return {yes, no, cancel};
    case MB_YESNO: return {yes, no};
    case MB_RETRYCANCEL: return {retry, cancel};
    case MB_CANCELTRYCONTINUE: return {cancel, tryAgain, cont};
    default: return {};
    }
}

// What Escape, the close box and a loop that ends without a choice answer:
// Cancel where there is one, OK when it is the only button; boxes that insist
// on a decision answer with their most cautious button.
int dismissAnswer(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;
    }
}

bool canDismiss(UINT type)
{
    UINT t = type & MB_TYPEMASK;
    return t != MB_YESNO && t != MB_ABORTRETRYIGNORE;
}

LPCSTR iconFor(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

struct Layout {
    SIZE client{};
    RECT icon{};
    RECT text{};
    std::vector<RECT> buttons;
};

Layout layoutBox(const std::string& text, bool hasIcon, size_t buttonCount)
{
    Layout l;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int maxText = std::min<int>(kMaxTextWidth, (work.right - work.left) * 3 / 5);
    maxText = std::max(maxText, kMinTextWidth);

    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT measured{0, 0, maxText, 0};
    DrawTextA(dc, text.c_str(), -1, &measured, kTextFormat | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int textW = std::max<int>(measured.right - measured.left, 1);
    int textH = std::max<int>(measured.bottom - measured.top, 1);

    int textLeft = kMargin + (hasIcon ? kIconSize + kIconGap : 0);
    int contentH = std::max(textH, hasIcon ? kIconSize : 0);
    if (hasIcon)
        l.icon = {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
    // Text shorter than the icon sits level with its middle.
    int textTop = kMargin + (contentH - textH) / 2;
    l.text = {textLeft, textTop, textLeft + textW, textTop + textH};

    int n = int(buttonCount);
    int rowW = n * kButtonWidth + (n - 1) * kButtonGap;
    int clientW = std::max(textLeft + textW + kMargin, rowW + 2 * kMargin);
    int rowTop = kMargin + contentH + kButtonsTop;
    int x = (clientW - rowW) / 2;
    for (int i = 0; i < n; ++i, x += kButtonWidth + kButtonGap)
        l.buttons.push_back({x, rowTop, x + kButtonWidth, rowTop + kButtonHeight});
    l.client = {clientW, rowTop + kButtonHeight + kMargin};
    return l;
}

struct Box {
    UINT type = 0;
    std::string text;
    std::vector<ButtonSpec> specs;
    std::vector<HWND> buttons;
    HICON icon = nullptr;
    Layout layout;
    int defaultId = IDOK;
    int result = 0;
};

Box* boxOf(HWND hwnd) { return reinterpret_cast<Box*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

bool hasButton(const Box& b, int id)
{
    return std::any_of(b.specs.begin(), b.specs.end(), [id](const ButtonSpec& s) { return s.id == id; });
}

LRESULT CALLBACK boxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Box* b = boxOf(hwnd);
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
        break;
    case DM_GETDEFID:
        return b ? MAKELONG(b->defaultId, DC_HASDEFID) : 0;
    case WM_COMMAND:
        if (b && HIWORD(wp) == BN_CLICKED) {
            int id = LOWORD(wp);
            if (hasButton(*b, id))
                b->result = id;
            else if (id == IDCANCEL && canDismiss(b->type))
                b->result = dismissAnswer(b->type);
        }
        return 0;
    case WM_CLOSE:
        if (b && canDismiss(b->type))
            b->result = dismissAnswer(b->type);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (b) {
            if (b->icon)
                DrawIconEx(dc, b->layout.icon.left, b->layout.icon.top, b->icon, kIconSize, kIconSize, 0, nullptr,
                           DI_NORMAL);
            HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            RECT r = b->layout.text;
            DrawTextA(dc, b->text.c_str(), -1, &r, kTextFormat);
            SelectObject(dc, old);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void registerBoxClass()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = boxProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    vk::user::registerSystemClass(wc);
}

struct Install {
    Install() { vk::user::systemClassRegistrars().push_back(registerBoxClass); }
} g_install;

// The focused push button is the one Enter presses, and it looks it.
void followFocus(Box& b)
{
    HWND focus = GetFocus();
    auto it = std::find(b.buttons.begin(), b.buttons.end(), focus);
    if (it == b.buttons.end())
        return;
    int id = b.specs[size_t(it - b.buttons.begin())].id;
    if (id == b.defaultId)
        return;
    for (size_t i = 0; i < b.buttons.size(); ++i)
        SendMessageA(b.buttons[i], BM_SETSTYLE, b.specs[i].id == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    b.defaultId = id;
}

// A plain letter presses the button it underlines, as long as nothing in the
// box wants typed characters.
bool pressMnemonic(Box& b, const MSG& m)
{
    if ((m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN) || GetKeyState(VK_CONTROL) < 0)
        return false;
    for (const ButtonSpec& s : b.specs)
        if (s.mnemonic && WPARAM(s.mnemonic) == m.wParam) {
            b.result = s.id;
            return true;
        }
    return false;
}

int showBox(HWND owner, const char* text, const char* caption, UINT type)
{
    Box b;
    b.type = type;
    b.text = text ? text : "";
    b.specs = buttonsFor(type);
    if (LPCSTR icon = iconFor(type))
        b.icon = LoadIconA(nullptr, icon);
    size_t def = std::min<size_t>((type & MB_DEFMASK) >> 8, b.specs.size() - 1);
    b.defaultId = b.specs[def].id;
    b.layout = layoutBox(b.text, b.icon != nullptr, b.specs.size());

    DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | (canDismiss(type) ? WS_SYSMENU : 0);
    DWORD exStyle = WS_EX_DLGMODALFRAME | ((type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0);
    RECT frame{0, 0, b.layout.client.cx, b.layout.client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    int w = frame.right - frame.left, h = frame.bottom - frame.top;
    POINT at = vk::dialogs::centredPosition(owner, w, h);

    vk::dialogs::DisabledOwners disabled(owner, (type & MB_TASKMODAL) && !owner);
    HWND box = CreateWindowExA(exStyle, kClassName, caption ? caption : "错误", style, at.x, at.y, w, h, owner,
                               nullptr, nullptr, &b);
    if (!box) {
        disabled.enableNow();
        return vk::failWith(ERROR_NOT_ENOUGH_MEMORY, 0);
    }
    for (size_t i = 0; i < b.specs.size(); ++i) {
        const RECT& r = b.layout.buttons[i];
        DWORD bs = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                   (b.specs[i].id == b.defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND btn = CreateWindowExA(0, "BUTTON", b.specs[i].label, bs, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, box, reinterpret_cast<HMENU>(INT_PTR(b.specs[i].id)), nullptr,
                                   nullptr);
        SendMessageA(btn, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        b.buttons.push_back(btn);
    }
    ShowWindow(box, SW_SHOW);
    SetFocus(b.buttons[def]);

    vk::dialogs::ModalHooks hooks;
    hooks.preTranslate = [&](MSG& m) { return (m.hwnd == box || IsChild(box, m.hwnd)) && pressMnemonic(b, m); };
    hooks.afterMessage = [&] { followFocus(b); };
    if (!vk::dialogs::runModalLoop(box, [&] { return b.result != 0; }, hooks))
        b.result = dismissAnswer(type);

    // The owner comes back first, so it is the window that takes activation.
    disabled.enableNow();
    if (IsWindow(box))
        DestroyWindow(box);
    if (owner && IsWindow(owner) && IsWindowVisible(owner))
        SetActiveWindow(owner);
    return b.result;
}

} // namespace

extern "C" {

int WINAPI MessageBoxExA(HWND hwnd, LPCSTR text, LPCSTR caption, UINT type, WORD)
{
    if (hwnd && !IsWindow(hwnd))
        return vk::failWith(ERROR_INVALID_WINDOW_HANDLE, 0);
    if (buttonsFor(type).empty())
        return vk::failWith(ERROR_INVALID_MSGBOX_STYLE, 0);
    vk::records::recordMessageBox(text, caption, type);
    int answer = 0;
    if (vk::records::takeMessageBoxAnswer(answer))
        return answer;
    return showBox(vk::dialogs::modalOwnerOf(hwnd), text, caption, type);
}

int WINAPI MessageBoxA(HWND hwnd, LPCSTR text, LPCSTR caption, UINT type)
{
    return MessageBoxExA(hwnd, text, caption, type, 0);
}

} // extern "C"

namespace {
struct User32Setup {
    User32Setup()
    {
        static const vk::ModuleExport exports[] = {
            {"MessageBoxA", vk::exportProc(&MessageBoxA)},
            {"MessageBoxExA", vk::exportProc(&MessageBoxExA)},
        };
        vk::registerModuleExports("user32.dll", exports, sizeof exports / sizeof exports[0]);
    }
} g_user32Setup;
} // namespace
