#include "Command.h"

#include "Report.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace pelorin::tool {

namespace {

std::map<std::string_view, const Command*>& Registry()
{
    static std::map<std::string_view, const Command*> commands;
    return commands;
}

bool Contains(std::span<const std::string_view> names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool TakesRoot(const Command& command)
{
    return Contains(command.valued, "root");
}

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

Command::Command(const char* commandName, const char* commandUsage, const char* commandAbout,
                 std::initializer_list<std::string_view> valuedOptions,
                 std::initializer_list<std::string_view> flagOptions, Run runCommand)
    : name(commandName), usage(commandUsage), about(commandAbout), valued(valuedOptions), flags(flagOptions),
      run(runCommand)
{
    Registry()[name] = this;
}

const std::map<std::string_view, const Command*>& Commands()
{
    return Registry();
}

int UsageError(std::string_view command, std::string_view reason)
{
    if (!reason.empty()) {
        const std::string shown = Printable(reason);
        std::fprintf(stderr, "pelorin-tool: %s\n", shown.c_str());
    }
    const auto found = Registry().find(command);
    if (found != Registry().end())
        std::fprintf(stderr, "usage: pelorin-tool %s %s\n", found->second->name, found->second->usage);
    return kUsageExit;
}

void PrintHelp(const Command& command, std::FILE* out)
{
    std::fprintf(out, "usage: pelorin-tool %s %s\n\n%s\n", command.name, command.usage, command.about);
}

int RunCommand(const Command& command, std::span<const std::string> args)
{
    std::string error;
    const auto options = Options::Parse(args, command.valued, command.flags, error);
    if (!options)
        return UsageError(command.name, error);
    if (options->HelpAsked()) {
        PrintHelp(command, stdout);
        return FinishOutput();
    }
    if (TakesRoot(command) && options->ValueOr("root", "").empty())
        return UsageError(command.name, std::string(command.name) + " needs --root DIR");
    StderrNotifierScope notifier;
    return command.run(*options);
}

std::optional<Options> Options::Parse(std::span<const std::string> args, std::span<const std::string_view> valued,
                                      std::span<const std::string_view> flags, std::string& error)
{
    Options options;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A lone "-" is an operand, as it is for every Unix command.
        if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
            options.operands_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.help_ = true;
            return options;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.starts_with("--") ? arg.substr(2, equals == std::string::npos ? equals : equals - 2)
                                                       : std::string();
        if (name.empty() || (!Contains(valued, name) && !Contains(flags, name))) {
            error = "unknown option " + arg.substr(0, equals);
            return std::nullopt;
        }
        const std::string shown = "--" + name;
        if (options.Has(name)) {
            error = "option " + shown + " is given twice";
            return std::nullopt;
        }
        if (Contains(flags, name)) {
            if (equals != std::string::npos) {
                error = "option " + shown + " takes no value";
                return std::nullopt;
            }
            options.values_[name] = "";
        } else if (equals != std::string::npos) {
            options.values_[name] = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            options.values_[name] = args[++i];
        } else {
            error = "option " + shown + " needs a value";
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

std::string Options::ValueOr(std::string_view name, std::string_view fallback) const
{
    const std::string* value = Value(name);
    return value ? *value : std::string(fallback);
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

} // namespace pelorin::tool
