#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace pelorin {

/// Only ASCII A-Z and a-z are letters; every byte from 0x80 up is not.
inline bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool IsUpperLetter(char c)
{
    return c >= 'A' && c <= 'Z';
}
/// a-z become A-Z; every other byte stays as it is.
inline char ToUpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string ToUpperAscii(std::string_view text);

/// Appends "/" to the path unless it already ends with one, then the name.
void AppendPathPart(std::string& path, std::string_view name);
/// The path joined with a name by AppendPathPart.
std::string JoinPath(std::string path, std::string_view name);

/// Cuts a file name at its last '.', unless that '.' is its first character.
std::string StripExtension(std::string_view name);

/// Splits a path at its last "/" into the folder (with that "/") and the file
/// name; a path without "/" is all file name.
std::pair<std::string, std::string> SplitPath(std::string_view path);

/// The text with leading and trailing characters that are not ASCII letters cut
/// off; a view into the text, empty when it holds no letter.
std::string_view TrimToLetters(std::string_view text);

/// Calls `visit` with each token of a text split at spaces (only); empty tokens
/// are skipped.
template <typename Visit>
void ForEachToken(std::string_view text, Visit&& visit)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            visit(text.substr(start, end - start));
        start = end + 1;
    }
}

/// Calls `visit(word, position)` with each run of ASCII letters of a text, in order;
/// `visit` returns true to go on and false to stop, and so does the call.
template <typename Visit>
bool ForEachLetterRun(std::string_view text, Visit&& visit)
{
    for (size_t at = 0; at < text.size();) {
        if (!IsAsciiLetter(text[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && IsAsciiLetter(text[end]))
            ++end;
        if (!visit(text.substr(at, end - at), at))
            return false;
        at = end;
    }
    return true;
}

/// True when a file (not a folder) of that path exists.
bool FileExists(const std::string& path);

} // namespace pelorin
