#include "lexicon/StyleList.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

namespace pelorin {

std::vector<std::string> ListStyleFiles(const std::string& stylesFolder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(stylesFolder, error);
    if (error)
        return names;
    const std::string_view extension = Style::kExtension;
    for (const fs::directory_entry& entry : entries) {
        std::error_code typeError;
        if (!entry.is_regular_file(typeError))
            continue;
        std::string name = entry.path().filename().string();
        if (name.size() >= extension.size() && name.compare(name.size() - extension.size(), extension.size(), extension) == 0)
            names.push_back(std::move(name));
    }
    // The directory's own order differs between file systems and runs; the style
    // remembered in the settings is an index into this list.
    std::sort(names.begin(), names.end());
    return names;
}

void LoadAllStyles(const Dictionary& dictionary, const std::string& stylesFolder, ItemList<Style>& styles)
{
    LoadAllStyles(dictionary, std::span(&stylesFolder, 1), styles);
}

void LoadAllStyles(const Dictionary& dictionary, std::span<const std::string> stylesFolders,
                   ItemList<Style>& styles)
{
    // By file name, each name with the first folder that holds it.
    std::map<std::string, const std::string*> files;
    for (const std::string& folder : stylesFolders) {
        for (std::string& name : ListStyleFiles(folder))
            files.try_emplace(std::move(name), &folder);
    }
    styles.Clear();
    for (const auto& [name, folder] : files) {
        auto style = std::make_unique<Style>(dictionary);
        if (style->LoadFile(*folder, name))
            styles.Add(std::move(style));
    }
}

namespace {

bool SameFile(const std::string& first, const std::string& second)
{
    namespace fs = std::filesystem;
    std::error_code error;
    // Both there: the file system knows, links and all.
    if (fs::exists(first, error) && fs::exists(second, error))
        return fs::equivalent(first, second, error);
    // A style whose file has gone still owns its path.
    const fs::path a = fs::weakly_canonical(first, error);
    if (error)
        return false;
    const fs::path b = fs::weakly_canonical(second, error);
    return !error && a == b;
}

} // namespace

int32_t FindStyleFile(const ItemList<Style>& styles, const std::string& path)
{
    for (int32_t i = 0; i < styles.Count(); ++i) {
        const std::string& file = styles.At(i)->FullPath();
        if (!file.empty() && SameFile(file, path))
            return i;
    }
    return -1;
}

int32_t FindStyleName(const ItemList<Style>& styles, const std::string& path)
{
    const std::string name = StripExtension(SplitPath(path).second);
    for (int32_t i = 0; i < styles.Count(); ++i) {
        const Style& style = *styles.At(i);
        if (!style.FileName().empty() && StripExtension(style.FileName()) == name && !SameFile(style.FullPath(), path))
            return i;
    }
    return -1;
}

bool DeleteStyle(ItemList<Style>& styles, int32_t index)
{
    const Style* style = styles.At(index);
    if (!style)
        return false;
    // A file that stays would bring the style back at the next start: the style
    // stays listed, and the player is told why.
    if (!style->FullPath().empty() && std::remove(style->FullPath().c_str()) != 0 && errno != ENOENT) {
        const int error = errno;
        ShowMessage(Format("Cannot delete the style file %s: %s.", style->FullPath().c_str(),
                           std::generic_category().message(error).c_str()),
                    "Error");
        return false;
    }
    return styles.RemoveAt(index);
}

} // namespace pelorin
