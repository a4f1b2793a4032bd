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

/// The style of the list that is saved in the file at `path` (the same file, by
/// whatever path), or -1.
int32_t FindStyleFile(const ItemList<Style>& styles, const std::string& path);

/// A style of the list whose file, though another, has the name that a style saved
/// at `path` would have without its extension (Poems.zas elsewhere, Poems.txt),
/// or -1. Styles are told apart by that name: it names their prepared games.
int32_t FindStyleName(const ItemList<Style>& styles, const std::string& path);

/// Deletes a style's file (a file already gone makes no difference) and removes the
/// style from the list. False, and no change, for an index outside the list, and
/// for a file that cannot be deleted, which is reported (the file and the reason).
/// The style's preparation workers must have stopped before.
bool DeleteStyle(ItemList<Style>& styles, int32_t index);

} // namespace pelorin
