// The Open / Save As dialog window: folders on the left, the files of the
// chosen type on the right, a name field and a type list. It works on host
// paths; the comdlg32 entry points translate to and from Windows paths.
#pragma once

#include "dialogs/file_filter.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vk::dialogs {

struct FileDialogRequest {
    bool save = false;
    HWND owner = nullptr;
    std::string title;
    std::vector<FileType> types;
    size_t typeIndex = 0;   // into types
    std::string folder;     // host folder shown first
    std::string name;       // initial text of the name field
    std::string defaultExt; // without the dot
    DWORD flags = 0;        // OFN_*
};

struct FileDialogChoice {
    std::string path; // host path
    size_t typeIndex = 0;
};

// Runs the dialog modally; nullopt when it was cancelled or could not finish.
std::optional<FileDialogChoice> runFileDialog(const FileDialogRequest& request);

// Lexically tidies a host path: no "." or ".." parts, no doubled slashes.
std::string normalizeHostPath(const std::string& path);

} // namespace vk::dialogs
