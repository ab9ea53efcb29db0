// The file dialog window. The user can type a name (with or without a
// folder, with wildcards to filter), pick from the lists, or walk folders;
// OK checks the choice against the flags and may ask before replacing.
#include "dialogs/file_dialog.h"

#include "dialogs/modal_loop.h"
#include "kernel/paths.h"
#include "user/classes.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include <dirent.h>
#include <sys/stat.h>

namespace vk::dialogs {

namespace {

constexpr const char* kClassName = "VkFileDialog";
// The control ids of the classic file dialog.
constexpr int kFolderLabel = 0x440; // stc1: the folder shown
constexpr int kFileList = 0x460;    // lst1
constexpr int kFolderList = 0x461;  // lst2
constexpr int kTypeCombo = 0x470;   // cmb1
constexpr int kNameEdit = 0x480;    // edt1
constexpr int kClientWidth = 480;
constexpr int kClientHeight = 300;

bool isFolder(const std::string& host)
{
    struct stat st;
    return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& host)
{
    struct stat st;
    return stat(host.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string parentOf(const std::string& host)
{
    size_t slash = host.find_last_of('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return host.substr(0, slash);
}

std::string leafOf(const std::string& host)
{
    size_t slash = host.find_last_of('/');
    return slash == std::string::npos ? host : host.substr(slash + 1);
}

std::string joinHost(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool lessNoCase(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; }

struct Dialog {
    const FileDialogRequest* request = nullptr;
    HWND hwnd = nullptr;
    std::string folder;
    size_t typeIndex = 0;
    std::string typedPattern; // wildcards typed into the name field
    std::optional<FileDialogChoice> choice;
    bool finished = false;

    HWND item(int id) const { return GetDlgItem(hwnd, id); }

    std::vector<std::string> patterns() const
    {
        if (!typedPattern.empty())
            return {typedPattern};
        if (typeIndex < request->types.size())
            return request->types[typeIndex].patterns;
        return {"*"};
    }

    void fill()
    {
        std::vector<std::string> folders, files;
        bool hidden = request->flags & OFN_FORCESHOWHIDDEN;
        std::vector<std::string> pats = patterns();
        if (DIR* d = opendir(folder.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name == "." || name == ".." || (!hidden && name[0] == '.'))
                    continue;
                std::string full = joinHost(folder, name);
                if (isFolder(full))
                    folders.push_back(name);
                else if (matchesAny(pats, name))
                    files.push_back(name);
            }
            closedir(d);
        }
        std::sort(folders.begin(), folders.end(), lessNoCase);
        std::sort(files.begin(), files.end(), lessNoCase);
        HWND fl = item(kFolderList), fi = item(kFileList);
        SendMessageA(fl, LB_RESETCONTENT, 0, 0);
        SendMessageA(fi, LB_RESETCONTENT, 0, 0);
        if (folder != "/")
            SendMessageA(fl, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(".."));
        for (const std::string& f : folders)
            SendMessageA(fl, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
        for (const std::string& f : files)
            SendMessageA(fi, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
        SetDlgItemTextA(hwnd, kFolderLabel, kernel::toWindowsPath(folder.c_str()).c_str());
    }

    void enter(const std::string& host)
    {
        folder = normalizeHostPath(host);
        fill();
    }

    std::string listText(int id) const
    {
        HWND list = item(id);
        LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (sel < 0)
            return {};
        LRESULT len = SendMessageA(list, LB_GETTEXTLEN, WPARAM(sel), 0);
        if (len < 0)
            return {};
        std::string s(size_t(len) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(&s[0]));
        s.resize(std::strlen(s.c_str()));
        return s;
    }

    void enterSelectedFolder()
    {
        std::string name = listText(kFolderList);
        if (name == "..")
            enter(parentOf(folder));
        else if (!name.empty())
            enter(joinHost(folder, name));
    }

    // The host path a typed name means: absolute in either form, or taken
    // from the folder shown.
    std::string resolve(const std::string& typed) const
    {
        bool windowsAbsolute = typed.size() > 1 && typed[1] == ':';
        if (windowsAbsolute || typed[0] == '\\')
            return normalizeHostPath(kernel::toHostPath(typed.c_str()));
        std::string rel = typed;
        std::replace(rel.begin(), rel.end(), '\\', '/');
        return normalizeHostPath(rel[0] == '/' ? rel : joinHost(folder, rel));
    }

    int ask(const std::string& text, UINT type) const
    {
        return MessageBoxA(hwnd, text.c_str(), request->title.c_str(), type);
    }

    void accept(std::string typed)
    {
        size_t a = typed.find_first_not_of(' '), b = typed.find_last_not_of(' ');
        typed = a == std::string::npos ? std::string() : typed.substr(a, b - a + 1);
        if (typed.empty())
            return;
        std::string path = resolve(typed);
        if (typed.find_first_of("*?") != std::string::npos) {
            typedPattern = leafOf(path);
            enter(parentOf(path));
            return;
        }
        if (isFolder(path)) {
            SetDlgItemTextA(hwnd, kNameEdit, "");
            enter(path);
            return;
        }
        std::string leaf = leafOf(path);
        if (leaf.find('.') == std::string::npos && !request->defaultExt.empty())
            path += "." + request->defaultExt;
        leaf = leafOf(path);
        std::string shown = kernel::toWindowsPath(path.c_str());
        if (!isFolder(parentOf(path))) {
            ask(shown + "\n找不到该路径。请检查路径是否正确。", MB_OK | MB_ICONWARNING);
            return;
        }
        bool exists = isFile(path);
        DWORD flags = request->flags;
        if (!request->save && (flags & OFN_FILEMUSTEXIST) && !exists) {
            ask(leaf + "\n找不到文件。请检查文件名是否正确。", MB_OK | MB_ICONWARNING);
            return;
        }
        if (request->save && (flags & OFN_OVERWRITEPROMPT) && exists &&
            ask(leaf + " 已存在。\n要替换它吗？", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return;
        if ((flags & OFN_CREATEPROMPT) && !exists &&
            ask(leaf + " 不存在。\n要创建该文件吗？", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        choice = FileDialogChoice{path, typeIndex};
        finished = true;
    }

    void onOk()
    {
        HWND focus = GetFocus();
        if (focus == item(kFolderList) && !listText(kFolderList).empty()) {
            enterSelectedFolder();
            return;
        }
        char buf[4096] = {};
        GetDlgItemTextA(hwnd, kNameEdit, buf, sizeof buf);
        std::string typed = buf;
        if (typed.find_first_not_of(' ') == std::string::npos)
            typed = listText(kFileList);
        accept(typed);
    }

    void onCommand(int id, int code)
    {
        switch (id) {
        case IDOK:
            if (code == BN_CLICKED)
                onOk();
            break;
        case IDCANCEL:
            if (code == BN_CLICKED)
                finished = true;
            break;
        case kFolderList:
            if (code == LBN_DBLCLK)
                enterSelectedFolder();
            break;
        case kFileList:
            if (code == LBN_SELCHANGE)
                SetDlgItemTextA(hwnd, kNameEdit, listText(kFileList).c_str());
            else if (code == LBN_DBLCLK)
                accept(listText(kFileList));
            break;
        case kTypeCombo:
            if (code == CBN_SELCHANGE) {
                LRESULT sel = SendMessageA(item(kTypeCombo), CB_GETCURSEL, 0, 0);
                if (sel >= 0) {
                    typeIndex = size_t(sel);
                    typedPattern.clear();
                    fill();
                }
            }
            break;
        default:
            break;
        }
    }
};

Dialog* dialogOf(HWND hwnd) { return reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

LRESULT CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Dialog* d = dialogOf(hwnd);
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
        break;
    case DM_GETDEFID:
        return MAKELONG(IDOK, DC_HASDEFID);
    case WM_COMMAND:
        if (d)
            d->onCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_CLOSE:
        if (d)
            d->finished = true;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void registerDialogClass()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = dialogProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kClassName;
    vk::user::registerSystemClass(wc);
}

struct Install {
    Install() { vk::user::systemClassRegistrars().push_back(registerDialogClass); }
} g_install;

HWND addControl(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                DWORD exStyle = 0)
{
    HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
}

void buildControls(Dialog& d)
{
    HWND h = d.hwnd;
    bool save = d.request->save;
    // Created in tab order.
    addControl(h, "Static", save ? "保存在:" : "查找范围:", SS_LEFT, 10, 12, 70, 16, -1);
    addControl(h, "Static", "", SS_LEFT | SS_PATHELLIPSIS, 85, 12, 385, 16, kFolderLabel);
    addControl(h, "Static", "文件夹(&D):", SS_LEFT, 10, 36, 180, 16, -1);
    addControl(h, "ListBox", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 10, 54, 180, 166,
               kFolderList, WS_EX_CLIENTEDGE);
    addControl(h, "Static", "文件(&F):", SS_LEFT, 200, 36, 270, 16, -1);
    addControl(h, "ListBox", "", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 200, 54, 270, 166,
               kFileList, WS_EX_CLIENTEDGE);
    addControl(h, "Static", "文件名(&N):", SS_LEFT, 10, 235, 80, 16, -1);
    addControl(h, "Edit", d.request->name.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, 95, 231, 270, 22, kNameEdit,
               WS_EX_CLIENTEDGE);
    addControl(h, "Static", save ? "保存类型(&T):" : "文件类型(&T):", SS_LEFT, 10, 267, 80, 16, -1);
    HWND combo = addControl(h, "ComboBox", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 95, 263, 270, 150,
                            kTypeCombo);
    addControl(h, "BUTTON", save ? "保存(&S)" : "打开(&O)", WS_TABSTOP | BS_DEFPUSHBUTTON, 375, 230, 95, 24, IDOK);
    addControl(h, "BUTTON", "取消", WS_TABSTOP | BS_PUSHBUTTON, 375, 262, 95, 24, IDCANCEL);

    for (const FileType& t : d.request->types)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.label.c_str()));
    if (d.request->types.empty())
        EnableWindow(combo, FALSE);
    else
        SendMessageA(combo, CB_SETCURSEL, WPARAM(d.typeIndex), 0);
}

} // namespace

std::string normalizeHostPath(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

std::optional<FileDialogChoice> runFileDialog(const FileDialogRequest& request)
{
    Dialog d;
    d.request = &request;
    d.folder = normalizeHostPath(request.folder);
    d.typeIndex = request.typeIndex;

    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    int w = frame.right - frame.left, h = frame.bottom - frame.top;
    POINT at = centredPosition(request.owner, w, h);

    DisabledOwners disabled(request.owner, false);
    d.hwnd = CreateWindowExA(exStyle, kClassName, request.title.c_str(), style, at.x, at.y, w, h, request.owner,
                             nullptr, nullptr, &d);
    if (!d.hwnd)
        return std::nullopt;
    buildControls(d);
    d.fill();
    ShowWindow(d.hwnd, SW_SHOW);
    HWND edit = GetDlgItem(d.hwnd, kNameEdit);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);

    runModalLoop(d.hwnd, [&] { return d.finished; });

    disabled.enableNow();
    if (IsWindow(d.hwnd))
        DestroyWindow(d.hwnd);
    if (request.owner && IsWindow(request.owner) && IsWindowVisible(request.owner))
        SetActiveWindow(request.owner);
    return d.choice;
}

} // namespace vk::dialogs
