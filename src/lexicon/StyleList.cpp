#include "lexicon/StyleList.h"

#include <algorithm>
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

bool DeleteStyle(ItemList<Style>& styles, int32_t index)
{
    const Style* style = styles.At(index);
    if (!style)
        return false;
    if (!style->FullPath().empty())
        std::remove(style->FullPath().c_str());
    return styles.RemoveAt(index);
}

} // namespace pelorin
