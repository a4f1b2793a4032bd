#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelorin {
class Dictionary;
}

namespace pelorin::tool {

/// Loads the root's dictionary for a command. When it does not load, says so on
/// stderr (a file that cannot be opened has already been reported by the loader;
/// a damaged one is silent there) and returns false.
bool LoadDictionaryOrReport(Dictionary& dictionary, const std::string& root, std::string_view command);

/// A word-form code as a word ("plural"), or its number when it has no name.
std::string FormName(int32_t form);

} // namespace pelorin::tool
