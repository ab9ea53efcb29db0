// DrawTextA / DrawTextExA and TabbedTextOutA: lines, word breaks, tabs,
// & prefixes, ellipses and alignment inside a rectangle.
#include "gdi/font.h"

#include <winuser.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace vk::gdi {

namespace {

// DRAWTEXTPARAMS, as DrawTextExA receives it.
struct DrawTextParams {
    UINT cbSize;
    int iTabLength;
    int iLeftMargin;
    int iRightMargin;
    UINT uiLengthDrawn;
};

struct Line {
    std::string text;
    std::vector<size_t> prefixes; // byte offsets of characters to underline
};

size_t charLen(const std::string& s, size_t i)
{
    return size_t(g_utf8_next_char(s.data() + i) - (s.data() + i));
}

bool isWide(const std::string& s, size_t i)
{
    return g_utf8_get_char(s.data() + i) >= 0x2E80;
}

// Pieces of a line between tabs, each at its x offset.
struct Piece {
    int x;
    std::string text;
    size_t start;
};

class LineMeasure {
public:
    LineMeasure(FontImpl& f, int charExtra, std::function<int(int)> nextTab) : m_f(f), m_extra(charExtra), m_nextTab(std::move(nextTab)) {}

    std::vector<Piece> pieces(const std::string& s) const
    {
        std::vector<Piece> out;
        int x = 0;
        size_t start = 0;
        for (;;) {
            size_t tab = m_nextTab ? s.find('\t', start) : std::string::npos;
            std::string part = s.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
            out.push_back(Piece{x, part, start});
            x += textExtent(m_f, part, m_extra).cx;
            if (tab == std::string::npos)
                break;
            x = m_nextTab(x);
            start = tab + 1;
        }
        return out;
    }

    int width(const std::string& s) const
    {
        std::vector<Piece> p = pieces(s);
        return p.back().x + textExtent(m_f, p.back().text, m_extra).cx;
    }

    // x of the character starting at byte i.
    int xOf(const std::string& s, size_t i) const
    {
        std::vector<Piece> p = pieces(s);
        for (size_t k = p.size(); k-- > 0;)
            if (i >= p[k].start)
                return p[k].x + textExtent(m_f, p[k].text.substr(0, std::min(i - p[k].start, p[k].text.size())), m_extra).cx;
        return 0;
    }

private:
    FontImpl& m_f;
    int m_extra;
    std::function<int(int)> m_nextTab;
};

Line stripPrefixes(const std::string& s, bool noPrefix)
{
    Line l;
    if (noPrefix) {
        l.text = s;
        return l;
    }
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                l.text += '&';
                ++i;
                continue;
            }
            if (i + 1 < s.size())
                l.prefixes.push_back(l.text.size());
            continue;
        }
        l.text += s[i];
    }
    return l;
}

std::vector<Line> splitLines(const Line& all, bool single)
{
    std::vector<Line> out(1);
    for (size_t i = 0; i < all.text.size(); ++i) {
        char c = all.text[i];
        bool brk = c == '\n' || c == '\r';
        if (brk && single)
            continue;
        if (brk) {
            if (c == '\r' && i + 1 < all.text.size() && all.text[i + 1] == '\n')
                ++i;
            out.emplace_back();
            continue;
        }
        if (std::find(all.prefixes.begin(), all.prefixes.end(), i) != all.prefixes.end())
            out.back().prefixes.push_back(out.back().text.size());
        out.back().text += c;
    }
    return out;
}

Line sub(const Line& l, size_t from, size_t to)
{
    Line r;
    r.text = l.text.substr(from, to - from);
    for (size_t p : l.prefixes)
        if (p >= from && p < to)
            r.prefixes.push_back(p - from);
    return r;
}

std::vector<Line> wrap(const Line& l, int maxW, const LineMeasure& m, bool breakWords)
{
    std::vector<Line> out;
    const std::string& s = l.text;
    size_t start = 0;
    while (start < s.size() || out.empty()) {
        if (m.width(s.substr(start)) <= maxW) {
            out.push_back(sub(l, start, s.size()));
            break;
        }
        // The longest run that fits, ending at a break opportunity.
        size_t lastBreak = std::string::npos, i = start, fitEnd = start;
        while (i < s.size()) {
            size_t n = charLen(s, i);
            if (m.width(s.substr(start, i + n - start)) > maxW)
                break;
            fitEnd = i + n;
            if (s[i] == ' ' || isWide(s, i) || (i + n < s.size() && isWide(s, i + n)))
                lastBreak = i + n;
            i += n;
        }
        size_t end;
        if (lastBreak != std::string::npos && lastBreak > start) {
            end = lastBreak;
        } else if (breakWords && fitEnd > start) {
            end = fitEnd;
        } else {
            // A word wider than the line stays whole.
            end = s.find(' ', std::max(fitEnd, start + 1));
            if (end == std::string::npos)
                end = s.size();
        }
        size_t trimmed = end;
        while (trimmed > start && s[trimmed - 1] == ' ')
            --trimmed;
        out.push_back(sub(l, start, trimmed));
        start = end;
        while (start < s.size() && s[start] == ' ')
            ++start;
        if (start >= s.size())
            break;
    }
    return out;
}

std::string endEllipsis(const std::string& s, int maxW, const LineMeasure& m, bool wordWise)
{
    if (m.width(s) <= maxW)
        return s;
    std::string base = s;
    while (!base.empty()) {
        if (wordWise) {
            size_t sp = base.find_last_of(' ');
            base = sp == std::string::npos ? std::string() : base.substr(0, sp);
            if (base.empty())
                break;
        } else {
            size_t i = size_t(g_utf8_find_prev_char(base.data(), base.data() + base.size()) - base.data());
            base.resize(i);
        }
        if (m.width(base + "...") <= maxW)
            return base + "...";
    }
    if (wordWise)
        return endEllipsis(s, maxW, m, false);
    return "...";
}

std::string pathEllipsis(const std::string& s, int maxW, const LineMeasure& m)
{
    if (m.width(s) <= maxW)
        return s;
    size_t sep = s.find_last_of("\\/");
    if (sep == std::string::npos)
        return endEllipsis(s, maxW, m, false);
    std::string head = s.substr(0, sep), tail = s.substr(sep);
    while (!head.empty()) {
        size_t i = size_t(g_utf8_find_prev_char(head.data(), head.data() + head.size()) - head.data());
        head.resize(i);
        if (m.width(head + "..." + tail) <= maxW)
            return head + "..." + tail;
    }
    return "..." + tail;
}

} // namespace

int drawTextImpl(HDC hdc, const char* str, int cch, RECT* rc, UINT fmt, DrawTextParams* params)
{
    Target t;
    if (!acquire(hdc, t))
        return 0;
    if (!rc || (!str && cch != 0))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    if (cch < 0)
        cch = int(std::strlen(str));
    FontImpl& f = dcFont(*t.dc);
    DcState& st = t.dc->st;
    std::string text = cleanUtf8(str ? str : "", cch);

    int tabChars = (fmt & DT_TABSTOP) ? int((fmt >> 8) & 0xFF) : 8;
    if (params && params->iTabLength > 0)
        tabChars = params->iTabLength;
    if (fmt & DT_TABSTOP)
        fmt &= ~0xFF00u;
    int tabW = std::max(1, tabChars * std::max(1, f.aveCharWidth));
    std::function<int(int)> nextTab;
    if (fmt & DT_EXPANDTABS)
        nextTab = [tabW](int x) { return (x / tabW + 1) * tabW; };
    LineMeasure m(f, st.charExtra, nextTab);

    RECT box = *rc;
    if (params) {
        box.left += params->iLeftMargin;
        box.right -= params->iRightMargin;
        params->uiLengthDrawn = UINT(cch);
    }
    int maxW = box.right - box.left;
    bool single = fmt & DT_SINGLELINE;
    Line all = stripPrefixes(text, fmt & DT_NOPREFIX);
    std::vector<Line> lines;
    for (const Line& l : splitLines(all, single)) {
        if ((fmt & DT_WORDBREAK) && !single) {
            for (Line& w : wrap(l, maxW, m, fmt & DT_EDITCONTROL))
                lines.push_back(std::move(w));
        } else {
            lines.push_back(l);
        }
    }
    if (fmt & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
        for (Line& l : lines) {
            std::string before = l.text;
            if (fmt & DT_PATH_ELLIPSIS)
                l.text = pathEllipsis(l.text, maxW, m);
            else
                l.text = endEllipsis(l.text, maxW, m, fmt & DT_WORD_ELLIPSIS);
            if (l.text != before) {
                std::vector<size_t> keep;
                for (size_t p : l.prefixes)
                    if (p + 3 < l.text.size() && l.text.compare(0, p + 1, before, 0, p + 1) == 0)
                        keep.push_back(p);
                l.prefixes = keep;
            }
        }
        if ((fmt & DT_MODIFYSTRING) && single && lines.size() == 1 && str && lines[0].text != all.text)
            std::memcpy(const_cast<char*>(str), lines[0].text.c_str(), lines[0].text.size() + 1);
    }

    int lineH = f.height;
    int total = lineH * int(lines.size());
    int widest = 0;
    for (const Line& l : lines)
        widest = std::max(widest, m.width(l.text));
    int y = box.top;
    if (single) {
        if (fmt & DT_VCENTER)
            y = box.top + (box.bottom - box.top - lineH) / 2;
        else if (fmt & DT_BOTTOM)
            y = box.bottom - lineH;
    }
    int result = (single && (fmt & (DT_VCENTER | DT_BOTTOM))) ? y + total - rc->top : total;
    if (fmt & DT_CALCRECT) {
        int l = box.left;
        if (fmt & DT_CENTER)
            l = box.left + (maxW - widest) / 2;
        else if (fmt & DT_RIGHT)
            l = box.right - widest;
        rc->left = l - (params ? params->iLeftMargin : 0);
        rc->right = l + widest + (params ? params->iRightMargin : 0);
        rc->bottom = rc->top + total;
        if (single && (fmt & (DT_VCENTER | DT_BOTTOM)))
            rc->bottom = y + total;
        return result;
    }
    if (!t.drawable())
        return result;

    Region clipRgn;
    const Region* clip = nullptr;
    if (!(fmt & DT_NOCLIP)) {
        clipRgn = Region(t.toSurf(*rc));
        clip = &clipRgn;
    }
    uint32_t color = t.color(st.textColor);
    for (const Line& l : lines) {
        int w = m.width(l.text);
        int x = box.left;
        if (fmt & DT_CENTER)
            x = box.left + (maxW - w) / 2;
        else if (fmt & DT_RIGHT)
            x = box.right - w;
        POINT p = t.toSurf(x, y);
        if (st.bkMode == OPAQUE && !(fmt & DT_PREFIXONLY)) {
            Region bg(p.x, p.y, p.x + w, p.y + lineH);
            if (clip)
                bg.intersect(*clip);
            paintRegion(t, bg, solidPaint(t.color(st.bkColor)), R2_COPYPEN);
        }
        if (!(fmt & DT_PREFIXONLY))
            for (const Piece& pc : m.pieces(l.text))
                drawTextAt(t, f, pc.text, p.x + pc.x, p.y, color, st.charExtra, clip);
        if (!(fmt & DT_HIDEPREFIX))
            for (size_t pos : l.prefixes) {
                if (pos >= l.text.size())
                    continue;
                int ux0 = m.xOf(l.text, pos), ux1 = m.xOf(l.text, pos + charLen(l.text, pos));
                Region ul(p.x + ux0, p.y + f.ascent + 1, p.x + ux1, p.y + f.ascent + 2);
                if (clip)
                    ul.intersect(*clip);
                paintRegion(t, ul, solidPaint(color), R2_COPYPEN);
            }
        y += lineH;
    }
    return result;
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

int WINAPI DrawTextA(HDC hdc, LPCSTR text, int cch, LPRECT rc, UINT format)
{
    return drawTextImpl(hdc, text, cch, rc, format, nullptr);
}

int WINAPI DrawTextExA(HDC hdc, LPSTR text, int cch, LPRECT rc, UINT format, void* dtp)
{
    auto* params = static_cast<DrawTextParams*>(dtp);
    if (params && params->cbSize != sizeof(DrawTextParams))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    return drawTextImpl(hdc, text, cch, rc, format, params);
}

LONG WINAPI TabbedTextOutA(HDC hdc, int x, int y, LPCSTR s, int n, int nTabs, const INT* tabs, int origin)
{
    Target t;
    if (!acquire(hdc, t))
        return 0;
    if (n < 0 || (!s && n > 0))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    FontImpl& f = dcFont(*t.dc);
    DcState& st = t.dc->st;
    int defTab = 8 * std::max(1, f.aveCharWidth);
    // Tab stops are relative to origin; the text starts at x.
    std::function<int(int)> nextTab = [&](int px) {
        int abs = x + px - origin;
        if (nTabs <= 0 || !tabs) {
            return (abs / defTab + 1) * defTab + origin - x;
        }
        if (nTabs == 1) {
            int step = std::max(1, tabs[0]);
            return (abs / step + 1) * step + origin - x;
        }
        for (int i = 0; i < nTabs; ++i)
            if (tabs[i] > abs)
                return tabs[i] + origin - x;
        return px + 1 > (abs / defTab + 1) * defTab + origin - x ? px + 1 : (abs / defTab + 1) * defTab + origin - x;
    };
    LineMeasure m(f, st.charExtra, nextTab);
    std::string text = cleanUtf8(s ? s : "", n);
    int w = m.width(text);
    if (t.drawable()) {
        POINT p = t.toSurf(x, y);
        if (st.bkMode == OPAQUE)
            paintRect(t, RECT{p.x, p.y, p.x + w, p.y + f.height}, solidPaint(t.color(st.bkColor)), R2_COPYPEN);
        for (const Piece& pc : m.pieces(text))
            drawTextAt(t, f, pc.text, p.x + pc.x, p.y, t.color(st.textColor), st.charExtra, nullptr);
    }
    return MAKELONG(w, f.height);
}
