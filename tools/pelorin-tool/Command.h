#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelorin::tool {

/// One sub-command of pelorin-tool. Each command lives in a file of its own and
/// registers itself with a static Command object.
struct Command {
    using Run = int (*)(std::span<const std::string> args);
    Command(const char* name, const char* usage, Run run);

    const char* name;
    const char* usage; ///< the argument synopsis, shown by the usage message
    Run run;
};

/// The registered commands, by name.
const std::map<std::string_view, const Command*>& Commands();

/// The exit code of a usage error.
constexpr int kUsageExit = 2;

/// Prints the usage of one command (and the reason) to stderr; returns kUsageExit.
int UsageError(std::string_view command, std::string_view reason);

/// Options of the form --name VALUE and --flag, and plain operands, parsed from a
/// command's arguments against the names the command accepts.
class Options {
public:
    /// `valued` names take a value, `flags` take none. Returns nullopt (with the
    /// reason in `error`) for an unknown option or a missing value.
    static std::optional<Options> Parse(std::span<const std::string> args,
                                        std::initializer_list<std::string_view> valued,
                                        std::initializer_list<std::string_view> flags, std::string& error);

    bool Has(std::string_view name) const { return values_.count(std::string(name)) > 0; }
    const std::string* Value(std::string_view name) const;
    /// The value as an integer; false when absent or not a whole number in range.
    bool Integer(std::string_view name, long long& value, long long low, long long high) const;
    const std::vector<std::string>& Operands() const { return operands_; }

private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> operands_;
};

/// Options::Parse for the commands that work on a data root: `valued` must name
/// "root", and --root must then have a value. On a mistake prints the command's
/// usage and returns nullopt, and the command returns kUsageExit.
std::optional<Options> ParseWithRoot(std::string_view command, std::span<const std::string> args,
                                     std::initializer_list<std::string_view> valued,
                                     std::initializer_list<std::string_view> flags);

/// Where the style file a command names lies, as the folder and file name that
/// Style::LoadFile takes: an absolute path as it is; a relative path under the root
/// (Styles/Scripture.zas); a bare file name in ROOT/Styles, where the game keeps
/// its styles.
std::pair<std::string, std::string> StyleFileLocation(const std::string& root, const std::string& argument);

/// A text from a file as the terminal may safely be given it: control characters
/// (also those of UTF-8's C1 range) and bytes that are not UTF-8 become "?", so
/// that a file cannot move the cursor, recolour or retitle the terminal. Tabs stay.
std::string Printable(std::string_view text);

/// Installs a notifier that prints messages and status texts to stderr for as long
/// as the object lives.
class StderrNotifierScope {
public:
    StderrNotifierScope();
    ~StderrNotifierScope();
    StderrNotifierScope(const StderrNotifierScope&) = delete;
    StderrNotifierScope& operator=(const StderrNotifierScope&) = delete;
};

} // namespace pelorin::tool
