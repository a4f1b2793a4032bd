#include "Command.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cstdio>
#include <mutex>

namespace pelorin::tool {

namespace {

std::map<std::string_view, const Command*>& Registry()
{
    static std::map<std::string_view, const Command*> commands;
    return commands;
}

// Prints messages as "caption: text"; several workers may report at once.
class StderrNotifier final : public Notifier {
public:
    void ShowMessage(std::string_view text, std::string_view caption) override
    {
        std::lock_guard lock(mutex_);
        if (caption.empty())
            std::fprintf(stderr, "%.*s\n", int(text.size()), text.data());
        else
            std::fprintf(stderr, "%.*s: %.*s\n", int(caption.size()), caption.data(), int(text.size()),
                         text.data());
    }
    void SetStatusText(std::string_view text) override
    {
        if (text.empty())
            return;
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "%.*s\n", int(text.size()), text.data());
    }

private:
    std::mutex mutex_;
};

StderrNotifier stderrNotifier;

} // namespace

std::string Printable(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            shown += lead == '\t' || (lead >= 0x20 && lead != 0x7f) ? static_cast<char>(lead) : '?';
            ++i;
            continue;
        }
        // A whole UTF-8 sequence passes, unless it is one of the C1 controls
        // U+0080 to U+009F, which some terminals obey as escapes.
        const size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 ? 2 : 0;
        bool whole = length > 0 && lead < 0xf5 && i + length <= text.size();
        for (size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
        if (!whole) {
            shown += '?';
            ++i;
            continue;
        }
        const bool control = lead == 0xc2 && static_cast<unsigned char>(text[i + 1]) < 0xa0;
        shown.append(control ? std::string_view("?") : text.substr(i, length));
        i += length;
    }
    return shown;
}

Command::Command(const char* commandName, const char* commandUsage, Run runCommand)
    : name(commandName), usage(commandUsage), run(runCommand)
{
    Registry()[name] = this;
}

const std::map<std::string_view, const Command*>& Commands()
{
    return Registry();
}

int UsageError(std::string_view command, std::string_view reason)
{
    if (!reason.empty())
        std::fprintf(stderr, "pelorin-tool: %.*s\n", int(reason.size()), reason.data());
    const auto found = Registry().find(command);
    if (found != Registry().end())
        std::fprintf(stderr, "usage: pelorin-tool %s %s\n", found->second->name, found->second->usage);
    return kUsageExit;
}

std::optional<Options> Options::Parse(std::span<const std::string> args,
                                      std::initializer_list<std::string_view> valued,
                                      std::initializer_list<std::string_view> flags, std::string& error)
{
    auto contains = [](std::initializer_list<std::string_view> names, std::string_view name) {
        for (std::string_view n : names)
            if (n == name)
                return true;
        return false;
    };
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            options.operands_.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        if (contains(flags, name)) {
            options.values_[name] = "";
        } else if (contains(valued, name)) {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return std::nullopt;
            }
            options.values_[name] = args[++i];
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    return options;
}

const std::string* Options::Value(std::string_view name) const
{
    const auto found = values_.find(std::string(name));
    return found == values_.end() ? nullptr : &found->second;
}

bool Options::Integer(std::string_view name, long long& value, long long low, long long high) const
{
    const std::string* text = Value(name);
    if (!text)
        return false;
    long long parsed = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), parsed);
    if (error != std::errc() || end != text->data() + text->size() || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

std::optional<Options> ParseWithRoot(std::string_view command, std::span<const std::string> args,
                                     std::initializer_list<std::string_view> valued,
                                     std::initializer_list<std::string_view> flags)
{
    assert(std::find(valued.begin(), valued.end(), "root") != valued.end() && "the command must take --root");
    std::string error;
    auto options = Options::Parse(args, valued, flags, error);
    if (!options) {
        UsageError(command, error);
        return std::nullopt;
    }
    const std::string* root = options->Value("root");
    if (!root || root->empty()) {
        UsageError(command, std::string(command) + " needs --root DIR");
        return std::nullopt;
    }
    return options;
}

std::pair<std::string, std::string> StyleFileLocation(const std::string& root, const std::string& argument)
{
    if (!argument.empty() && argument.front() == '/')
        return SplitPath(argument);
    // A bare name gets the styles folder as its folder: SplitPath would give it an
    // empty one, and joining an empty folder with a name makes a path from "/".
    if (argument.find('/') == std::string::npos)
        return {JoinPath(root, "Styles"), argument};
    return SplitPath(JoinPath(root, argument));
}

StderrNotifierScope::StderrNotifierScope()
{
    SetNotifier(&stderrNotifier);
}

StderrNotifierScope::~StderrNotifierScope()
{
    SetNotifier(nullptr);
}

} // namespace pelorin::tool
