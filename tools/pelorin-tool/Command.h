#pragma once

#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin::tool {

class Options;

/// One sub-command of pelorin-tool. Each command lives in a file of its own and
/// registers itself with a static Command object; the options it accepts are
/// parsed, and its usage and help are printed, in one place for all.
struct Command {
    using Run = int (*)(const Options& options);
    Command(const char* name, const char* usage, const char* about, std::initializer_list<std::string_view> valued,
            std::initializer_list<std::string_view> flags, Run run);

    const char* name;
    const char* usage; ///< the argument synopsis
    const char* about; ///< what the command does, in a sentence or two
    /// The options that take a value. A command that takes "root" needs it: every
    /// such command works on a data root.
    std::vector<std::string_view> valued;
    std::vector<std::string_view> flags; ///< the options that take none
    Run run;
};

/// The registered commands, by name.
const std::map<std::string_view, const Command*>& Commands();

/// The exit code of a failed command.
constexpr int kFailureExit = 1;
/// The exit code of a usage error.
constexpr int kUsageExit = 2;

/// Prints the reason and the usage of one command to stderr; returns kUsageExit.
int UsageError(std::string_view command, std::string_view reason);

/// Prints a command's usage and what it does.
void PrintHelp(const Command& command, std::FILE* out);

/// Parses a command's arguments and runs it, with the tool's notifier installed:
/// `COMMAND --help` prints the help, a mistake in the arguments the usage.
int RunCommand(const Command& command, std::span<const std::string> args);

/// The options (--name VALUE, --name=VALUE and --flag) and the plain operands of a
/// command's arguments. "--" ends the options; "--help" and "-h" ask for help.
class Options {
public:
    /// Returns nullopt, with the reason in `error`, for an unknown or repeated
    /// option, a missing value or a value given to a flag.
    static std::optional<Options> Parse(std::span<const std::string> args, std::span<const std::string_view> valued,
                                        std::span<const std::string_view> flags, std::string& error);

    bool HelpAsked() const { return help_; }
    bool Has(std::string_view name) const { return values_.count(std::string(name)) > 0; }
    /// The value of an option; null when it was not given.
    const std::string* Value(std::string_view name) const;
    /// The value of an option, or `fallback` when it was not given.
    std::string ValueOr(std::string_view name, std::string_view fallback) const;
    /// The value as an integer; false when absent or not a whole number in range.
    bool Integer(std::string_view name, long long& value, long long low, long long high) const;
    const std::vector<std::string>& Operands() const { return operands_; }

private:
    bool help_ = false;
    std::map<std::string, std::string> values_;
    std::vector<std::string> operands_;
};

/// A text from a file as the terminal may safely be given it: control characters
/// (also those of UTF-8's C1 range) and bytes that are not UTF-8 become "?", so
/// that a file cannot move the cursor, recolour or retitle the terminal. Tabs stay.
std::string Printable(std::string_view text);

} // namespace pelorin::tool
