#include "DictionaryLoader.h"

#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"

#include <cstdio>
#include <string>

namespace pelorin::tool {

bool LoadDictionaryOrReport(Dictionary& dictionary, const std::string& root, std::string_view command)
{
    if (dictionary.Load(root))
        return true;
    const std::string& path = dictionary.Path();
    // The loader reports an open failure itself; every other failure it keeps
    // quiet about, so the reason has to be given here.
    const char* reason = FileExists(path) ? ": wrong version or magic, or a damaged or truncated file" : "";
    std::fprintf(stderr, "pelorin-tool %.*s: the dictionary %s did not load%s\n", int(command.size()),
                 command.data(), path.c_str(), reason);
    return false;
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
