#include "DataLoading.h"

#include "Files.h"
#include "Report.h"

#include "app/AppData.h"
#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace pelorin::tool {

namespace fs = std::filesystem;

bool LoadDictionaryOrReport(Dictionary& dictionary, const std::string& root)
{
    const std::string path = JoinPath(root, Dictionary::kFileName);
    if (!CheckFolder(root) || !CheckReadableFile(path))
        return false;
    if (dictionary.LoadFile(path))
        return true;
    ReportError(path, FormatFault(path, Dictionary::kVersion, Dictionary::kMagic, "dictionary"));
    return false;
}

std::string StylePath(const std::string& root, const std::string& argument)
{
    if (argument.find('/') != std::string::npos)
        return argument;
    std::error_code error;
    const fs::file_status here = fs::status(argument, error);
    if (fs::exists(here) && !fs::is_directory(here))
        return argument;
    const std::string inStyles = JoinPath(JoinPath(root, AppData::kStylesFolder), argument);
    if (argument.ends_with(Style::kExtension) || fs::exists(inStyles, error))
        return inStyles;
    return inStyles + Style::kExtension;
}

bool LoadStyleOrReport(Style& style, const std::string& path)
{
    if (!CheckReadableFile(path))
        return false;
    auto [folder, name] = SplitPath(path);
    // A file of the current folder: the loader joins folder and name with a "/".
    if (folder.empty())
        folder = "./";
    if (style.LoadFile(folder, name))
        return true;
    ReportError(path, FormatFault(path, Style::kVersion, Style::kMagic, "style"));
    return false;
}

std::vector<std::string> StyleFileNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.ends_with(Style::kExtension))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

int32_t LoadStylesOrReport(const Dictionary& dictionary, const std::string& folder, ItemList<Style>& styles)
{
    styles.Clear();
    int32_t failed = 0;
    for (const std::string& name : StyleFileNames(folder)) {
        auto style = std::make_unique<Style>(dictionary);
        if (LoadStyleOrReport(*style, JoinPath(folder, name)))
            styles.Add(std::move(style));
        else
            ++failed;
    }
    return failed;
}

std::string FormName(int32_t form)
{
    switch (form) {
    case kFormPlain:
        return "plain";
    case kFormPlural:
        return "plural";
    case kFormPast:
        return "past";
    case kFormDoing:
        return "doing";
    default:
        return std::to_string(form);
    }
}

} // namespace pelorin::tool
