#include "lexicon/DictionaryWriter.h"

#include "lexicon/Dictionary.h"
#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace pelorin {
namespace {

using test::TempDir;
using test::TestRecord;

// The program's record of a test record.
std::unique_ptr<WordRecord> Convert(const TestRecord& from)
{
    auto record = std::make_unique<WordRecord>();
    record->SetText(from.text);
    record->kind = from.kind;
    record->form = from.form;
    record->baseIndex = from.baseIndex;
    for (const TestRecord& sub : from.subRecords)
        record->subRecords.Add(Convert(sub));
    for (const test::TestDefinition& definition : from.definitions)
        record->definitions.Add(
            std::make_unique<Definition>(Definition{definition.rank, definition.text, definition.aux}));
    return record;
}

WordRecordTable ConvertAll(const std::vector<TestRecord>& records)
{
    WordRecordTable table;
    for (const TestRecord& record : records)
        table.push_back(Convert(record));
    return table;
}

// CAT with a noun and a verb sub-record, CATS naming CAT as its base, DOG with
// plain definitions: every field of the format.
std::vector<TestRecord> Sample()
{
    return {{.text = "CAT",
             .subRecords = {{.text = "CAT",
                             .definitions = {{0, 2000, "feline mammal"}, {501, 2001, "a spiteful woman gossip"}}},
                            {.text = "CAT", .kind = 1, .definitions = {{500, 3000, "beat with a whip"}}}}},
            {.text = "CATS", .form = kFormPlural, .baseIndex = 0},
            {.text = "DOG", .definitions = {{0, 4000, "a domestic canine"}}}};
}

class DictionaryWriterTest : public ::testing::Test {
protected:
    TempDir dir_;
    const std::string path_ = dir_.File("Zanth.dct");
    WordRecordTable table_ = ConvertAll(Sample());
};

// The file is compared with the test's own byte builder, never read back through
// the program's reader: the dictionary tests check that reader against the same
// builder, so the round trip follows from the two. An absent text (count 0) and an
// empty one (count 1) are different bytes; a rewrite must keep each as it was.
TEST_F(DictionaryWriterTest, WritesTheBytesOfTheFormat)
{
    ASSERT_TRUE(DictionaryWriter(table_).Write(path_, 4321, 7));
    EXPECT_EQ(test::FileBytes(path_), test::DictionaryBytes(Sample(), 4321, 7));
    WordRecordTable table = ConvertAll({{.text = "A", .definitions = {{0, 0, ""}, {1, 0, ""}}}});
    table[0]->definitions.At(0)->text = std::nullopt;
    ASSERT_TRUE(DictionaryWriter(table).Write(path_, 1));
    // The tail of the file, A's definitions: count; rank, aux, absent text; rank, aux, empty text.
    const std::string tail = test::ByteImage().Int32s({2, 0, 0, 0, 1, 0}).Text("").Bytes();
    const std::string bytes = test::FileBytes(path_);
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

// The stamp tells styles that the dictionary changed: it follows the content and
// the spare value and never takes the "nothing loaded" value 0.
TEST_F(DictionaryWriterTest, StampFollowsTheContent)
{
    const int32_t stamp = DictionaryWriter(table_).ContentStamp();
    EXPECT_GT(stamp, 0);
    EXPECT_NE(DictionaryWriter(table_).ContentStamp(1), stamp);
    table_[2]->definitions.At(0)->aux = 4001;
    EXPECT_NE(DictionaryWriter(table_).ContentStamp(), stamp);
}

// A table the reader or the pattern query could not use is not written, and the
// old file stays whole. The query trusts a word's length field and finds only the
// letters A-Z; sub-records are not queried.
TEST_F(DictionaryWriterTest, RefusesTablesTheReaderCannotUse)
{
    ASSERT_TRUE(DictionaryWriter(table_).Write(path_, 99));
    const std::string before = test::FileBytes(path_);
    const std::pair<const char*, std::function<void(WordRecordTable&)>> damages[] = {
        {"words out of order", [](WordRecordTable& t) { std::swap(t[0], t[2]); }},
        {"a word twice", [](WordRecordTable& t) { t[2]->SetText("CATS"); }},
        {"a base outside the table", [](WordRecordTable& t) { t[1]->baseIndex = 3; }},
        {"a length above the text's", [](WordRecordTable& t) { t[2]->length = 4; }},
        {"a length below the text's", [](WordRecordTable& t) { t[2]->length = 2; }},
        {"a hyphen", [](WordRecordTable& t) { t[2]->SetText("DOG-"); }},
        {"lower case", [](WordRecordTable& t) { t[2]->text = "dog"; }},
    };
    for (const auto& [what, damage] : damages) {
        WordRecordTable table = ConvertAll(Sample());
        damage(table);
        EXPECT_FALSE(DictionaryWriter(table).Write(path_, 1)) << what;
    }
    EXPECT_EQ(test::FileBytes(path_), before);
    WordRecordTable full;
    for (int32_t i = 0; i <= Dictionary::kCapacity; ++i)
        full.push_back(Convert({.text = test::CountedWord(i)}));
    EXPECT_FALSE(DictionaryWriter(full).Valid());
    full.pop_back();
    EXPECT_TRUE(DictionaryWriter(full).Valid());
}

} // namespace
} // namespace pelorin
