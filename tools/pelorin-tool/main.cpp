// pelorin-tool: the core of Pelorin on the command line, for making dictionaries,
// styles and puzzles in batches, and for tests and benchmarks.
#include "Command.h"
#include "Report.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace pelorin::tool;

static void PrintUsage(std::FILE* out)
{
    std::fprintf(out, "usage: pelorin-tool COMMAND [ARGS]\n\ncommands:\n");
    for (const auto& [name, command] : Commands())
        std::fprintf(out, "  %s %s\n", command->name, command->usage);
    std::fprintf(out, "\n'pelorin-tool help COMMAND' tells what a command does; "
                      "'pelorin-tool --version' prints the version.\n");
}

static const Command* FindCommand(const std::string& name)
{
    const auto found = Commands().find(name);
    if (found != Commands().end())
        return found->second;
    std::fprintf(stderr, "pelorin-tool: unknown command '%s'\n\n", Printable(name).c_str());
    PrintUsage(stderr);
    return nullptr;
}

// help, help COMMAND
static int Help(const std::vector<std::string>& args)
{
    if (args.empty()) {
        PrintUsage(stdout);
        return FinishOutput();
    }
    if (args.size() > 1) {
        std::fprintf(stderr, "pelorin-tool: help takes one command\n");
        return kUsageExit;
    }
    const Command* command = FindCommand(args.front());
    if (!command)
        return kUsageExit;
    PrintHelp(*command, stdout);
    return FinishOutput();
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return kUsageExit;
    }
    const std::string name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (name == "help" || name == "--help" || name == "-h")
        return Help(args);
    if (name == "--version") {
        std::printf("pelorin-tool %s\n", PELORIN_VERSION);
        return FinishOutput();
    }
    const Command* command = FindCommand(name);
    return command ? RunCommand(*command, args) : kUsageExit;
}
