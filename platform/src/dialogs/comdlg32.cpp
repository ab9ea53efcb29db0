// comdlg32's file dialog entry points: check the OPENFILENAMEA, start the
// dialog where the caller asked, and write the choice back in the caller's
// buffers (Windows path, offsets of name and extension, chosen type).
#include "core/last_error.h"
#include "core/modules.h"
#include "dialogs/file_dialog.h"
#include "kernel/paths.h"
#include "testing/records.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

// The extended error of the thread's last common dialog call.
thread_local DWORD t_extendedError = 0;

BOOL refuse(DWORD extended)
{
    t_extendedError = extended;
    vk::fail(ERROR_INVALID_PARAMETER);
    return FALSE;
}

bool isWindowsPath(const std::string& s) { return (s.size() > 1 && s[1] == ':') || (!s.empty() && s[0] == '\\'); }

std::string boundedString(const char* s, size_t max)
{
    return s ? std::string(s, strnlen(s, max)) : std::string();
}

BOOL writeChoice(OPENFILENAMEA& ofn, const std::string& path, const char* defaultExt)
{
    size_t need = path.size() + 1;
    if (need > ofn.nMaxFile) {
        // The first two bytes tell the caller how large the buffer must be.
        if (ofn.nMaxFile >= sizeof(WORD)) {
            WORD size = WORD(std::min<size_t>(need, 0xFFFF));
            std::memcpy(ofn.lpstrFile, &size, sizeof size);
        }
        return refuse(FNERR_BUFFERTOOSMALL);
    }
    std::memcpy(ofn.lpstrFile, path.c_str(), need);
    size_t sep = path.find_last_of("\\/");
    size_t nameAt = sep == std::string::npos ? 0 : sep + 1;
    size_t dot = path.find_last_of('.');
    ofn.nFileOffset = WORD(nameAt);
    if (dot == std::string::npos || dot < nameAt)
        ofn.nFileExtension = WORD(path.size()); // no extension: the terminating NUL
    else if (dot + 1 == path.size())
        ofn.nFileExtension = 0; // a name that ends in a dot
    else
        ofn.nFileExtension = WORD(dot + 1);
    if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
        std::string title = path.substr(nameAt).substr(0, ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, title.c_str(), title.size() + 1);
    }
    ofn.Flags &= ~DWORD(OFN_READONLY | OFN_EXTENSIONDIFFERENT);
    if (defaultExt && *defaultExt && ofn.nFileExtension &&
        strcasecmp(path.c_str() + ofn.nFileExtension, defaultExt) != 0)
        ofn.Flags |= OFN_EXTENSIONDIFFERENT;
    return TRUE;
}

BOOL runFileDialog(LPOPENFILENAMEA ofn, bool save)
{
    t_extendedError = 0;
    if (!ofn)
        return refuse(CDERR_INITIALIZATION);
    if (ofn->lStructSize != sizeof(OPENFILENAMEA) && ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A)
        return refuse(CDERR_STRUCTSIZE);
    if (!ofn->lpstrFile || ofn->nMaxFile == 0)
        return refuse(CDERR_INITIALIZATION);
    if (ofn->hwndOwner && !IsWindow(ofn->hwndOwner))
        return refuse(CDERR_DIALOGFAILURE);
    if ((ofn->Flags & OFN_ENABLEHOOK) && !ofn->lpfnHook)
        return refuse(CDERR_NOHOOK);
    if ((ofn->Flags & OFN_ENABLETEMPLATE) && !ofn->lpTemplateName)
        return refuse(CDERR_NOTEMPLATE);

    std::optional<std::string> answer;
    if (vk::records::takeFileDialogAnswer(answer)) {
        if (!answer)
            return FALSE;
        std::string path = isWindowsPath(*answer) ? *answer : vk::kernel::toWindowsPath(answer->c_str());
        return writeChoice(*ofn, path, ofn->lpstrDefExt);
    }

    vk::dialogs::FileDialogRequest req;
    req.save = save;
    req.owner = ofn->hwndOwner ? GetAncestor(ofn->hwndOwner, GA_ROOT) : nullptr;
    req.title = ofn->lpstrTitle ? ofn->lpstrTitle : (save ? "另存为" : "打开");
    req.types = vk::dialogs::parseFilter(ofn->lpstrFilter);
    if (ofn->nFilterIndex >= 1 && ofn->nFilterIndex <= req.types.size())
        req.typeIndex = ofn->nFilterIndex - 1;
    req.defaultExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    if (!req.defaultExt.empty() && req.defaultExt[0] == '.')
        req.defaultExt.erase(0, 1);
    req.flags = ofn->Flags;

    // A folder in lpstrFile wins over lpstrInitialDir, which wins over the
    // current directory.
    std::string initial = boundedString(ofn->lpstrFile, ofn->nMaxFile);
    size_t sep = initial.find_last_of("\\/");
    std::string folder;
    if (sep != std::string::npos) {
        std::string host = vk::kernel::toHostPath(initial.substr(0, sep + 1).c_str());
        if (!host.empty()) {
            folder = host;
            initial = initial.substr(sep + 1);
        }
    }
    if (folder.empty() && ofn->lpstrInitialDir && *ofn->lpstrInitialDir)
        folder = vk::kernel::toHostPath(ofn->lpstrInitialDir);
    if (folder.empty())
        folder = vk::kernel::toHostPath(".");
    req.folder = folder;
    req.name = initial;

    std::optional<vk::dialogs::FileDialogChoice> choice = vk::dialogs::runFileDialog(req);
    if (!choice)
        return FALSE;
    std::string path = vk::kernel::toWindowsPath(choice->path.c_str());
    if (!writeChoice(*ofn, path, req.defaultExt.c_str()))
        return FALSE;
    if (!req.types.empty())
        ofn->nFilterIndex = DWORD(choice->typeIndex + 1);
    if (!(ofn->Flags & OFN_NOCHANGEDIR)) {
        std::string dir = path.substr(0, ofn->nFileOffset);
        SetCurrentDirectoryA(dir.c_str());
    }
    return TRUE;
}

} // namespace

extern "C" {

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) { return runFileDialog(ofn, false); }

BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn) { return runFileDialog(ofn, true); }

DWORD WINAPI CommDlgExtendedError(void) { return t_extendedError; }

} // extern "C"

namespace {
struct Comdlg32Setup {
    Comdlg32Setup()
    {
        static const vk::ModuleExport exports[] = {
            {"GetOpenFileNameA", vk::exportProc(&GetOpenFileNameA)},
            {"GetSaveFileNameA", vk::exportProc(&GetSaveFileNameA)},
            {"CommDlgExtendedError", vk::exportProc(&CommDlgExtendedError)},
        };
        vk::registerModuleExports("comdlg32.dll", exports, sizeof exports / sizeof exports[0]);
    }
} g_comdlg32Setup;
} // namespace
