// pelorin-tool: the core of Pelorin on the command line, for making dictionaries,
// styles and puzzles in batches, and for tests and benchmarks.
#include "Command.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace pelorin::tool;

static void PrintUsage(std::FILE* out)
{
    std::fprintf(out, "usage: pelorin-tool COMMAND [ARGS]\n\ncommands:\n");
    for (const auto& [name, command] : Commands())
        std::fprintf(out, "  %s %s\n", command->name, command->usage);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    const auto found = Commands().find(name);
    if (found == Commands().end()) {
        std::fprintf(stderr, "pelorin-tool: unknown command '%s'\n\n", name.c_str());
        PrintUsage(stderr);
        return 2;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    return found->second->run(args);
}
