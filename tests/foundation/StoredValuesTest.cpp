#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <sys/stat.h>
#include <tuple>

namespace pelorin {
namespace {

class StoredValues : public ::testing::Test {
protected:
    // Writes through a replacing file; false when it would not open or commit.
    static bool Replace(const std::string& target, void (*write)(FileWriter&))
    {
        ReplacingFile file;
        if (!file.Open(target))
            return false;
        FileWriter writer(file.Get());
        write(writer);
        return file.Commit(writer.Ok());
    }
    static bool Replace(const std::string& target) { return Replace(target, [](FileWriter& w) { w.WriteInt32(7); }); }
    static mode_t Mode(const std::string& path)
    {
        struct stat info {};
        EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 0777;
    }
    size_t FilesLeft() const
    {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
    }
    const std::string written = std::string("\x07\0\0\0", 4);
    test::TempDir dir;
};

// Integers are little-endian two's complement; a text counts its zero byte, and an
// absent text is the count 0 alone, apart from the empty one. A text reads back up
// to its first zero byte.
TEST_F(StoredValues, ValuesHaveTheirStoredBytes)
{
    const std::pair<void (*)(FileWriter&), std::string> values[] = {
        {[](FileWriter& w) { w.WriteInt32(0x01020304); }, std::string("\x04\x03\x02\x01", 4)},
        {[](FileWriter& w) { w.WriteText("ABC"); }, std::string("\x04\0\0\0ABC\0", 8)},
        {[](FileWriter& w) { w.WriteText(StoredText()); }, std::string(4, '\0')},
        {[](FileWriter& w) { w.WriteText(""); }, std::string("\x01\0\0\0\0", 5)},
    };
    const std::string path = dir.File("values");
    for (const auto& [write, bytes] : values) {
        ASSERT_TRUE(Replace(path, write));
        EXPECT_EQ(test::FileBytes(path), bytes);
    }
    test::WriteFileBytes(path, std::string("\x06\0\0\0AB\0CD\0\x00\0\0\0", 14));
    FilePtr file = OpenFile(path, "rb");
    FileReader reader(file.get());
    StoredText first, second = "old";
    ASSERT_TRUE(reader.ReadText(first) && reader.ReadText(second));
    EXPECT_EQ(std::tuple(first, second, reader.AtEnd()), std::tuple(StoredText("AB"), std::nullopt, true));
    if (FilePtr full = OpenFile("/dev/full", "wb")) {
        FileWriter writer(full.get());
        writer.WriteText(std::string(1 << 16, 'x')); // more than the stdio buffer
        EXPECT_FALSE(writer.Ok()) << "a full disk is a failed write";
    }
}

// The old file stays whole until a complete new one replaces it: not when the new
// one is dropped unfinished, nor when a write failed, nor when the user made it
// read-only (whoever runs the program). Nothing else is left behind.
TEST_F(StoredValues, OldFileStaysUntilTheNewOneIsCommitted)
{
    const std::string target = dir.File("game.zag");
    const std::string readOnly = dir.File("done.zag");
    test::WriteFileBytes(target, "old");
    test::WriteFileBytes(readOnly, "old");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    for (bool commit : {false, true}) {
        ReplacingFile file;
        ASSERT_TRUE(file.Open(target));
        FileWriter(file.Get()).WriteInt32(7);
        EXPECT_EQ(test::FileBytes(target), "old");
        EXPECT_TRUE(!commit || !file.Commit(false));
    }
    EXPECT_EQ(test::FileBytes(target), "old");
    EXPECT_FALSE(Replace(readOnly));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(std::pair(test::FileBytes(readOnly), Mode(readOnly)), std::pair(std::string("old"), mode_t{0444}));
    EXPECT_TRUE(Replace(target));
    EXPECT_EQ(test::FileBytes(target), written);
    EXPECT_EQ(FilesLeft(), 2u);
}

// A new file is as readable as any file the user makes (other accounts may share
// a data root), so the umask alone decides its mode; a replaced file keeps the
// mode the user gave it. Saving through a link writes the file it points to and
// leaves the link; a link that points nowhere yet makes its file.
TEST_F(StoredValues, ReplacedFilesKeepTheirModeAndLinks)
{
    namespace fs = std::filesystem;
    const mode_t previous = umask(027);
    const std::string kept = dir.File("kept.zag");
    test::WriteFileBytes(kept, "old");
    ASSERT_EQ(chmod(kept.c_str(), 0664), 0);
    EXPECT_TRUE(Replace(dir.File("fresh.zag")));
    EXPECT_TRUE(Replace(kept));
    umask(previous);
    EXPECT_EQ(std::tuple(Mode(dir.File("fresh.zag")), Mode(kept), test::FileBytes(kept)),
              std::tuple(mode_t{0640}, mode_t{0664}, written));
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

} // namespace
} // namespace pelorin
