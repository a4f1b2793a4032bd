#include "support/GameFileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace pelorin {
namespace {

struct ShowResult {
    int exitCode = -1;
    std::string output; ///< stdout and stderr together
};

ShowResult RunShow(const std::string& arguments)
{
    ShowResult result;
    const std::string commandLine = std::string(PELORIN_TOOL) + " show " + arguments + " 2>&1";
    std::FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class ShowCommandTest : public ::testing::Test {
protected:
    std::string WriteSample()
    {
        const std::string path = dir.File("sample.zag");
        const std::string bytes = test::GameBytes(test::SampleGame());
        std::FILE* file = std::fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        return path;
    }

    test::TempDir dir;
};

constexpr const char* kGrid = "Face 0    Face 1    Face 2    Face 3\n"
                              "#CX.####  ########  ########  ########\n"
                              "#O######  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n"
                              "########  ########  ########  ########\n";

TEST_F(ShowCommandTest, PrintsFacesAndClueLinesWithAnswers)
{
    const ShowResult result = RunShow(WriteSample());
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, std::string(kGrid) + "\nAcross\n"
                                                  "1. \t (plural) Small domesticated feline  [CAT]\n"
                                                  "\nDown\n"
                                                  "1. \t ?  [CO] given up\n");
}

TEST_F(ShowCommandTest, FullAddsQuotesAndFurtherDefinitions)
{
    const ShowResult result = RunShow(WriteSample() + " --full");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("[CAT]\n"
                                 "    quote: The ___ sat on the mat and would not move for anyone at all.\n"
                                 "    definition: A spiteful woman\n"),
              std::string::npos)
        << result.output;
}

TEST_F(ShowCommandTest, BadArgumentsAndUnreadableFilesFail)
{
    EXPECT_EQ(RunShow("").exitCode, 2);
    EXPECT_EQ(RunShow("a.zag b.zag").exitCode, 2);
    EXPECT_EQ(RunShow(WriteSample() + " --brief").exitCode, 2);

    const ShowResult missing = RunShow(dir.File("none.zag"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("Cannot open Game file"), std::string::npos) << missing.output;

    test::ByteImage notAGame;
    notAGame.Int32(55);
    notAGame.WriteTo(dir.File("old.zag"));
    EXPECT_EQ(RunShow(dir.File("old.zag")).exitCode, 1);
}

} // namespace
} // namespace pelorin
