#include "app/Settings.h"

#include "app/AppTestData.h"

#include <gtest/gtest.h>
#include <filesystem>

namespace pelorin {
namespace {
class SettingsTest : public ::testing::Test {
protected:
    std::string StorePath() const { return dir_.File("Tarnwick/Zanth.ini"); }
    test::SettingsDir dir_;
    Settings settings_;
};

TEST_F(SettingsTest, AbsentValuesReadAsDefaultsAndWrittenOnesReadBack)
{
    std::string root = "unchanged";
    EXPECT_TRUE(!settings_.ReadString("RootDir", root) && root == "unchanged");
    // The first run is told once, and recorded as "1".
    EXPECT_TRUE(CheckFirstRun());
    EXPECT_TRUE(settings_.ReadString("FirstCall", root) && root == "1");
    EXPECT_FALSE(CheckFirstRun());
    // Whatever the program writes reads back as it was.
    for (const char* text : {" /data/caf\xc3\xa9, with comma/", "\"q\" a\\b;c\nd ", "\"", ""}) {
        ASSERT_TRUE(settings_.WriteString("RootDir", text));
        EXPECT_TRUE(settings_.ReadString("RootDir", root) && root == text) << text << " read as " << root;
    }
    ASSERT_TRUE(settings_.WriteDword("LastStyleId", -7));
    EXPECT_EQ(settings_.ReadDword("LastStyleId"), -7);
    // 255 units fit; a longer string reads as absent.
    ASSERT_TRUE(settings_.WriteString("RootDir", std::string(255, 'x')));
    EXPECT_TRUE(settings_.ReadString("RootDir", root));
    ASSERT_TRUE(settings_.WriteString("RootDir", std::string(256, 'y')));
    EXPECT_FALSE(settings_.ReadString("RootDir", root));
    EXPECT_EQ(root, std::string(255, 'x'));
    // The store file is what users and installers see: numbers as dword hex, strings as their text.
    ASSERT_TRUE(settings_.WriteDword("LastBlockId", 42));
    ASSERT_TRUE(settings_.WriteString("RootDir", "/data/My Games, Volume 2/a;b\\c"));
    EXPECT_EQ(test::FileBytes(StorePath()), "[General]\nFirstCall=1\nLastBlockId=dword:0000002a\n"
                                            "LastStyleId=dword:fffffff9\nRootDir=/data/My Games, Volume 2/a;b\\c\n");
}

// An installation or a person writes RootDir by hand; the path reads as written, whatever characters it holds.
TEST_F(SettingsTest, HandWrittenValuesReadAsWritten)
{
    const std::pair<const char*, const char*> cases[] = {
        {"[General]\nRootDir=/data/My Games, Volume 2/pelorin\n", "/data/My Games, Volume 2/pelorin"},
        {"[General]\nRootDir=/data/a;b\n", "/data/a;b"},
        {"[General]\r\nRootDir=/data/a\\b\r\n", "/data/a\\b"},
        {"; set by the installer\nRootDir = /opt/pelorin/data \n", "/opt/pelorin/data"},
        {"[General]\nRootDir=\" /data/with blanks \"\n", " /data/with blanks "},
        {"[General]\nRootDir=\"/data/\\\"quoted\\\"\"\n", "/data/\"quoted\""},
        {"[Other]\nRootDir=/elsewhere\n[General]\nRootDir=/data/x\n", "/data/x"},
    };
    std::filesystem::create_directories(dir_.File("Tarnwick"));
    for (const auto& [file, expected] : cases) {
        test::WriteFileBytes(StorePath(), file);
        std::string root;
        EXPECT_TRUE(settings_.ReadString("RootDir", root) && root == expected) << file << " read as " << root;
    }
    // A number read from a string takes its stored bytes: (units + 1) * 2 of them,
    // so only a string of at most one unit fits, read little-endian.
    for (const auto& [text, number] :
         {std::pair{"dword:00000002", 2}, {"1", 49}, {"", 0}, {"12", 0}, {"dword:1", 0}}) {
        test::WriteFileBytes(StorePath(), std::string("[General]\nLastBlockId=") + text + "\nFirstCall=\n");
        EXPECT_EQ(settings_.ReadDword("LastBlockId"), number) << text;
    }
    EXPECT_FALSE(CheckFirstRun()) << "an empty FirstCall still counts as a later run";
}
} // namespace
} // namespace pelorin
