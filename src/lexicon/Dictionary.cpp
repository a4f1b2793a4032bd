#include "lexicon/Dictionary.h"

#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"

#include <cassert>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace pelorin {

namespace {

// The smallest word record a file can hold: length, text count (absent text),
// kind, form, base index, sub-record count and definition count. Every count a
// file states is checked against this before anything is allocated for it, so a
// damaged count can never make the reader allocate more than the file holds.
constexpr int64_t kMinRecordBytes = 7 * 4;
// The smallest definition: rank, aux and the count of an absent text.
constexpr int64_t kMinDefinitionBytes = 3 * 4;

// Ranks of definitions that do not come from a kind-3 record are moved back by
// this much when collected, so kind-3 definitions lead among equal stored ranks.
constexpr int32_t kRankPenalty = 10;
constexpr int32_t kKeepRanksKind = 3;

bool ReadRecord(FileReader& reader, WordRecord& record, int depth);

bool ReadSubRecords(FileReader& reader, WordRecord& record, int depth)
{
    int32_t subCount = 0;
    if (!reader.ReadInt32(subCount))
        return false;
    if (subCount == 0)
        return true;
    if (depth >= Dictionary::kMaxNesting || !reader.CanHold(subCount, kMinRecordBytes))
        return false;
    record.subRecords.Reserve(subCount);
    for (int32_t i = 0; i < subCount; ++i) {
        auto sub = std::make_unique<WordRecord>();
        if (!ReadRecord(reader, *sub, depth + 1))
            return false;
        record.subRecords.Add(std::move(sub));
    }
    return true;
}

bool ReadDefinitions(FileReader& reader, WordRecord& record)
{
    int32_t definitionCount = 0;
    if (!reader.ReadInt32(definitionCount))
        return false;
    if (!reader.CanHold(definitionCount, kMinDefinitionBytes))
        return false;
    std::vector<std::unique_ptr<Definition>> read;
    read.reserve(static_cast<size_t>(definitionCount));
    for (int32_t i = 0; i < definitionCount; ++i) {
        auto definition = std::make_unique<Definition>();
        if (!reader.ReadInt32(definition->rank) || !reader.ReadInt32(definition->aux) ||
            !reader.ReadText(definition->text))
            return false;
        read.push_back(std::move(definition));
    }
    // Placed as one keyed insertion after another would place them: among equal
    // ranks the file's order meets FindKey's rule.
    record.definitions.AddEach(std::move(read));
    return true;
}

// Reads one word record (top-level or sub-record) at the reader's position; false
// when the file cannot supply it whole.
bool ReadRecord(FileReader& reader, WordRecord& record, int depth)
{
    StoredText text;
    if (!reader.ReadInt32(record.length) || !reader.ReadText(text) || !reader.ReadInt32(record.kind) ||
        !reader.ReadInt32(record.form) || !reader.ReadInt32(record.baseIndex))
        return false;
    if (text)
        record.text = std::move(*text);
    record.base = nullptr;
    return ReadSubRecords(reader, record, depth) && ReadDefinitions(reader, record);
}

// The copies of the definitions of a record that has no sub-records, ranks
// adjusted by the record's kind.
void CopyDefinitions(const WordRecord& record, std::vector<std::unique_ptr<Definition>>& copies)
{
    const int32_t penalty = record.kind == kKeepRanksKind ? 0 : kRankPenalty;
    for (const Definition* definition : record.definitions) {
        auto copy = std::make_unique<Definition>(*definition);
        // A damaged rank near the top of the range must not wrap round to the front.
        copy->rank = definition->rank > std::numeric_limits<int32_t>::max() - penalty
                         ? std::numeric_limits<int32_t>::max()
                         : definition->rank + penalty;
        copies.push_back(std::move(copy));
    }
}

void CollectFrom(const WordRecord& record, std::vector<std::unique_ptr<Definition>>& copies)
{
    if (record.subRecords.Empty()) {
        CopyDefinitions(record, copies);
        return;
    }
    for (const WordRecord* sub : record.subRecords)
        CollectFrom(*sub, copies);
}

// Whether the texts of the top-level records rise strictly in unsigned byte order,
// as the lookup's bisection needs: in a table out of order, words that are there
// are not found, and nothing tells why.
bool InWordOrder(const std::unique_ptr<WordRecord>* table, int32_t count)
{
    for (int32_t i = 1; i < count; ++i) {
        // std::string compares like memcmp: unsigned byte order.
        if (table[i - 1]->text.compare(table[i]->text) >= 0)
            return false;
    }
    return true;
}

// The text as SetText stores it. Stored texts end at their first zero byte, so a
// probe ends there too and compares the way the table's texts do.
std::string UpperCaseWord(std::string_view text)
{
    return ToUpperAscii(text.substr(0, text.find('\0')));
}

} // namespace

DefinitionList MakeDefinitionList()
{
    return DefinitionList(10, ListOrder::Sorted, true, 10);
}

WordRecord::WordRecord() : subRecords(10, ListOrder::Append, true, 10), definitions(MakeDefinitionList()) {}

void WordRecord::SetText(std::string_view newText)
{
    text = UpperCaseWord(newText);
    length = static_cast<int32_t>(text.size());
}

void WordRecord::CollectDefinitions(DefinitionList& target) const
{
    // An inflected form borrows from its base word. A damaged file can link bases
    // in a circle; no honest chain is longer than the table, so a longer walk is a
    // circle and yields nothing rather than spinning for ever.
    const WordRecord* record = this;
    int32_t steps = 0;
    while (record->subRecords.Empty() && record->base) {
        if (++steps > Dictionary::kCapacity)
            return;
        record = record->base;
    }
    std::vector<std::unique_ptr<Definition>> copies;
    CollectFrom(*record, copies);
    target.AddEach(std::move(copies));
}

Dictionary::Dictionary() : records_(std::make_unique<std::unique_ptr<WordRecord>[]>(kCapacity)) {}

Dictionary::~Dictionary() = default;

bool Dictionary::Load(const std::string& rootFolder)
{
    return LoadFile(JoinPath(rootFolder, kFileName));
}

bool Dictionary::LoadFile(const std::string& path)
{
    path_ = path;
    FilePtr file = OpenForReading(path, "Cannot open project file (%s), error code (%d)", "Opening Dictionary");
    if (!file)
        return false;
    FileReader reader(file.get());
    if (!reader.ReadHeader(kVersion, kMagic))
        return false;
    int32_t spare = 0;
    int32_t stamp = 0;
    int32_t count = 0;
    if (!reader.ReadInt32(spare) || !reader.ReadInt32(stamp) || !reader.ReadInt32(count))
        return false;
    if (count > kCapacity || !reader.CanHold(count, kMinRecordBytes))
        return false;

    // Read into a fresh table and take it only when the whole file was read, so a
    // damaged file leaves the dictionary as it was instead of half replaced.
    auto table = std::make_unique<std::unique_ptr<WordRecord>[]>(kCapacity);
    for (int32_t i = 0; i < count; ++i) {
        table[i] = std::make_unique<WordRecord>();
        if (!ReadRecord(reader, *table[i], 0))
            return false;
    }
    // Records out of order, or bytes after the last one, are damage that would
    // otherwise pass unseen.
    if (!reader.AtEnd() || !InWordOrder(table.get(), count))
        return false;

    // Only top-level records have bases; an index outside the table names no word.
    for (int32_t i = 0; i < count; ++i) {
        WordRecord& record = *table[i];
        if (record.baseIndex >= 0 && record.baseIndex < count)
            record.base = table[record.baseIndex].get();
        else
            record.baseIndex = -1;
    }

    records_ = std::move(table);
    count_ = count;
    spare_ = spare;
    stamp_ = stamp;
    return true;
}

int32_t Dictionary::Find(std::string_view text) const
{
    int32_t wordIndex = -1;
    Find(text, wordIndex);
    return wordIndex;
}

bool Dictionary::Find(std::string_view text, int32_t& wordIndex) const
{
    wordIndex = -1;
    if (count_ == 0)
        return false;
    // The probe is the text SetText would give a probe record; a plain string
    // spares two list allocations per lookup, which the filler makes by the million.
    const std::string key = UpperCaseWord(text);

    // std::string compares like memcmp: unsigned byte order, as the table is sorted.
    const int lastOrder = key.compare(records_[count_ - 1]->text);
    if (lastOrder > 0)
        return false;
    if (lastOrder == 0) {
        wordIndex = count_ - 1;
        return true;
    }
    const int firstOrder = key.compare(records_[0]->text);
    if (firstOrder < 0)
        return false;
    if (firstOrder == 0) {
        wordIndex = 0;
        return true;
    }
    int32_t lo = 0;
    int32_t hi = count_ - 1;
    while (hi - lo >= 2) {
        const int32_t mid = (lo + hi) / 2;
        const int order = key.compare(records_[mid]->text);
        if (order == 0) {
            wordIndex = mid;
            return true;
        }
        if (order > 0)
            lo = mid;
        else
            hi = mid;
    }
    return false;
}

const WordRecord& Dictionary::Record(int32_t wordIndex) const
{
    assert(wordIndex >= 0 && wordIndex < count_ && "word index outside the table");
    return *records_[wordIndex];
}

} // namespace pelorin
