#include "app/gallery/controls_gallery.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace velkaro::gallery {

namespace {

enum : int {
    kFirstId = 100,
    kOwnerDrawId = 120,
    kProgressId = 140,
    kTrackId = 141,
};

HWND add(HWND parent, DWORD exStyle, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
         int id = 0)
{
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
}

void fillList(HWND list, UINT message, int count, const char* pattern)
{
    char text[64];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(text, sizeof text, pattern, i);
        SendMessageA(list, message, 0, reinterpret_cast<LPARAM>(text));
    }
}

void addListView(HWND p)
{
    HWND lv = add(p, WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", LVS_REPORT | WS_TABSTOP, 250, 300, 250, 120);
    const char* columns[] = {"名称", "大小", "类型"};
    const int widths[] = {100, 60, 70};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        col.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        col.cx = widths[i];
        col.pszText = const_cast<char*>(columns[i]);
        col.iSubItem = i;
        SendMessageA(lv, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
    const char* names[] = {"相框一.png", "风景.jpg", "旧照片.bmp", "雪景.jpg", "portrait.png", "travel.jpg"};
    for (int i = 0; i < 6; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char*>(names[i]);
        SendMessageA(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        char size[16];
        std::snprintf(size, sizeof size, "%d KB", 12 * (i + 1));
        item.iSubItem = 1;
        item.pszText = size;
        SendMessageA(lv, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 2;
        item.pszText = const_cast<char*>(i % 2 ? "JPEG 图像" : "PNG 图像");
        SendMessageA(lv, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}

HTREEITEM insertTreeItem(HWND tv, HTREEITEM parent, const char* text)
{
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageA(tv, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

void addTreeView(HWND p)
{
    HWND tv = add(p, WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | WS_TABSTOP,
                  510, 300, 170, 120);
    HTREEITEM root = insertTreeItem(tv, TVI_ROOT, "我的相框");
    HTREEITEM wood = insertTreeItem(tv, root, "木质");
    insertTreeItem(tv, wood, "胡桃木.png");
    insertTreeItem(tv, wood, "橡木.png");
    HTREEITEM metal = insertTreeItem(tv, root, "金属");
    insertTreeItem(tv, metal, "银色.png");
    insertTreeItem(tv, TVI_ROOT, "最近使用");
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(wood));
}

void addToolbar(HWND p)
{
    HWND tb = add(p, 0, TOOLBARCLASSNAMEA, "", TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER | CCS_TOP | TBSTYLE_TOOLTIPS,
                  0, 0, 0, 0);
    SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const char* labels[] = {"打开", "保存", "粗体", "居中"};
    TBBUTTON buttons[5]{};
    int k = 0;
    for (int i = 0; i < 4; ++i) {
        if (i == 2)
            buttons[k++] = TBBUTTON{0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0};
        // TB_ADDSTRING takes a list of strings ended by an empty one.
        std::string list = std::string(labels[i]) + '\0';
        int string = int(SendMessageA(tb, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list.c_str())));
        BYTE style = BYTE(i == 2 ? BTNS_CHECK : BTNS_BUTTON);
        buttons[k++] = TBBUTTON{I_IMAGENONE, 200 + i, TBSTATE_ENABLED, style, {}, 0, INT_PTR(string)};
        if (k == 5)
            break;
    }
    SendMessageA(tb, TB_ADDBUTTONSA, k, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(tb, TB_AUTOSIZE, 0, 0);
}

} // namespace

void addGalleryControls(HWND p)
{
    int id = kFirstId;
    // Buttons of every type.
    add(p, 0, "BUTTON", "按钮", WS_TABSTOP | BS_PUSHBUTTON, 10, 40, 80, 26, id++);
    add(p, 0, "BUTTON", "默认按钮", WS_TABSTOP | BS_DEFPUSHBUTTON, 100, 40, 80, 26, id++);
    HWND disabled = add(p, 0, "BUTTON", "不可用", WS_TABSTOP | BS_PUSHBUTTON, 190, 40, 80, 26, id++);
    EnableWindow(disabled, FALSE);
    HWND check = add(p, 0, "BUTTON", "复选框", WS_TABSTOP | BS_AUTOCHECKBOX, 10, 76, 90, 18, id++);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    HWND tri = add(p, 0, "BUTTON", "三态", WS_TABSTOP | BS_AUTO3STATE, 110, 76, 70, 18, id++);
    SendMessageA(tri, BM_SETCHECK, BST_INDETERMINATE, 0);
    HWND radio = add(p, 0, "BUTTON", "单选一", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 10, 100, 80, 18, id++);
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    add(p, 0, "BUTTON", "单选二", BS_AUTORADIOBUTTON, 100, 100, 80, 18, id++);
    add(p, 0, "BUTTON", "分组框", BS_GROUPBOX | WS_GROUP, 190, 70, 80, 52, id++);
    add(p, 0, "BUTTON", "自绘", BS_OWNERDRAW | WS_TABSTOP, 10, 270, 80, 24, kOwnerDrawId);

    // Statics.
    add(p, 0, "Static", "静态文本（左对齐）", SS_LEFT, 10, 130, 130, 16, id++);
    add(p, 0, "Static", "居中", SS_CENTER | SS_SUNKEN, 150, 130, 60, 16, id++);
    HWND icon = add(p, 0, "Static", "", SS_ICON, 230, 126, 32, 32, id++);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_APPLICATION)), 0);

    // Edits.
    add(p, WS_EX_CLIENTEDGE, "Edit", "单行文字", WS_TABSTOP | ES_AUTOHSCROLL, 10, 164, 160, 22, id++);
    add(p, WS_EX_CLIENTEDGE, "Edit", "secret", WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, 180, 164, 90, 22, id++);
    add(p, WS_EX_CLIENTEDGE, "Edit", "多行文字\r\n第二行\r\n第三行\r\n第四行\r\n第五行\r\n第六行",
        WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 10, 194, 260, 70, id++);

    // Combo boxes of the three kinds and a list box.
    HWND drop = add(p, 0, "ComboBox", "", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, 290, 40, 140, 200, id++);
    fillList(drop, CB_ADDSTRING, 6, "颜色选择%d");
    SetWindowTextA(drop, "请选择！");
    HWND edit = add(p, 0, "ComboBox", "", WS_TABSTOP | CBS_DROPDOWN | WS_VSCROLL, 290, 70, 140, 200, id++);
    fillList(edit, CB_ADDSTRING, 5, "可编辑项 %d");
    SendMessageA(edit, CB_SETCURSEL, 1, 0);
    HWND simple = add(p, 0, "ComboBox", "", WS_TABSTOP | CBS_SIMPLE, 290, 100, 140, 90, id++);
    fillList(simple, CB_ADDSTRING, 8, "简单项 %d");
    HWND list = add(p, WS_EX_CLIENTEDGE, "ListBox", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY, 290, 196, 140, 68, id++);
    fillList(list, LB_ADDSTRING, 12, "列表项 %d");
    SendMessageA(list, LB_SETCURSEL, 2, 0);

    // Bars and up-down.
    HWND track = add(p, 0, TRACKBAR_CLASSA, "", WS_TABSTOP | TBS_AUTOTICKS, 450, 40, 220, 32, kTrackId);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageA(track, TBM_SETPOS, TRUE, 6);
    HWND progress = add(p, 0, PROGRESS_CLASSA, "", 0, 450, 80, 220, 18, kProgressId);
    SendMessageA(progress, PBM_SETPOS, 65, 0);
    HWND vertical = add(p, 0, PROGRESS_CLASSA, "", PBS_VERTICAL, 680, 40, 18, 120, id++);
    SendMessageA(vertical, PBM_SETPOS, 40, 0);
    HWND buddy = add(p, WS_EX_CLIENTEDGE, "Edit", "5", WS_TABSTOP | ES_NUMBER, 450, 108, 60, 22, id++);
    HWND updown = add(p, 0, UPDOWN_CLASSA, "", UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 0, id++);
    SendMessageA(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageA(updown, UDM_SETRANGE32, 0, 99);
    SendMessageA(updown, UDM_SETPOS32, 0, 5);
    add(p, 0, UPDOWN_CLASSA, "", UDS_HORZ, 530, 108, 40, 22, id++);

    // Pickers.
    add(p, 0, WC_IPADDRESSA, "", WS_TABSTOP, 450, 140, 140, 22, id++);
    SendMessageA(GetDlgItem(p, id - 1), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 20));
    add(p, 0, DATETIMEPICK_CLASSA, "", WS_TABSTOP | DTS_SHORTDATEFORMAT, 450, 170, 140, 22, id++);
    add(p, 0, DATETIMEPICK_CLASSA, "", WS_TABSTOP | DTS_TIMEFORMAT, 600, 170, 100, 22, id++);

    // A header on its own, a list view, a tree view and a scroll bar control.
    HWND header = add(p, 0, WC_HEADERA, "", HDS_BUTTONS, 450, 206, 250, 22, id++);
    const char* headings[] = {"列一", "列二", "列三"};
    for (int i = 0; i < 3; ++i) {
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = 80;
        item.fmt = HDF_LEFT | HDF_STRING;
        item.pszText = const_cast<char*>(headings[i]);
        SendMessageA(header, HDM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    HWND bar = add(p, 0, "ScrollBar", "", SBS_HORZ, 450, 240, 250, 17, id++);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 20, 30, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    addListView(p);
    addTreeView(p);
    HWND lb2 = add(p, WS_EX_CLIENTEDGE, "ListBox", "", LBS_MULTIPLESEL | WS_VSCROLL, 10, 300, 230, 120, id++);
    fillList(lb2, LB_ADDSTRING, 20, "多选列表项 %d");
    SendMessageA(lb2, LB_SETSEL, TRUE, 1);
    SendMessageA(lb2, LB_SETSEL, TRUE, 3);
    addToolbar(p);
}

namespace {

LRESULT CALLBACK galleryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        addGalleryControls(hwnd);
        return 0;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (!item || item->CtlID != UINT(kOwnerDrawId))
            break;
        bool pressed = item->itemState & ODS_SELECTED;
        HBRUSH brush = CreateSolidBrush(pressed ? RGB(60, 110, 190) : RGB(120, 170, 230));
        FillRect(item->hDC, &item->rcItem, brush);
        DeleteObject(brush);
        RECT r = item->rcItem;
        SetBkMode(item->hDC, TRANSPARENT);
        SetTextColor(item->hDC, RGB(255, 255, 255));
        DrawTextA(item->hDC, "自绘", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (item->itemState & ODS_FOCUS)
            DrawFocusRect(item->hDC, &r);
        return TRUE;
    }
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lp) == GetDlgItem(hwnd, kTrackId)) {
            LRESULT pos = SendMessageA(reinterpret_cast<HWND>(lp), TBM_GETPOS, 0, 0);
            SendMessageA(GetDlgItem(hwnd, kProgressId), PBM_SETPOS, WPARAM(pos * 10), 0);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

HWND createControlsGallery()
{
    static bool registered = false;
    if (!registered) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = galleryProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kGalleryClass;
        registered = RegisterClassExA(&wc) != 0;
    }
    return CreateWindowExA(0, kGalleryClass, "Velkaro 控件一览", WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 720, 470, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

} // namespace velkaro::gallery
