#include "lexicon/DictionaryWriter.h"

#include "lexicon/Dictionary.h"
#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>

namespace pelorin {
namespace {

using test::TempDir;
using test::TestRecord;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::unique_ptr<WordRecord> Record(const char* text, int32_t kind = 3, int32_t form = 0, int32_t baseIndex = -1)
{
    auto record = std::make_unique<WordRecord>();
    record->SetText(text);
    record->kind = kind;
    record->form = form;
    record->baseIndex = baseIndex;
    return record;
}

void AddDefinition(WordRecord& record, int32_t rank, int32_t aux, StoredText text)
{
    auto definition = std::make_unique<Definition>();
    definition->rank = rank;
    definition->aux = aux;
    definition->text = std::move(text);
    record.definitions.Add(std::move(definition));
}

TestRecord Expect(std::string text, std::vector<test::TestDefinition> definitions = {}, int32_t kind = 3)
{
    TestRecord record;
    record.text = std::move(text);
    record.kind = kind;
    record.definitions = std::move(definitions);
    return record;
}

class DictionaryWriterTest : public ::testing::Test {
protected:
    // CAT with a noun and a verb sub-record, CATS naming CAT as its base with its
    // own sub-record, DOG with plain definitions: every field of the format.
    void SetUp() override
    {
        auto cat = Record("cat");
        auto nouns = Record("cat");
        AddDefinition(*nouns, 501, 2001, std::string("a spiteful woman gossip"));
        AddDefinition(*nouns, 0, 2000, std::string("feline mammal"));
        auto verbs = Record("cat", 1);
        AddDefinition(*verbs, 500, 3000, std::string("beat with a whip"));
        cat->subRecords.Add(std::move(nouns));
        cat->subRecords.Add(std::move(verbs));
        auto cats = Record("cats", 3, kFormPlural, 0);
        auto plural = Record("cats");
        AddDefinition(*plural, 0, 2000, std::string("feline mammal"));
        cats->subRecords.Add(std::move(plural));
        auto dog = Record("dog");
        AddDefinition(*dog, 0, 4000, std::string("a domestic canine"));
        table_.push_back(std::move(cat));
        table_.push_back(std::move(cats));
        table_.push_back(std::move(dog));
    }

    // The same table through the test's own byte builder.
    static std::vector<TestRecord> Expected()
    {
        TestRecord cat = Expect("CAT");
        cat.subRecords.push_back(Expect("CAT", {{0, 2000, "feline mammal"}, {501, 2001, "a spiteful woman gossip"}}));
        cat.subRecords.push_back(Expect("CAT", {{500, 3000, "beat with a whip"}}, 1));
        TestRecord cats = Expect("CATS");
        cats.form = kFormPlural;
        cats.baseIndex = 0;
        cats.subRecords.push_back(Expect("CATS", {{0, 2000, "feline mammal"}}));
        TestRecord dog = Expect("DOG", {{0, 4000, "a domestic canine"}});
        return {cat, cats, dog};
    }

    TempDir dir_;
    WordTable table_;
};

TEST_F(DictionaryWriterTest, WritesTheBytesOfTheFormat)
{
    const std::string path = dir_.File("Zanth.dct");
    ASSERT_TRUE(DictionaryWriter(table_).Write(path, 4321, 7));
    EXPECT_EQ(ReadBytes(path), test::DictionaryBytes(Expected(), 4321, 7));
}

TEST_F(DictionaryWriterTest, FileReadsBackIntoTheSameRecords)
{
    const std::string path = dir_.File("Zanth.dct");
    ASSERT_TRUE(DictionaryWriter(table_).Write(path));
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.LoadFile(path));
    EXPECT_EQ(dictionary.Stamp(), DictionaryWriter(table_).ContentStamp());
    ASSERT_EQ(dictionary.Count(), 3);
    const WordRecord& cats = dictionary.Record(dictionary.Find("cats"));
    EXPECT_EQ(cats.form, kFormPlural);
    EXPECT_EQ(cats.base, &dictionary.Record(0));
    const WordRecord& cat = dictionary.Record(0);
    ASSERT_EQ(cat.subRecords.Count(), 2);
    EXPECT_EQ(cat.subRecords.At(1)->kind, 1);
    EXPECT_EQ(cat.subRecords.At(0)->definitions.At(1)->aux, 2001);

    DefinitionList collected = MakeDefinitionList();
    cat.CollectDefinitions(collected);
    ASSERT_EQ(collected.Count(), 3);
    EXPECT_EQ(collected.At(2)->rank, 510);
}

// An absent text (count 0) and an empty one (count 1) are different bytes; a
// rewrite must keep each as it was.
TEST_F(DictionaryWriterTest, AbsentAndEmptyDefinitionTextsStayApart)
{
    WordTable table;
    table.push_back(Record("a"));
    AddDefinition(*table[0], 0, 0, std::nullopt);
    AddDefinition(*table[0], 1, 0, std::string());
    const std::string path = dir_.File("a.dct");
    ASSERT_TRUE(DictionaryWriter(table).Write(path, 1));

    test::ByteImage image;
    image.Int32(1);            // length
    image.Text("A");
    image.Int32(3);            // kind
    image.Int32(0);            // form
    image.Int32(-1);           // base index
    image.Int32(0);            // sub-records
    image.Int32(2);            // definitions
    image.Int32(0);
    image.Int32(0);
    image.AbsentText();
    image.Int32(1);
    image.Int32(0);
    image.Text("");
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(bytes.size() - image.Bytes().size()), image.Bytes());
}

// The stamp tells styles that the dictionary changed: it follows every byte of
// content and never takes the "nothing loaded" value 0.
TEST_F(DictionaryWriterTest, StampFollowsTheContent)
{
    const int32_t stamp = DictionaryWriter(table_).ContentStamp();
    EXPECT_GT(stamp, 0);
    EXPECT_EQ(DictionaryWriter(table_).ContentStamp(), stamp);
    EXPECT_NE(DictionaryWriter(table_).ContentStamp(1), stamp);
    table_[2]->definitions.At(0)->aux = 4001;
    EXPECT_NE(DictionaryWriter(table_).ContentStamp(), stamp);
    EXPECT_GT(DictionaryWriter(WordTable()).ContentStamp(), 0);
}

// A table the reader could not use is not written, and the file already there
// stays whole.
TEST_F(DictionaryWriterTest, RefusesTablesTheReaderCannotUse)
{
    const std::string path = dir_.File("Zanth.dct");
    ASSERT_TRUE(DictionaryWriter(table_).Write(path, 99));
    const std::string before = ReadBytes(path);

    std::swap(table_[0], table_[2]); // DOG, CATS, CAT
    EXPECT_FALSE(DictionaryWriter(table_).Write(path, 1));
    std::swap(table_[0], table_[2]);
    table_[2]->SetText("CATS"); // a duplicate
    EXPECT_FALSE(DictionaryWriter(table_).Write(path, 1));
    table_[2]->SetText("DOG");
    table_[1]->baseIndex = 3;
    EXPECT_FALSE(DictionaryWriter(table_).Write(path, 1));
    table_[1]->baseIndex = 0;
    EXPECT_TRUE(DictionaryWriter(table_).Valid());
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(DictionaryWriterTest, RefusesMoreWordsThanTheCapacity)
{
    WordTable table;
    for (int32_t i = 0; i <= Dictionary::kCapacity; ++i) {
        char text[5] = {static_cast<char>('A' + i / 17576), static_cast<char>('A' + i / 676 % 26),
                        static_cast<char>('A' + i / 26 % 26), static_cast<char>('A' + i % 26), 0};
        table.push_back(Record(text));
    }
    EXPECT_FALSE(DictionaryWriter(table).Valid());
    table.pop_back();
    EXPECT_TRUE(DictionaryWriter(table).Valid());
}

TEST_F(DictionaryWriterTest, WriteIntoMissingFolderFails)
{
    errno = 0;
    EXPECT_FALSE(DictionaryWriter(table_).Write(dir_.File("no/such/folder/Zanth.dct")));
    EXPECT_EQ(errno, ENOENT);
}

} // namespace
} // namespace pelorin
