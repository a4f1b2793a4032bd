#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace pelorin {
namespace {

// Every clue of these games is a give-away and too long; the measure must say so
// of all of them, and list each with its marks.
TEST(CluesCommandTest, CountsTheCluesASolverRejects)
{
    test::TempDir root, wordnet;
    std::vector<test::TestRecord> words = test::PlainWords(test::AbcWords(2, 8));
    for (test::TestRecord& word : words)
        word.definitions[0].text = "a word made of the letters " + word.text + " in this order, which is all that can "
                                   "be said of it in a clue of any length";
    test::WriteDictionary(root.Folder(), words);
    std::filesystem::create_directory(root.File("Styles"));
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Load(root.Folder()));
    Style style(dictionary);
    for (int32_t i = 0; i < dictionary.Count(); ++i)
        style.MarkWord(i);
    style.BuildWordList();
    ASSERT_TRUE(style.SaveFile(root.File("Styles/Test.zas")));
    for (const char* part : {"data.noun", "data.verb", "data.adj", "data.adv"})
        std::ofstream(wordnet.File(part)) << "00000001 05 n 01 abba 0 000 | a word\n";
    const test::ToolResult result =
        test::RunTool("clues --root " + root.Folder() + " --seeds 3 --list --wordnet " + wordnet.Folder());
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const std::string& out = result.output;
    const std::string games = "3 games (0 not filled), ";
    const size_t at = out.find(games);
    ASSERT_NE(at, std::string::npos) << out;
    const size_t from = at + games.size();
    const std::string clues = out.substr(from, out.find(' ', from) - from);
    ASSERT_GT(std::stoi(clues), 0);
    for (const std::string& line : {"over 100 characters: " + clues + " (100.0 %)",
                                    "holding the answer, its base or an inflection: " + clues +
                                        " (0 with a clean definition to hand)",
                                    std::string("Test.zas 0 3\t"), std::string(" [long] [gives away]\n")})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
    EXPECT_EQ(test::RunTool("clues --root " + root.Folder() + " --seeds 1,x").exitCode, 2);
}

} // namespace
} // namespace pelorin
