#include "lexicon/Dictionary.h"

#include "foundation/KeyedOrder.h"
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

// The rank a definition of a record of this kind is collected with. A damaged rank
// near the top of the range must not wrap round to the front.
int32_t AdjustedRank(int32_t rank, int32_t kind)
{
    const int32_t penalty = kind == kKeepRanksKind ? 0 : kRankPenalty;
    return rank > std::numeric_limits<int32_t>::max() - penalty ? std::numeric_limits<int32_t>::max()
                                                                 : rank + penalty;
}

// Walks one word record (top-level or sub-record) in the file's bytes, checking
// that the file supplies it whole; fills `word` with a top-level record's fields
// and `body` with where its sub-record count lies.
bool ScanRecord(ByteReader& in, int depth, DictionaryWord* word = nullptr, const char** body = nullptr)
{
    int32_t length = 0;
    int32_t kind = 0;
    int32_t form = 0;
    int32_t baseIndex = 0;
    std::string_view text;
    if (!in.ReadInt32(length) || !in.ReadText(text) || !in.ReadInt32(kind) || !in.ReadInt32(form) ||
        !in.ReadInt32(baseIndex))
        return false;
    if (body)
        *body = in.Position();
    int32_t subCount = 0;
    if (!in.ReadInt32(subCount))
        return false;
    if (subCount != 0) {
        if (depth >= Dictionary::kMaxNesting || !in.CanHold(subCount, kMinRecordBytes))
            return false;
        for (int32_t i = 0; i < subCount; ++i) {
            if (!ScanRecord(in, depth + 1))
                return false;
        }
    }
    int32_t definitionCount = 0;
    if (!in.ReadInt32(definitionCount) || !in.CanHold(definitionCount, kMinDefinitionBytes))
        return false;
    for (int32_t i = 0; i < definitionCount; ++i) {
        int32_t rank = 0;
        int32_t aux = 0;
        std::string_view definition;
        if (!in.ReadInt32(rank) || !in.ReadInt32(aux) || !in.ReadText(definition))
            return false;
    }
    if (word) {
        word->text = text;
        word->length = length;
        word->kind = kind;
        word->form = form;
        word->baseIndex = baseIndex;
    }
    return true;
}

// Reads bytes that ScanRecord has already checked.
class CheckedBytes {
public:
    explicit CheckedBytes(const char* at) : at_(at) {}

    int32_t Int32()
    {
        const int32_t value = LoadInt32(at_);
        at_ += 4;
        return value;
    }
    StoredText Text()
    {
        const int32_t count = Int32();
        if (count == 0)
            return std::nullopt;
        const char* start = at_;
        at_ += count;
        return std::string(start, strnlen(start, static_cast<size_t>(count)));
    }
    void SkipText() { at_ += Int32(); }
    // Skips length, text, kind and form of a record, then gives its kind.
    int32_t SkipToKind()
    {
        at_ += 4;
        SkipText();
        return Int32();
    }
private:
    const char* at_;
};

// Collects the definitions of the record whose body (sub-record count onwards)
// starts at `in`, leaving `in` after the record: the sub-records' definitions
// when it has sub-records, its own otherwise.
void CollectFrom(CheckedBytes& in, int32_t kind, std::vector<std::unique_ptr<Definition>>& copies)
{
    const int32_t subCount = in.Int32();
    for (int32_t i = 0; i < subCount; ++i) {
        const int32_t subKind = in.SkipToKind();
        in.Int32(); // form
        in.Int32(); // base index
        CollectFrom(in, subKind, copies);
    }
    const int32_t definitionCount = in.Int32();
    if (subCount > 0) {
        for (int32_t i = 0; i < definitionCount; ++i) {
            in.Int32();
            in.Int32();
            in.SkipText();
        }
        return;
    }
    // A record's definitions come in the order that placing them one by one in a
    // rank-sorted list gives, as a list read from the file would hold them.
    std::vector<std::unique_ptr<Definition>> own;
    std::vector<int32_t> ranks;
    own.reserve(static_cast<size_t>(definitionCount));
    ranks.reserve(static_cast<size_t>(definitionCount));
    for (int32_t i = 0; i < definitionCount; ++i) {
        auto definition = std::make_unique<Definition>();
        definition->rank = in.Int32();
        definition->aux = in.Int32();
        definition->text = in.Text();
        ranks.push_back(definition->rank);
        own.push_back(std::move(definition));
    }
    for (const int32_t from : KeyedInsertionOrder(ranks, 0)) {
        auto& definition = own[static_cast<size_t>(from)];
        definition->rank = AdjustedRank(definition->rank, kind);
        copies.push_back(std::move(definition));
    }
}

// Whether the texts of the top-level records rise strictly in unsigned byte order,
// as the lookup's bisection needs: in a table out of order, words that are there
// are not found, and nothing tells why.
bool InWordOrder(const std::vector<DictionaryWord>& words)
{
    for (size_t i = 1; i < words.size(); ++i) {
        // string_view compares like memcmp: unsigned byte order.
        if (words[i - 1].text.compare(words[i].text) >= 0)
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

void DictionaryWord::CollectDefinitions(DefinitionList& target) const
{
    // An inflected form borrows from its base word. A damaged file can link bases
    // in a circle; no honest chain is longer than the table, so a longer walk is a
    // circle and yields nothing rather than spinning for ever.
    const DictionaryWord* word = this;
    int32_t steps = 0;
    while (LoadInt32(word->body_) == 0 && word->base) {
        if (++steps > Dictionary::kCapacity)
            return;
        word = word->base;
    }
    std::vector<std::unique_ptr<Definition>> copies;
    CheckedBytes in(word->body_);
    CollectFrom(in, word->kind, copies);
    target.AddEach(std::move(copies));
}

Dictionary::Dictionary() = default;

Dictionary::~Dictionary() = default;

bool Dictionary::Load(const std::string& rootFolder)
{
    return LoadFile(JoinPath(rootFolder, kFileName));
}

bool Dictionary::LoadFile(const std::string& path)
{
    path_ = path;
    FileBytes bytes;
    {
        FilePtr file = OpenForReading(path, "Cannot open project file (%s), error code (%d)", "Opening Dictionary");
        if (!file || !ReadToEnd(file.get(), bytes))
            return false;
    }
    ByteReader in(bytes.View());
    if (!in.ReadHeader(kVersion, kMagic))
        return false;
    int32_t spare = 0;
    int32_t stamp = 0;
    int32_t count = 0;
    if (!in.ReadInt32(spare) || !in.ReadInt32(stamp) || !in.ReadInt32(count))
        return false;
    if (count > kCapacity || !in.CanHold(count, kMinRecordBytes))
        return false;

    // Index a fresh table and take it only when the whole file was read, so a
    // damaged file leaves the dictionary as it was instead of half replaced.
    std::vector<DictionaryWord> words(static_cast<size_t>(count));
    for (DictionaryWord& word : words) {
        if (!ScanRecord(in, 0, &word, &word.body_))
            return false;
    }
    // Records out of order, or bytes after the last one, are damage that would
    // otherwise pass unseen.
    if (!in.AtEnd() || !InWordOrder(words))
        return false;

    // Only top-level records have bases; an index outside the table names no word.
    for (DictionaryWord& word : words) {
        if (word.baseIndex >= 0 && word.baseIndex < count)
            word.base = &words[static_cast<size_t>(word.baseIndex)];
        else
            word.baseIndex = -1;
    }

    bytes_ = std::move(bytes);
    words_ = std::move(words);
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
    const int lastOrder = key.compare(words_[static_cast<size_t>(count_ - 1)].text);
    if (lastOrder > 0)
        return false;
    if (lastOrder == 0) {
        wordIndex = count_ - 1;
        return true;
    }
    const int firstOrder = key.compare(words_[0].text);
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
        const int order = key.compare(words_[static_cast<size_t>(mid)].text);
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

const DictionaryWord& Dictionary::Record(int32_t wordIndex) const
{
    assert(wordIndex >= 0 && wordIndex < count_ && "word index outside the table");
    return words_[static_cast<size_t>(wordIndex)];
}

} // namespace pelorin
