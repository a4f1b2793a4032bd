#pragma once

#include "foundation/ItemList.h"
#include "lexicon/Style.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pelorin {

class Dictionary;

/// The *.zas files of a folder, sorted by file name.
std::vector<std::string> ListStyleFiles(const std::string& stylesFolder);

/// Replaces the styles of a list with every style file of a folder that loads, in
/// the order of their file names, so that a remembered style index stays valid.
void LoadAllStyles(const Dictionary& dictionary, const std::string& stylesFolder, ItemList<Style>& styles);
/// The same over several folders, as one list in the order of the file names; a
/// name in an earlier folder hides the same name in the later ones.
void LoadAllStyles(const Dictionary& dictionary, std::span<const std::string> stylesFolders,
                   ItemList<Style>& styles);

/// Deletes a style's file (a file already gone makes no difference) and removes the
/// style from the list. False, and no change, for an index outside the list. The
/// style's preparation workers must have stopped before.
bool DeleteStyle(ItemList<Style>& styles, int32_t index);

} // namespace pelorin
