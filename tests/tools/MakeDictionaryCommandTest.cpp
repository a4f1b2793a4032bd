#include "lexicon/Dictionary.h"
#include "support/TempDir.h"
#include "tools/ToolRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace pelorin {
namespace {

TEST(MakeDictionaryCommandTest, WritesADictionaryTheGameReads)
{
    // The smallest WordNet the command accepts: one noun, one verb and the rest empty.
    test::TempDir wordnet;
    test::TempDir out;
    const std::pair<const char*, const char*> files[] = {
        {"index.noun", "cat n 1 0 1 1 00000001  \n"},
        {"data.noun", "00000001 05 n 01 cat 0 000 | feline mammal; \"the cat sat\"  \n"},
        {"index.verb", "hop v 1 0 1 0 00000002  \n"},
        {"data.verb", "00000002 38 v 01 hop 0 000 | jump lightly  \n"},
        {"index.adj", ""}, {"data.adj", ""}, {"index.adv", ""}, {"data.adv", ""},
        {"cntlist.rev", "cat%1:05:00:: 1 18\n"}, {"noun.exc", ""}, {"verb.exc", "hopped hop\nhopping hop\n"},
    };
    for (const auto& [name, text] : files)
        std::ofstream(wordnet.File(name), std::ios::binary) << text;

    const test::ToolResult result =
        test::RunTool("make-dictionary --wordnet " + wordnet.Folder() + " --out " + out.File("Zanth.dct"));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    // CAT, CATS, HOP, HOPPED, HOPPING, HOPS
    EXPECT_NE(result.output.find("6 words (2 headwords, 4 inflected forms)"), std::string::npos) << result.output;
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Load(out.Folder()));
    EXPECT_EQ(dictionary.Count(), 6);
    EXPECT_NE(result.output.find("stamp " + std::to_string(dictionary.Stamp())), std::string::npos);
    EXPECT_EQ(dictionary.Record(dictionary.Find("hopped")).form, kFormPast);
}

} // namespace
} // namespace pelorin
