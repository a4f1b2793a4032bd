#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace pelorin {
namespace {

class StoredValues : public ::testing::Test {
protected:
    std::string Written(void (*write)(FileWriter&))
    {
        const std::string path = dir.File("values");
        {
            FilePtr file = OpenFile(path, "wb");
            FileWriter writer(file.get());
            write(writer);
            EXPECT_TRUE(writer.Ok());
        }
        return test::FileBytes(path);
    }
    FilePtr Reading(const std::string& bytes)
    {
        const std::string path = dir.File("input");
        test::WriteFileBytes(path, bytes);
        return OpenFile(path, "rb");
    }
    test::TempDir dir;
};

// Integers are little-endian two's complement; a text counts its zero byte, and an
// absent text is the count 0 alone, apart from the empty one.
TEST_F(StoredValues, ValuesHaveTheirStoredBytes)
{
    EXPECT_EQ(Written([](FileWriter& w) { w.WriteInt32(0x01020304); }), std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(Written([](FileWriter& w) { w.WriteInt32(-1); }), std::string("\xff\xff\xff\xff", 4));
    EXPECT_EQ(Written([](FileWriter& w) { w.WriteText("ABC"); }), std::string("\x04\0\0\0ABC\0", 8));
    EXPECT_EQ(Written([](FileWriter& w) { w.WriteText(StoredText()); }), std::string(4, '\0'));
    EXPECT_EQ(Written([](FileWriter& w) { w.WriteText(""); }), std::string("\x01\0\0\0\0", 5));

    // A text reads back up to its first zero byte.
    FilePtr file = Reading(std::string("\x06\0\0\0AB\0CD\0\x00\0\0\0", 14));
    FileReader reader(file.get());
    StoredText first, second = "old";
    ASSERT_TRUE(reader.ReadText(first));
    ASSERT_TRUE(reader.ReadText(second));
    EXPECT_EQ(first, "AB");
    EXPECT_FALSE(second.has_value());
    EXPECT_TRUE(reader.AtEnd());
}

class ReplacingFileTest : public ::testing::Test {
protected:
    // Writes the int32 7 over the target; false when the file would not open.
    bool Replace(const std::string& target)
    {
        ReplacingFile file;
        if (!file.Open(target))
            return false;
        FileWriter writer(file.Get());
        writer.WriteInt32(7);
        return file.Commit(writer.Ok());
    }
    static mode_t Mode(const std::string& path)
    {
        struct stat info {};
        EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 0777;
    }
    const std::string written = std::string("\x07\0\0\0", 4);
    test::TempDir dir;
};

// The old file stays whole until a complete new one replaces it: not when the new
// one is dropped unfinished, nor when a write failed. Nothing else is left behind.
TEST_F(ReplacingFileTest, OldFileStaysUntilTheNewOneIsCommitted)
{
    const std::string target = dir.File("game.zag");
    test::WriteFileBytes(target, "old");
    for (bool commit : {false, true}) {
        ReplacingFile file;
        ASSERT_TRUE(file.Open(target));
        FileWriter writer(file.Get());
        writer.WriteInt32(7);
        EXPECT_EQ(test::FileBytes(target), "old");
        if (commit) {
            EXPECT_FALSE(file.Commit(false));
        }
    }
    EXPECT_EQ(test::FileBytes(target), "old");
    EXPECT_TRUE(Replace(target));
    EXPECT_EQ(test::FileBytes(target), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A new file is as readable as any file the user makes (other accounts may share
// a data root), so the umask alone decides its mode; a replaced file keeps the
// mode the user gave it.
TEST_F(ReplacingFileTest, NewFilesTakeTheUmaskAndReplacedFilesKeepTheirMode)
{
    const mode_t previous = umask(027);
    const std::string fresh = dir.File("fresh.zag");
    const std::string kept = dir.File("kept.zag");
    test::WriteFileBytes(kept, "old");
    ASSERT_EQ(chmod(kept.c_str(), 0604), 0);
    EXPECT_TRUE(Replace(fresh));
    EXPECT_TRUE(Replace(kept));
    umask(previous);
    EXPECT_EQ(Mode(fresh), 0640u);
    EXPECT_EQ(Mode(kept), 0604u);
    EXPECT_EQ(test::FileBytes(kept), written);
}

// A file the user made read-only stays as it is, whoever runs the program.
TEST_F(ReplacingFileTest, ReadOnlyFileIsRefusedAndKept)
{
    const std::string target = dir.File("done.zag");
    test::WriteFileBytes(target, "old");
    ASSERT_EQ(chmod(target.c_str(), 0444), 0);
    EXPECT_FALSE(Replace(target));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(test::FileBytes(target), "old");
    EXPECT_EQ(Mode(target), 0444u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Saving through a link writes the file it points to and leaves the link; a link
// that points nowhere yet makes its file.
TEST_F(ReplacingFileTest, LinksAreFollowedAndKept)
{
    namespace fs = std::filesystem;
    fs::create_directory(dir.File("shared"));
    const std::string shared = dir.File("shared/week.zag");
    test::WriteFileBytes(shared, "old");
    fs::create_symlink("shared/week.zag", dir.File("week.zag"));
    fs::create_symlink(dir.File("week.zag"), dir.File("chain.zag"));
    fs::create_symlink("shared/later.zag", dir.File("later.zag"));
    for (const char* link : {"week.zag", "chain.zag", "later.zag"}) {
        ASSERT_TRUE(Replace(dir.File(link))) << link;
        EXPECT_TRUE(fs::is_symlink(dir.File(link))) << link;
        EXPECT_EQ(test::FileBytes(dir.File(link)), written) << link;
    }
    EXPECT_EQ(test::FileBytes(shared), written);

    fs::create_symlink("loop.zag", dir.File("loop.zag"));
    EXPECT_FALSE(Replace(dir.File("loop.zag")));
}

TEST_F(StoredValues, FullDiskIsAFailedWrite)
{
    FilePtr full = OpenFile("/dev/full", "wb");
    if (!full)
        GTEST_SKIP() << "no /dev/full";
    FileWriter writer(full.get());
    writer.WriteText(std::string(1 << 16, 'x')); // more than the stdio buffer
    EXPECT_FALSE(writer.Ok());
}

} // namespace
} // namespace pelorin
