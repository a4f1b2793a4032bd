#pragma once

#include "foundation/ItemList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin {
class Dictionary;
class Style;
} // namespace pelorin

namespace pelorin::tool {

/// Loads the root's dictionary for a command; when it does not load, reports the
/// root or the file and why, and returns false.
bool LoadDictionaryOrReport(Dictionary& dictionary, const std::string& root);

/// The style file a command's argument names. A path means what the shell means:
/// it is relative to the current folder. A bare name (no "/") that is no file here
/// is a style of ROOT/Styles, where the game keeps them, and may leave out its
/// ".zas": "Quotations" is ROOT/Styles/Quotations.zas.
std::string StylePath(const std::string& root, const std::string& argument);

/// Loads a style file; when it does not load, reports the file and why, and
/// returns false.
bool LoadStyleOrReport(Style& style, const std::string& path);

/// The names of a folder's entries named *.zas, sorted as the game lists its
/// styles; not only the regular files the game takes, since a folder or a pipe of
/// that name is what a user wants to hear of.
std::vector<std::string> StyleFileNames(const std::string& folder);

/// Loads every *.zas file of a folder that loads, in the order the game lists
/// them, and reports each one that does not: a damaged style, a file of another
/// kind, a folder. Returns how many did not load.
int32_t LoadStylesOrReport(const Dictionary& dictionary, const std::string& folder, ItemList<Style>& styles);

/// A word-form code as a word ("plural"), or its number when it has no name.
std::string FormName(int32_t form);

} // namespace pelorin::tool
