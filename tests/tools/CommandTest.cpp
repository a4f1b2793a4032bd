#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace pelorin {
namespace {
// Every command checks its arguments before reading anything, and a mistake gives
// the reason, that command's usage and exit code 2.
TEST(ToolUsageTest, BadArgumentsGiveTheCommandsUsage)
{
    const std::string root = "--root /nonexistent/ ", style = "style " + root + "x.zas ";
    const std::string fill = "fill " + root + "--style x.zas --pattern ", fill1 = fill + "1 ";
    const std::vector<std::string> bad = {"lookup", "lookup " + root, "lookup --rot x cat", "lookup " + root + "cat ''",
        "summary " + root + "x", "summary " + root + "--root=/x", "make-dictionary --wordnet x",
        "make-style --description x --out x.zas",
        "make-style " + root + "--description \xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9 "
        "--out x.zas book.txt",
        "style " + root, style + "--quotes", style + "--quotes 'a b'", style + "--match ''", style + "--match 'c t'",
        fill + "0", fill + "4 --out x.zag", fill + "one --out x.zag", fill + "0 --seed -1 --out x.zag",
        fill + "0 --tries 0 --out x.zag", fill + "0 --out x.zag extra",
        // A batch's options: --jobs only with --count, and no seed past the last.
        fill1 + "--seed 1 --jobs 2 --out x", fill1 + "--count 0 --out x", fill1 + "--count 2 --jobs 0 --out x",
        fill1 + "--seed 4294967295 --count 2 --out x", "export x.zag", "show", "show a.zag b.zag",
        "show a.zag --brief", "show a.zag --full=yes", "prepare " + root + "x", "prepare " + root + "--timeout -1"};
    for (const std::string& arguments : bad) {
        const test::ToolResult result = test::RunTool(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        EXPECT_EQ(result.output.rfind("pelorin-tool: ", 0), 0u) << arguments << "\n" << result.output;
        const std::string usage = "usage: pelorin-tool " + arguments.substr(0, arguments.find(' ')) + " ";
        EXPECT_NE(result.output.find(usage), std::string::npos) << arguments << "\n" << result.output;
    }
    // A limit counted in bytes says bytes.
    EXPECT_NE(test::RunTool(bad[8]).output.find("18 bytes"), std::string::npos);
}

// "help COMMAND" and "COMMAND --help" print the command's usage and what it does on
// standard output, and succeed, as an unknown command does not.
TEST(ToolUsageTest, HelpPrintsTheCommandsUsage)
{
    for (const std::string arguments : {"help lookup", "lookup --help", "lookup --root x -h"}) {
        const test::ToolResult result = test::RunTool(arguments + " 2>/dev/null");
        EXPECT_EQ(result.exitCode, 0) << arguments;
        EXPECT_EQ(result.output.rfind("usage: pelorin-tool lookup --root DIR WORD...\n\nLooks words up", 0), 0u)
            << arguments << "\n" << result.output;
    }
    EXPECT_EQ(test::RunTool("help nothing").exitCode, 2);
    EXPECT_EQ(test::RunTool("nothing").exitCode, 2);
}

// The shell completion offers each command's options as its usage names them.
TEST(ToolUsageTest, CompletionOffersEveryCommandsOptions)
{
    const std::string script = PELORIN_SCRIPTS "/../data/completion/pelorin-tool.bash";
    const std::regex option("--[a-z]+");
    std::istringstream commands(test::RunTool("help").output);
    int checked = 0;
    for (std::string line; std::getline(commands, line);) {
        if (!line.starts_with("  "))
            continue;
        const std::string name = line.substr(2, line.find(' ', 2) - 2);
        std::set<std::string> usage = {"--help"};
        for (std::sregex_iterator it(line.begin(), line.end(), option), end; it != end; ++it)
            usage.insert(it->str());
        std::istringstream words(test::RunCommand("bash -c 'source " + script + "; COMP_WORDS=(pelorin-tool " + name +
                                                  " --); COMP_CWORD=2; _pelorin_tool; echo ${COMPREPLY[*]}'").output);
        EXPECT_EQ(std::set<std::string>(std::istream_iterator<std::string>(words), {}), usage) << name;
        ++checked;
    }
    EXPECT_GE(checked, 9);
}

// Every failure is one line, "pelorin-tool: PATH: reason", and exit code 1; the
// paths are the ones the user gave, or the files the program looked for.
TEST(ToolErrorTest, EveryFailureNamesThePathAndTheReason)
{
    test::TempDir dir;
    const std::string root = dir.Folder(), dictionary = root + "Zanth.dct", pipe = dir.File("pipe.zag");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(dir.File("folder.zag"));
    std::filesystem::create_directory(dir.File("wordnet"));
    ASSERT_TRUE(test::WriteFileBytes(dir.File("wordnet/data.noun"), "a WordNet file"));
    const std::string missing = ": No such file or directory\n";
    const std::pair<std::string, std::string> cases[] = {
        {"lookup --root " + root + " cat", dictionary + missing},
        {"lookup --root=" + root + "nowhere cat", root + "nowhere" + missing},
        {"summary --root " + root, dictionary + missing},
        {"style --root " + root + " Quotations", dictionary + missing},
        {"fill --root " + root + " --style x.zas --pattern 0 --out " + dir.File("x.zag"), dictionary + missing},
        {"make-style --root " + root + " --out " + dir.File("x.zas") + " " + dir.File("book.txt"),
         dir.File("book.txt") + missing},
        {"make-dictionary --wordnet " + dir.File("wn") + " --out " + dir.File("x.dct"),
         dir.File("wn") + ": no WordNet folder here (Debian installs it with wordnet-base)\n"},
        {"make-dictionary --wordnet " + dir.File("wordnet") + " --out " + dir.File("wordnet/./data.noun"),
         dir.File("wordnet/./data.noun") + ": the same file as the input " + dir.File("wordnet/data.noun") +
             "; nothing written\n"},
        {"clues --root " + root, dictionary + missing},
        {"prepare --root " + root, dictionary + missing},
        {"show " + dir.File("x.zag"), dir.File("x.zag") + missing},
        {"show " + pipe, pipe + ": not a regular file\n"},
        {"show " + dir.File("folder.zag"), dir.File("folder.zag") + ": Is a directory\n"},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(test::RunTool(arguments).Outcome(), std::tuple(1, "pelorin-tool: " + error)) << arguments;
}
} // namespace
} // namespace pelorin
