// The "Edit" class: single and multi-line text fields. Text is UTF-8 and
// every position is a byte offset, as an ANSI edit on a double-byte code page
// counts bytes; positions never fall inside a character.
#include "controls/std/common.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace vk::stdctl {

namespace {

constexpr size_t kDefaultLimit = 30000;
constexpr size_t kMaxLimit = 0x7FFFFFFE;

struct EditState {
    std::string text;
    size_t anchor = 0; // selection start as set
    size_t caret = 0;  // selection end, where the caret is
    size_t limit = kDefaultLimit;
    bool modified = false;
    bool focused = false;
    bool selecting = false; // mouse drag in progress
    bool caretMade = false;
    HFONT font = nullptr;
    char password = 0;
    int leftMargin = 1;
    int rightMargin = 1;
    int xOffset = 0;     // pixels scrolled horizontally
    size_t firstLine = 0; // multi-line: first visible line
    RECT formatRect{};
    bool customRect = false;
    // Undo keeps the state before the last edit; undoing swaps, so a second undo redoes.
    bool canUndo = false;
    std::string undoText;
    size_t undoAnchor = 0, undoCaret = 0;
    bool typingRun = false; // typed characters join one undo step
    std::string pendingChar; // UTF-8 bytes of a character still arriving
};

DWORD styleOf(HWND hwnd) { return DWORD(GetWindowLongA(hwnd, GWL_STYLE)); }
bool multiLine(HWND hwnd) { return styleOf(hwnd) & ES_MULTILINE; }

size_t selMin(const EditState* s) { return std::min(s->anchor, s->caret); }
size_t selMax(const EditState* s) { return std::max(s->anchor, s->caret); }

// Moves a position back to the start of the character it falls in.
size_t snap(const std::string& t, size_t pos)
{
    pos = std::min(pos, t.size());
    while (pos > 0 && pos < t.size() && utf8Continuation(static_cast<unsigned char>(t[pos])))
        --pos;
    return pos;
}

size_t nextChar(const std::string& t, size_t pos)
{
    if (pos >= t.size())
        return t.size();
    if (t[pos] == '\r' && pos + 1 < t.size() && t[pos + 1] == '\n')
        return pos + 2;
    size_t n = pos + size_t(utf8Length(static_cast<unsigned char>(t[pos])));
    while (n < t.size() && n > pos + 1 && !utf8Continuation(static_cast<unsigned char>(t[n - 1])) && false)
        ;
    return std::min(n, t.size());
}

size_t prevChar(const std::string& t, size_t pos)
{
    if (pos == 0)
        return 0;
    if (pos >= 2 && t[pos - 1] == '\n' && t[pos - 2] == '\r')
        return pos - 2;
    size_t p = pos - 1;
    while (p > 0 && utf8Continuation(static_cast<unsigned char>(t[p])))
        --p;
    return p;
}

struct Line {
    size_t start;
    size_t end; // before the line break
};

std::vector<Line> linesOf(HWND hwnd, const std::string& t)
{
    std::vector<Line> out;
    if (!multiLine(hwnd)) {
        out.push_back({0, t.size()});
        return out;
    }
    size_t start = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\n') {
            size_t end = (i > start && t[i - 1] == '\r') ? i - 1 : i;
            out.push_back({start, end});
            start = i + 1;
        }
    }
    out.push_back({start, t.size()});
    return out;
}

size_t lineOfPos(const std::vector<Line>& lines, size_t pos)
{
    for (size_t i = 0; i < lines.size(); ++i)
        if (pos <= lines[i].end || i + 1 == lines.size() || pos < lines[i + 1].start)
            return i;
    return lines.size() - 1;
}

// A memory DC with the control's font, for measuring.
struct Measure {
    HDC dc;
    HGDIOBJ old;
    int height;
    Measure(HFONT font)
    {
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, font ? font : defaultFont());
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        height = tm.tmHeight > 0 ? int(tm.tmHeight) : 12;
    }
    ~Measure()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;
};

std::string displayOf(const EditState* s, const std::string& part)
{
    if (!s->password)
        return part;
    size_t chars = 0;
    for (unsigned char c : part)
        if (!utf8Continuation(c))
            ++chars;
    return std::string(chars, s->password);
}

int widthOf(HDC dc, const EditState* s, const std::string& part)
{
    std::string d = displayOf(s, part);
    SIZE sz{};
    if (!d.empty())
        GetTextExtentPoint32A(dc, d.c_str(), int(d.size()), &sz);
    return sz.cx;
}

RECT formatRect(HWND hwnd, EditState* s)
{
    if (s->customRect)
        return s->formatRect;
    RECT rc;
    GetClientRect(hwnd, &rc);
    rc.left += s->leftMargin;
    rc.right -= s->rightMargin;
    rc.top += multiLine(hwnd) ? 0 : 1;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

int alignShift(HWND hwnd, int textWidth, int boxWidth)
{
    DWORD st = styleOf(hwnd);
    if (st & ES_RIGHT)
        return std::max(0, boxWidth - textWidth);
    if (st & ES_CENTER)
        return std::max(0, (boxWidth - textWidth) / 2);
    return 0;
}

// Client position of a text position (top-left of the character cell).
POINT posOf(HWND hwnd, EditState* s, size_t pos)
{
    Measure m(s->font);
    RECT fr = formatRect(hwnd, s);
    auto lines = linesOf(hwnd, s->text);
    size_t li = lineOfPos(lines, pos);
    const Line& l = lines[li];
    int lineWidth = widthOf(m.dc, s, s->text.substr(l.start, l.end - l.start));
    int x = widthOf(m.dc, s, s->text.substr(l.start, std::min(pos, l.end) - l.start));
    int shift = alignShift(hwnd, lineWidth, fr.right - fr.left);
    long long line = (long long)li - (long long)s->firstLine;
    return POINT{fr.left + shift + x - s->xOffset, fr.top + int(line) * m.height};
}

size_t posFromPoint(HWND hwnd, EditState* s, POINT p)
{
    Measure m(s->font);
    RECT fr = formatRect(hwnd, s);
    auto lines = linesOf(hwnd, s->text);
    long long li = (long long)s->firstLine + (p.y >= fr.top ? (p.y - fr.top) / m.height : -1);
    li = std::clamp<long long>(li, 0, (long long)lines.size() - 1);
    const Line& l = lines[size_t(li)];
    int lineWidth = widthOf(m.dc, s, s->text.substr(l.start, l.end - l.start));
    int x = p.x - fr.left - alignShift(hwnd, lineWidth, fr.right - fr.left) + s->xOffset;
    size_t pos = l.start;
    int prevX = 0;
    while (pos < l.end) {
        size_t n = nextChar(s->text, pos);
        int nx = widthOf(m.dc, s, s->text.substr(l.start, n - l.start));
        if (x < (prevX + nx) / 2 + ((prevX + nx) & 1 ? 1 : 0) && x < nx)
            return x < (prevX + nx + 1) / 2 ? pos : n;
        prevX = nx;
        pos = n;
    }
    return l.end;
}

int visibleLines(HWND hwnd, EditState* s)
{
    Measure m(s->font);
    RECT fr = formatRect(hwnd, s);
    return std::max(1, int((fr.bottom - fr.top) / m.height));
}

void updateScrollBars(HWND hwnd, EditState* s)
{
    DWORD st = styleOf(hwnd);
    if (!(st & WS_VSCROLL) || !multiLine(hwnd))
        return;
    auto lines = linesOf(hwnd, s->text);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, int(lines.size()) - 1,
                  UINT(visibleLines(hwnd, s)), int(s->firstLine), 0};
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void placeCaret(HWND hwnd, EditState* s)
{
    if (!s->focused || !s->caretMade)
        return;
    POINT p = posOf(hwnd, s, s->caret);
    SetCaretPos(p.x, p.y);
}

// Scrolls so the caret is visible.
void scrollToCaret(HWND hwnd, EditState* s)
{
    Measure m(s->font);
    RECT fr = formatRect(hwnd, s);
    auto lines = linesOf(hwnd, s->text);
    size_t li = lineOfPos(lines, s->caret);
    const Line& l = lines[li];
    int x = widthOf(m.dc, s, s->text.substr(l.start, std::min(s->caret, l.end) - l.start));
    int width = fr.right - fr.left;
    int old = s->xOffset;
    size_t oldFirst = s->firstLine;
    if ((styleOf(hwnd) & ES_AUTOHSCROLL) || multiLine(hwnd)) {
        if (x - s->xOffset >= width)
            s->xOffset = x - width + std::max(1, width / 4);
        if (x < s->xOffset)
            s->xOffset = std::max(0, x - width / 4);
        if (s->xOffset > 0) {
            // Keep no more blank space on the right than needed.
            int lineWidth = widthOf(m.dc, s, s->text.substr(l.start, l.end - l.start));
            if (lineWidth - s->xOffset < width - 1 && !multiLine(hwnd))
                s->xOffset = std::max(0, lineWidth - width + 1);
        }
    } else {
        s->xOffset = 0;
    }
    if (multiLine(hwnd)) {
        size_t vis = size_t(visibleLines(hwnd, s));
        if (li < s->firstLine)
            s->firstLine = li;
        else if (li >= s->firstLine + vis)
            s->firstLine = li - vis + 1;
    }
    if (old != s->xOffset || oldFirst != s->firstLine) {
        InvalidateRect(hwnd, nullptr, TRUE);
        updateScrollBars(hwnd, s);
    }
    placeCaret(hwnd, s);
}

void syncWindowText(HWND hwnd, EditState* s)
{
    DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s->text.c_str()));
}

void setSelection(HWND hwnd, EditState* s, size_t anchor, size_t caret)
{
    anchor = snap(s->text, anchor);
    caret = snap(s->text, caret);
    if (anchor == s->anchor && caret == s->caret)
        return;
    s->anchor = anchor;
    s->caret = caret;
    s->typingRun = false;
    InvalidateRect(hwnd, nullptr, FALSE);
    scrollToCaret(hwnd, s);
}

void saveUndo(EditState* s)
{
    s->undoText = s->text;
    s->undoAnchor = s->anchor;
    s->undoCaret = s->caret;
    s->canUndo = true;
}

// Replaces the selection with text; false when nothing changed. Sends
// EN_UPDATE/EN_CHANGE when notify is set.
bool replaceSelection(HWND hwnd, EditState* s, std::string insert, bool undoable, bool typing, bool notify = true)
{
    DWORD st = styleOf(hwnd);
    if (!multiLine(hwnd)) {
        // A single line keeps the text up to the first line break.
        size_t nl = insert.find_first_of("\r\n");
        if (nl != std::string::npos)
            insert.resize(nl);
    } else {
        // Lone line feeds become CR LF.
        std::string fixed;
        for (size_t i = 0; i < insert.size(); ++i) {
            if (insert[i] == '\n' && (i == 0 || insert[i - 1] != '\r'))
                fixed += '\r';
            fixed += insert[i];
        }
        insert.swap(fixed);
    }
    if (st & ES_UPPERCASE)
        for (char& c : insert)
            c = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
    if (st & ES_LOWERCASE)
        for (char& c : insert)
            c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    size_t a = selMin(s), b = selMax(s);
    size_t room = s->limit > s->text.size() - (b - a) ? s->limit - (s->text.size() - (b - a)) : 0;
    bool truncated = false;
    if (insert.size() > room) {
        size_t cut = snap(insert, room);
        if (cut >= 2 && insert[cut - 1] == '\r')
            --cut;
        insert.resize(cut);
        truncated = true;
    }
    if (!multiLine(hwnd) && !(st & ES_AUTOHSCROLL) && !insert.empty()) {
        // Without auto-scrolling a single line takes only what fits.
        Measure m(s->font);
        RECT fr = formatRect(hwnd, s);
        std::string next = s->text.substr(0, a) + insert + s->text.substr(b);
        while (!insert.empty() && widthOf(m.dc, s, next) > fr.right - fr.left) {
            insert.resize(prevChar(insert, insert.size()));
            next = s->text.substr(0, a) + insert + s->text.substr(b);
            truncated = true;
        }
    }
    if (truncated && notify)
        notifyParent(hwnd, EN_MAXTEXT);
    if (!IsWindow(hwnd))
        return false;
    if (insert.empty() && a == b)
        return false;
    if (undoable && !(typing && s->typingRun))
        saveUndo(s);
    s->text.replace(a, b - a, insert);
    s->anchor = s->caret = a + insert.size();
    s->typingRun = typing;
    s->modified = true;
    syncWindowText(hwnd, s);
    if (notify)
        notifyParent(hwnd, EN_UPDATE);
    if (!IsWindow(hwnd))
        return true;
    InvalidateRect(hwnd, nullptr, TRUE);
    scrollToCaret(hwnd, s);
    updateScrollBars(hwnd, s);
    if (notify)
        notifyParent(hwnd, EN_CHANGE);
    return true;
}

std::string selectedText(EditState* s) { return s->text.substr(selMin(s), selMax(s) - selMin(s)); }

void copyToClipboard(HWND hwnd, EditState* s)
{
    if (s->password || selMin(s) == selMax(s))
        return;
    std::string t = selectedText(s);
    if (!OpenClipboard(hwnd))
        return;
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, t.size() + 1);
    if (char* p = h ? static_cast<char*>(GlobalLock(h)) : nullptr) {
        memcpy(p, t.c_str(), t.size() + 1);
        GlobalUnlock(h);
        if (!SetClipboardData(CF_TEXT, h))
            GlobalFree(h);
    }
    CloseClipboard();
}

void paste(HWND hwnd, EditState* s)
{
    if (styleOf(hwnd) & ES_READONLY)
        return;
    if (!OpenClipboard(hwnd))
        return;
    std::string t;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        SIZE_T size = GlobalSize(h);
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            t.assign(p, strnlen(p, size));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    replaceSelection(hwnd, s, t, true, false);
}

bool wordChar(char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n'; }

void selectWordAt(HWND hwnd, EditState* s, size_t pos)
{
    const std::string& t = s->text;
    size_t a = pos, b = pos;
    while (a > 0 && wordChar(t[a - 1]))
        --a;
    while (b < t.size() && wordChar(t[b]))
        ++b;
    // Trailing spaces belong to the word, as Win32 selects them.
    while (b < t.size() && t[b] == ' ')
        ++b;
    setSelection(hwnd, s, a, b);
}

size_t wordLeft(const std::string& t, size_t pos)
{
    while (pos > 0 && !wordChar(t[pos - 1]))
        pos = prevChar(t, pos);
    while (pos > 0 && wordChar(t[pos - 1]))
        pos = prevChar(t, pos);
    return pos;
}

size_t wordRight(const std::string& t, size_t pos)
{
    while (pos < t.size() && wordChar(t[pos]))
        pos = nextChar(t, pos);
    while (pos < t.size() && !wordChar(t[pos]))
        pos = nextChar(t, pos);
    return pos;
}

void paintEdit(HWND hwnd, HDC dc, EditState* s)
{
    DWORD st = styleOf(hwnd);
    RECT rc;
    GetClientRect(hwnd, &rc);
    bool disabled = !IsWindowEnabled(hwnd);
    UINT colorMsg = (disabled || (st & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    HBRUSH bg = controlColor(hwnd, colorMsg, dc);
    if (bg)
        FillRect(dc, &rc, bg);
    if (disabled)
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    COLORREF textColor = GetTextColor(dc);
    COLORREF backColor = GetBkColor(dc);
    HGDIOBJ oldFont = SelectObject(dc, s->font ? s->font : defaultFont());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    int lh = tm.tmHeight > 0 ? int(tm.tmHeight) : 12;
    RECT fr = formatRect(hwnd, s);
    HRGN clip = CreateRectRgnIndirect(&fr);
    ExtSelectClipRgn(dc, clip, RGN_AND);
    DeleteObject(clip);
    auto lines = linesOf(hwnd, s->text);
    size_t a = selMin(s), b = selMax(s);
    bool showSel = (s->focused || (st & ES_NOHIDESEL)) && a != b;
    int y = fr.top;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    for (size_t li = s->firstLine; li < lines.size() && y < fr.bottom; ++li, y += lh) {
        const Line& l = lines[li];
        std::string shown = displayOf(s, s->text.substr(l.start, l.end - l.start));
        int lineWidth = widthOf(dc, s, s->text.substr(l.start, l.end - l.start));
        int x0 = fr.left + alignShift(hwnd, lineWidth, fr.right - fr.left) - s->xOffset;
        TextOutA(dc, x0, y, shown.c_str(), int(shown.size()));
        if (showSel && b > l.start && a <= l.end) {
            size_t sa = std::max(a, l.start), sb = std::min(b, l.end);
            int xa = x0 + widthOf(dc, s, s->text.substr(l.start, sa - l.start));
            int xb = x0 + widthOf(dc, s, s->text.substr(l.start, sb - l.start));
            if (b > l.end && li + 1 < lines.size())
                xb += tm.tmAveCharWidth > 0 ? int(tm.tmAveCharWidth) / 2 : 3; // the line break shows as a sliver
            RECT sr{xa, y, xb, y + lh};
            FillRect(dc, &sr, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            std::string part = displayOf(s, s->text.substr(sa, sb - sa));
            TextOutA(dc, xa, y, part.c_str(), int(part.size()));
            SetTextColor(dc, textColor);
        }
    }
    SetBkMode(dc, oldMode);
    SetBkColor(dc, backColor);
    SelectObject(dc, oldFont);
}

void makeCaret(HWND hwnd, EditState* s)
{
    Measure m(s->font);
    CreateCaret(hwnd, nullptr, 1, m.height);
    s->caretMade = true;
    placeCaret(hwnd, s);
    ShowCaret(hwnd);
}

void moveCaret(HWND hwnd, EditState* s, size_t pos, bool extend)
{
    setSelection(hwnd, s, extend ? s->anchor : pos, pos);
}

void keyDown(HWND hwnd, EditState* s, WPARAM key)
{
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const std::string& t = s->text;
    auto lines = linesOf(hwnd, t);
    size_t li = lineOfPos(lines, s->caret);
    switch (key) {
    case VK_LEFT:
        if (!shift && selMin(s) != selMax(s) && !ctrl)
            moveCaret(hwnd, s, selMin(s), false);
        else
            moveCaret(hwnd, s, ctrl ? wordLeft(t, s->caret) : prevChar(t, s->caret), shift);
        break;
    case VK_RIGHT:
        if (!shift && selMin(s) != selMax(s) && !ctrl)
            moveCaret(hwnd, s, selMax(s), false);
        else
            moveCaret(hwnd, s, ctrl ? wordRight(t, s->caret) : nextChar(t, s->caret), shift);
        break;
    case VK_HOME:
        moveCaret(hwnd, s, ctrl ? 0 : lines[li].start, shift);
        break;
    case VK_END:
        moveCaret(hwnd, s, ctrl ? t.size() : lines[li].end, shift);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (!multiLine(hwnd)) {
            if (key == VK_UP)
                moveCaret(hwnd, s, prevChar(t, s->caret), shift);
            else if (key == VK_DOWN)
                moveCaret(hwnd, s, nextChar(t, s->caret), shift);
            break;
        }
        long long step = (key == VK_UP || key == VK_DOWN) ? 1 : visibleLines(hwnd, s);
        long long target = (long long)li + ((key == VK_UP || key == VK_PRIOR) ? -step : step);
        target = std::clamp<long long>(target, 0, (long long)lines.size() - 1);
        if (target == (long long)li)
            break;
        POINT p = posOf(hwnd, s, s->caret);
        Measure m(s->font);
        p.y += int((target - (long long)li) * m.height);
        // Keep the row inside the view for posFromPoint, then scroll.
        size_t first = s->firstLine;
        if (target < (long long)first)
            s->firstLine = size_t(target);
        else if (target >= (long long)first + visibleLines(hwnd, s))
            s->firstLine = size_t(target) - size_t(visibleLines(hwnd, s)) + 1;
        p.y = formatRect(hwnd, s).top + int((target - (long long)s->firstLine) * m.height);
        if (first != s->firstLine) {
            InvalidateRect(hwnd, nullptr, TRUE);
            updateScrollBars(hwnd, s);
        }
        moveCaret(hwnd, s, posFromPoint(hwnd, s, p), shift);
        break;
    }
    case VK_DELETE:
        if (styleOf(hwnd) & ES_READONLY)
            break;
        if (shift) {
            SendMessageA(hwnd, WM_CUT, 0, 0);
            break;
        }
        if (selMin(s) == selMax(s)) {
            size_t n = nextChar(t, s->caret);
            if (n == s->caret)
                break;
            s->anchor = s->caret;
            s->caret = n;
        }
        replaceSelection(hwnd, s, "", true, false);
        break;
    case VK_INSERT:
        if (ctrl)
            SendMessageA(hwnd, WM_COPY, 0, 0);
        else if (shift)
            SendMessageA(hwnd, WM_PASTE, 0, 0);
        break;
    default:
        break;
    }
}

void charTyped(HWND hwnd, EditState* s, unsigned char c)
{
    DWORD st = styleOf(hwnd);
    // Lead and trail bytes of one character arrive one message each.
    if (!s->pendingChar.empty()) {
        if (utf8Continuation(c)) {
            s->pendingChar += char(c);
            if (s->pendingChar.size() < size_t(utf8Length(static_cast<unsigned char>(s->pendingChar[0]))))
                return;
            std::string ch;
            ch.swap(s->pendingChar);
            if (!(st & (ES_READONLY | ES_NUMBER)))
                replaceSelection(hwnd, s, ch, true, true);
            else
                MessageBeep(0);
            return;
        }
        s->pendingChar.clear(); // a broken sequence is dropped
    }
    if (c >= 0xC0 && utf8Length(c) > 1) {
        s->pendingChar = std::string(1, char(c));
        return;
    }
    if (c >= 0x80)
        return; // a stray trail byte
    switch (c) {
    case 1: // Ctrl+A
        setSelection(hwnd, s, 0, s->text.size());
        return;
    case 3:
        SendMessageA(hwnd, WM_COPY, 0, 0);
        return;
    case 0x16:
        SendMessageA(hwnd, WM_PASTE, 0, 0);
        return;
    case 0x18:
        SendMessageA(hwnd, WM_CUT, 0, 0);
        return;
    case 0x1A:
        SendMessageA(hwnd, EM_UNDO, 0, 0);
        return;
    case '\b':
        if (st & ES_READONLY)
            return;
        if (selMin(s) == selMax(s)) {
            size_t p = prevChar(s->text, s->caret);
            if (p == s->caret)
                return;
            s->anchor = p;
        }
        replaceSelection(hwnd, s, "", true, false);
        return;
    case '\r':
        if (multiLine(hwnd) && !(st & ES_READONLY))
            replaceSelection(hwnd, s, "\r\n", true, false);
        return;
    case '\t':
        if (multiLine(hwnd) && !(st & ES_READONLY))
            replaceSelection(hwnd, s, "\t", true, true);
        return;
    default:
        break;
    }
    if (c < 0x20)
        return;
    if ((st & ES_READONLY) || ((st & ES_NUMBER) && !(c >= '0' && c <= '9'))) {
        MessageBeep(0);
        return;
    }
    replaceSelection(hwnd, s, std::string(1, char(c)), true, true);
}

void scrollLines(HWND hwnd, EditState* s, long long delta)
{
    auto lines = linesOf(hwnd, s->text);
    long long first = std::clamp<long long>((long long)s->firstLine + delta, 0, (long long)lines.size() - 1);
    if (size_t(first) == s->firstLine)
        return;
    s->firstLine = size_t(first);
    InvalidateRect(hwnd, nullptr, TRUE);
    updateScrollBars(hwnd, s);
    placeCaret(hwnd, s);
}

LRESULT scrollMessage(HWND hwnd, EditState* s, WPARAM code)
{
    if (!multiLine(hwnd))
        return FALSE;
    size_t before = s->firstLine;
    int page = visibleLines(hwnd, s);
    switch (LOWORD(code)) {
    case SB_LINEUP: scrollLines(hwnd, s, -1); break;
    case SB_LINEDOWN: scrollLines(hwnd, s, 1); break;
    case SB_PAGEUP: scrollLines(hwnd, s, -page); break;
    case SB_PAGEDOWN: scrollLines(hwnd, s, page); break;
    case SB_TOP: scrollLines(hwnd, s, -(long long)s->firstLine); break;
    case SB_BOTTOM: scrollLines(hwnd, s, 1 << 30); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: scrollLines(hwnd, s, (long long)HIWORD(code) - (long long)s->firstLine); break;
    default: return FALSE;
    }
    long long moved = (long long)s->firstLine - (long long)before;
    WORD lines = WORD(short(moved));
    return LRESULT(DWORD(lines) | (DWORD(TRUE) << 16));
}

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    EditState* s = stateOf<EditState>(hwnd);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_NCCREATE: {
        s = attachState<EditState>(hwnd);
        DWORD st = styleOf(hwnd);
        if (st & ES_PASSWORD && !(st & ES_MULTILINE))
            s->password = '*';
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
            s->text = cs->lpszName;
        if (!(st & ES_MULTILINE)) {
            size_t nl = s->text.find_first_of("\r\n");
            if (nl != std::string::npos)
                s->text.resize(nl);
        }
        LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
        syncWindowText(hwnd, s);
        return r;
    }
    case WM_NCDESTROY:
        if (s->focused && s->caretMade)
            DestroyCaret();
        detachState<EditState>(hwnd);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_CREATE:
        updateScrollBars(hwnd, s);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (multiLine(hwnd)) {
            code |= DLGC_WANTALLKEYS;
            if (wp == VK_ESCAPE || wp == VK_TAB)
                code &= ~LRESULT(DLGC_WANTALLKEYS);
            if (wp == VK_RETURN && !(styleOf(hwnd) & ES_WANTRETURN))
                code &= ~LRESULT(DLGC_WANTALLKEYS);
        }
        return code;
    }
    case WM_PAINT:
        return paintMessage(hwnd, wp, [&](HDC dc) { paintEdit(hwnd, dc, s); });
    case WM_PRINTCLIENT:
        if (wp)
            paintEdit(hwnd, reinterpret_cast<HDC>(wp), s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        if (!s->customRect)
            s->formatRect = formatRect(hwnd, s);
        updateScrollBars(hwnd, s);
        scrollToCaret(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wp);
        if (s->focused && s->caretMade) {
            DestroyCaret();
            makeCaret(hwnd, s);
        }
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
        std::string t = lp ? reinterpret_cast<const char*>(lp) : "";
        if (!multiLine(hwnd)) {
            size_t nl = t.find_first_of("\r\n");
            if (nl != std::string::npos)
                t.resize(nl);
        }
        if (t.size() > s->limit)
            t.resize(snap(t, s->limit));
        s->text = t;
        s->anchor = s->caret = 0;
        s->xOffset = 0;
        s->firstLine = 0;
        s->modified = false;
        s->canUndo = false;
        s->typingRun = false;
        syncWindowText(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        updateScrollBars(hwnd, s);
        placeCaret(hwnd, s);
        if (!multiLine(hwnd)) {
            notifyParent(hwnd, EN_UPDATE);
            if (IsWindow(hwnd))
                notifyParent(hwnd, EN_CHANGE);
        }
        return TRUE;
    }
    case WM_SETFOCUS:
        s->focused = true;
        makeCaret(hwnd, s);
        InvalidateRect(hwnd, nullptr, FALSE);
        notifyParent(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        s->pendingChar.clear();
        if (s->caretMade) {
            DestroyCaret();
            s->caretMade = false;
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        notifyParent(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        size_t pos = posFromPoint(hwnd, s, p);
        moveCaret(hwnd, s, pos, (wp & MK_SHIFT) != 0);
        s->selecting = true;
        SetCapture(hwnd);
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        selectWordAt(hwnd, s, posFromPoint(hwnd, s, p));
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s->selecting && GetCapture() == hwnd) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            moveCaret(hwnd, s, posFromPoint(hwnd, s, p), true);
        }
        return 0;
    case WM_LBUTTONUP:
        if (s->selecting) {
            s->selecting = false;
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        s->selecting = false;
        return 0;
    case WM_KEYDOWN:
        keyDown(hwnd, s, wp);
        return 0;
    case WM_CHAR:
        charTyped(hwnd, s, static_cast<unsigned char>(wp & 0xFF));
        return 0;
    case WM_VSCROLL:
        scrollMessage(hwnd, s, wp);
        return 0;
    case WM_MOUSEWHEEL:
        if (multiLine(hwnd))
            scrollLines(hwnd, s, -3 * (long long)GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA);
        return 0;
    case WM_COPY:
        copyToClipboard(hwnd, s);
        return 0;
    case WM_CUT:
        if (styleOf(hwnd) & ES_READONLY)
            return 0;
        copyToClipboard(hwnd, s);
        if (!s->password)
            replaceSelection(hwnd, s, "", true, false);
        return 0;
    case WM_PASTE:
        paste(hwnd, s);
        return 0;
    case WM_CLEAR:
        if (!(styleOf(hwnd) & ES_READONLY))
            replaceSelection(hwnd, s, "", true, false);
        return 0;
    case WM_UNDO:
    case EM_UNDO: {
        if (!s->canUndo)
            return FALSE;
        std::swap(s->text, s->undoText);
        std::swap(s->anchor, s->undoAnchor);
        std::swap(s->caret, s->undoCaret);
        s->anchor = snap(s->text, s->anchor);
        s->caret = snap(s->text, s->caret);
        s->typingRun = false;
        s->modified = true;
        syncWindowText(hwnd, s);
        notifyParent(hwnd, EN_UPDATE);
        if (!IsWindow(hwnd))
            return TRUE;
        InvalidateRect(hwnd, nullptr, TRUE);
        scrollToCaret(hwnd, s);
        updateScrollBars(hwnd, s);
        notifyParent(hwnd, EN_CHANGE);
        return TRUE;
    }
    case EM_CANUNDO:
        return s->canUndo ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
        s->canUndo = false;
        s->undoText.clear();
        return 0;
    case EM_GETSEL: {
        DWORD a = DWORD(selMin(s)), b = DWORD(selMax(s));
        if (wp)
            *reinterpret_cast<DWORD*>(wp) = a;
        if (lp)
            *reinterpret_cast<DWORD*>(lp) = b;
        return MAKELRESULT(std::min<DWORD>(a, 0xFFFF), std::min<DWORD>(b, 0xFFFF));
    }
    case EM_SETSEL: {
        long long a = (long long)(int)wp, b = (long long)(int)lp;
        if (a == -1) {
            setSelection(hwnd, s, s->caret, s->caret);
            return 0;
        }
        size_t len = s->text.size();
        size_t sa = a < 0 ? len : std::min<size_t>(size_t(a), len);
        size_t sb = b < 0 ? len : std::min<size_t>(size_t(b), len);
        setSelection(hwnd, s, sa, sb);
        return 0;
    }
    case EM_REPLACESEL:
        replaceSelection(hwnd, s, lp ? reinterpret_cast<const char*>(lp) : "", wp != 0, false);
        return 0;
    case EM_SETLIMITTEXT: { // EM_LIMITTEXT is the same message
        size_t v = size_t(wp);
        s->limit = v == 0 || v > kMaxLimit ? kMaxLimit : v;
        return 0;
    }
    case EM_GETLIMITTEXT:
        return LRESULT(s->limit);
    case EM_GETLINECOUNT:
        return LRESULT(linesOf(hwnd, s->text).size());
    case EM_LINEINDEX: {
        auto lines = linesOf(hwnd, s->text);
        long long li = (int)wp;
        if (li == -1)
            li = (long long)lineOfPos(lines, s->caret);
        if (li < 0 || size_t(li) >= lines.size())
            return -1;
        return LRESULT(lines[size_t(li)].start);
    }
    case EM_LINELENGTH: {
        auto lines = linesOf(hwnd, s->text);
        long long ci = (int)wp;
        if (ci == -1) {
            // The unselected characters on the lines the selection touches.
            size_t la = lineOfPos(lines, selMin(s)), lb = lineOfPos(lines, selMax(s));
            size_t before = selMin(s) - lines[la].start;
            size_t after = lines[lb].end > selMax(s) ? lines[lb].end - selMax(s) : 0;
            return LRESULT(before + after);
        }
        if (ci < 0 || size_t(ci) > s->text.size())
            return 0;
        const Line& l = lines[lineOfPos(lines, size_t(ci))];
        return LRESULT(l.end - l.start);
    }
    case EM_GETLINE: {
        if (!lp)
            return 0;
        auto lines = linesOf(hwnd, s->text);
        size_t li = multiLine(hwnd) ? size_t(wp) : 0;
        if (li >= lines.size())
            return 0;
        WORD cap;
        memcpy(&cap, reinterpret_cast<void*>(lp), sizeof cap);
        const Line& l = lines[li];
        size_t n = std::min<size_t>(cap, l.end - l.start);
        memcpy(reinterpret_cast<char*>(lp), s->text.data() + l.start, n);
        return LRESULT(n);
    }
    case EM_LINEFROMCHAR: {
        auto lines = linesOf(hwnd, s->text);
        long long ci = (int)wp;
        if (ci == -1)
            return LRESULT(lineOfPos(lines, selMin(s) != selMax(s) ? selMin(s) : s->caret));
        if (ci < 0)
            return 0;
        return LRESULT(lineOfPos(lines, std::min<size_t>(size_t(ci), s->text.size())));
    }
    case EM_SCROLL:
        return scrollMessage(hwnd, s, wp);
    case EM_LINESCROLL:
        if (!multiLine(hwnd))
            return FALSE;
        {
            Measure m(s->font);
            SIZE sz{};
            GetTextExtentPoint32A(m.dc, "x", 1, &sz);
            // Any column count is accepted; the offset stays within what an int
            // and the widest line can hold.
            long long dx = (long long)int(wp) * std::max<int>(1, sz.cx);
            if (dx) {
                s->xOffset = int(std::clamp<long long>(s->xOffset + dx, 0, 1000000));
                InvalidateRect(hwnd, nullptr, TRUE);
            }
        }
        scrollLines(hwnd, s, (long long)(int)lp);
        return TRUE;
    case EM_SCROLLCARET:
        scrollToCaret(hwnd, s);
        return TRUE;
    case EM_GETFIRSTVISIBLELINE:
        if (multiLine(hwnd))
            return LRESULT(s->firstLine);
        else {
            POINT p{formatRect(hwnd, s).left, formatRect(hwnd, s).top};
            return LRESULT(posFromPoint(hwnd, s, p));
        }
    case EM_SETREADONLY: {
        LONG st = GetWindowLongA(hwnd, GWL_STYLE);
        SetWindowLongA(hwnd, GWL_STYLE, wp ? (st | ES_READONLY) : (st & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case EM_GETMODIFY:
        return s->modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        s->modified = wp != 0;
        return 0;
    case EM_SETMARGINS: {
        int l = LOWORD(lp), r = HIWORD(lp);
        if (LOWORD(lp) == EC_USEFONTINFO)
            l = 2;
        if (HIWORD(lp) == EC_USEFONTINFO)
            r = 2;
        if (wp & EC_LEFTMARGIN)
            s->leftMargin = std::min(l, 0x7FFF);
        if (wp & EC_RIGHTMARGIN)
            s->rightMargin = std::min(r, 0x7FFF);
        s->customRect = false;
        InvalidateRect(hwnd, nullptr, TRUE);
        placeCaret(hwnd, s);
        return 0;
    }
    case EM_GETMARGINS:
        return MAKELRESULT(s->leftMargin, s->rightMargin);
    case EM_GETRECT:
        if (lp)
            *reinterpret_cast<RECT*>(lp) = formatRect(hwnd, s);
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (!lp) {
            s->customRect = false;
        } else {
            s->formatRect = *reinterpret_cast<const RECT*>(lp);
            s->customRect = true;
        }
        if (msg == EM_SETRECT)
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case EM_POSFROMCHAR: {
        if (wp >= s->text.size())
            return -1;
        POINT p = posOf(hwnd, s, snap(s->text, size_t(wp)));
        return MAKELRESULT(WORD(short(p.x)), WORD(short(p.y)));
    }
    case EM_CHARFROMPOS: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        size_t pos = posFromPoint(hwnd, s, p);
        size_t li = lineOfPos(linesOf(hwnd, s->text), pos);
        return MAKELRESULT(WORD(std::min<size_t>(pos, 0xFFFF)), WORD(std::min<size_t>(li, 0xFFFF)));
    }
    case EM_SETPASSWORDCHAR:
        if (multiLine(hwnd))
            return 0;
        s->password = char(wp & 0xFF);
        InvalidateRect(hwnd, nullptr, TRUE);
        placeCaret(hwnd, s);
        return 0;
    case EM_GETPASSWORDCHAR:
        return static_cast<unsigned char>(s->password);
    case EM_GETHANDLE:
    case EM_SETHANDLE:
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

void registerEdit() { registerControlClass("Edit", editProc, CS_DBLCLKS | CS_PARENTDC, IDC_IBEAM); }

struct Install {
    Install() { vk::user::systemClassRegistrars().push_back(registerEdit); }
} g_install;

} // namespace

} // namespace vk::stdctl
