#include "app/Settings.h"

#include "support/TempDir.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace pelorin {
namespace {

// Points the per-user store at a fresh folder for each test, so tests neither see
// each other's values nor the user's.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir_.Folder()));
    }

    std::string StorePath() const { return dir_.File("Tarnwick/Zanth.ini"); }

    // Writes the INI file as an installation or a hand edit would.
    void WriteStoreFile(const std::string& text) const
    {
        std::filesystem::create_directories(dir_.Path() / "Tarnwick");
        std::ofstream(StorePath(), std::ios::binary) << text;
    }

    std::string StoreFileText() const
    {
        std::ifstream in(StorePath(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test::TempDir dir_;
    Settings settings_;
};

TEST_F(SettingsTest, StringsAndNumbersReadBackAsWritten)
{
    std::string root = "unchanged";
    EXPECT_FALSE(settings_.ReadString("RootDir", root));
    EXPECT_EQ(root, "unchanged");
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 0);

    ASSERT_TRUE(settings_.WriteString("RootDir", " /data/caf\xc3\xa9, with comma/"));
    ASSERT_TRUE(settings_.WriteDword("LastBlockId", 2));
    ASSERT_TRUE(settings_.WriteDword("LastStyleId", -7));

    EXPECT_TRUE(settings_.ReadString("RootDir", root));
    EXPECT_EQ(root, " /data/caf\xc3\xa9, with comma/");
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 2);
    EXPECT_EQ(settings_.ReadDword("LastStyleId"), -7);
}

// The encoding of numbers is part of the file that users and installers see.
TEST_F(SettingsTest, NumbersAreStoredAsDwordHex)
{
    ASSERT_TRUE(settings_.WriteDword("LastBlockId", 42));
    ASSERT_TRUE(settings_.WriteDword("LastStyleId", -1));
    const std::string text = StoreFileText();
    EXPECT_NE(text.find("LastBlockId=dword:0000002a"), std::string::npos) << text;
    EXPECT_NE(text.find("LastStyleId=dword:ffffffff"), std::string::npos) << text;
}

TEST_F(SettingsTest, HandWrittenFileIsRead)
{
    WriteStoreFile("[General]\nRootDir=/opt/pelorin/data\nLastBlockId=dword:00000002\nFirstCall=\n");
    std::string root;
    EXPECT_TRUE(settings_.ReadString("RootDir", root));
    EXPECT_EQ(root, "/opt/pelorin/data");
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 2);
    EXPECT_FALSE(CheckFirstRun()) << "an empty FirstCall still counts as a later run";
}

TEST_F(SettingsTest, StringOfMoreThan255UnitsReadsAsAbsent)
{
    ASSERT_TRUE(settings_.WriteString("RootDir", std::string(255, 'x')));
    std::string value;
    EXPECT_TRUE(settings_.ReadString("RootDir", value));
    EXPECT_EQ(value.size(), 255u);

    ASSERT_TRUE(settings_.WriteString("RootDir", std::string(256, 'y')));
    EXPECT_FALSE(settings_.ReadString("RootDir", value));
    EXPECT_EQ(value, std::string(255, 'x'));
}

// A string's stored size is (units + 1) * 2 bytes; only sizes up to 4 bytes fit a
// number, read little-endian.
TEST_F(SettingsTest, NumberStoredAsStringReadsAsItsBytes)
{
    settings_.WriteString("LastBlockId", "1");
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 49);
    settings_.WriteString("LastBlockId", "");
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 0);
    settings_.WriteString("LastBlockId", "12");
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 0);
    settings_.WriteString("LastBlockId", "dword:1");
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 0) << "not a number without all eight digits";
}

TEST_F(SettingsTest, FirstRunCheckRecordsTheFirstRunOnce)
{
    EXPECT_TRUE(CheckFirstRun());
    std::string value;
    EXPECT_TRUE(settings_.ReadString("FirstCall", value));
    EXPECT_EQ(value, "1");
    EXPECT_FALSE(CheckFirstRun());
}

TEST_F(SettingsTest, UnwritableStoreDropsWritesAndReadsAsAbsent)
{
    // A file where the store's folder should be: nothing can be created there.
    std::ofstream(dir_.File("blocked"), std::ios::binary) << "x";
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir_.File("blocked")));
    EXPECT_FALSE(settings_.WriteDword("LastBlockId", 1));
    EXPECT_EQ(settings_.ReadDword("LastBlockId"), 0);
    std::string value = "kept";
    EXPECT_FALSE(settings_.WriteString("FirstCall", "1"));
    EXPECT_FALSE(settings_.ReadString("FirstCall", value));
    EXPECT_EQ(value, "kept");
}

} // namespace
} // namespace pelorin
