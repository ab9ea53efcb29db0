// The file types of a file dialog: lpstrFilter's NUL-separated pairs of a
// label and its patterns ("图片文件(*.jpg)\0*.jpg;*.png\0"), and Windows
// wildcard matching of file names against them.
#pragma once

#include <string>
#include <vector>

namespace vk::dialogs {

struct FileType {
    std::string label;
    std::vector<std::string> patterns; // "*.jpg", "*.png"
};

// Reads pairs until an empty string (the double NUL). A label without its
// pattern string ends the list. Null gives no types.
std::vector<FileType> parseFilter(const char* filter);

// Windows wildcards: '*' any run, '?' one character, no case for ASCII;
// "*.*" and "*" match every name, also names without a dot.
bool matchesPattern(const std::string& pattern, const std::string& name);
bool matchesAny(const std::vector<std::string>& patterns, const std::string& name);

} // namespace vk::dialogs
