#include "foundation/TextUtil.h"

#include <sys/stat.h>

namespace pelorin {

std::string ToUpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = ToUpperAscii(c);
    return upper;
}

void AppendPathPart(std::string& path, std::string_view name)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
}

std::string JoinPath(std::string path, std::string_view name)
{
    AppendPathPart(path, name);
    return path;
}

std::string StripExtension(std::string_view name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::string(name);
    return std::string(name.substr(0, dot));
}

std::pair<std::string, std::string> SplitPath(std::string_view path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {std::string(), std::string(path)};
    return {std::string(path.substr(0, slash + 1)), std::string(path.substr(slash + 1))};
}

std::string_view TrimToLetters(std::string_view text)
{
    size_t first = 0;
    while (first < text.size() && !IsAsciiLetter(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && !IsAsciiLetter(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace pelorin
