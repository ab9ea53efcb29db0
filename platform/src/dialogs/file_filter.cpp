// File types and wildcard matching for the file dialogs.
#include "dialogs/file_filter.h"

#include <cctype>
#include <cstring>

namespace vk::dialogs {

namespace {

std::string trimmed(const std::string& s)
{
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

char folded(char c) { return char(std::tolower(static_cast<unsigned char>(c))); }

bool matchFrom(const char* p, const char* s)
{
    // Iterative with one backtrack point: linear enough for file names and
    // no recursion depth to exhaust on hostile patterns.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*s) {
        if (*p == '*') {
            star = p++;
            resume = s;
        } else if (*p && (*p == '?' || folded(*p) == folded(*s))) {
            ++p;
            ++s;
        } else if (star) {
            p = star + 1;
            s = ++resume;
        } else {
            return false;
        }
    }
    while (*p == '*')
        ++p;
    return !*p;
}

} // namespace

std::vector<FileType> parseFilter(const char* filter)
{
    std::vector<FileType> types;
    if (!filter)
        return types;
    const char* p = filter;
    while (*p) {
        FileType t;
        t.label = p;
        p += std::strlen(p) + 1;
        if (!*p)
            break;
        std::string list = p;
        p += std::strlen(p) + 1;
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find(';', start);
            if (end == std::string::npos)
                end = list.size();
            std::string one = trimmed(list.substr(start, end - start));
            if (!one.empty())
                t.patterns.push_back(one);
            start = end + 1;
        }
        types.push_back(std::move(t));
    }
    return types;
}

bool matchesPattern(const std::string& pattern, const std::string& name)
{
    if (pattern == "*.*" || pattern == "*")
        return true;
    return matchFrom(pattern.c_str(), name.c_str());
}

bool matchesAny(const std::vector<std::string>& patterns, const std::string& name)
{
    for (const std::string& p : patterns)
        if (matchesPattern(p, name))
            return true;
    return false;
}

} // namespace vk::dialogs
