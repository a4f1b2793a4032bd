#include "lexicon/DictionaryWriter.h"

#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

namespace pelorin {

namespace {

// Hashes the bytes a FileWriter would write (FNV-1a, 32 bits), so the stamp is
// taken from exactly the content of the file without holding it in memory.
class HashingWriter {
public:
    void WriteInt32(int32_t value)
    {
        const auto v = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            Byte(static_cast<uint8_t>(v >> shift));
    }
    void WriteText(const StoredText& text)
    {
        if (!text) {
            WriteInt32(0);
            return;
        }
        WriteText(std::string_view(*text));
    }
    void WriteText(std::string_view text)
    {
        // Kept up to the first zero byte, as FileWriter writes it.
        const std::string_view kept = text.substr(0, text.find('\0'));
        WriteInt32(static_cast<int32_t>(kept.size() + 1));
        for (char c : kept)
            Byte(static_cast<uint8_t>(c));
        Byte(0);
    }
    uint32_t Hash() const { return hash_; }

private:
    void Byte(uint8_t byte)
    {
        hash_ ^= byte;
        hash_ *= 16777619u;
    }

    uint32_t hash_ = 2166136261u;
};

// One record in the file's field order; the same code feeds the hash and the file,
// so the two can never disagree.
template <typename Writer>
void WriteRecord(Writer& out, const WordRecord& record)
{
    out.WriteInt32(record.length);
    out.WriteText(std::string_view(record.text));
    out.WriteInt32(record.kind);
    out.WriteInt32(record.form);
    out.WriteInt32(record.baseIndex);
    out.WriteInt32(record.subRecords.Count());
    for (const WordRecord* sub : record.subRecords)
        WriteRecord(out, *sub);
    out.WriteInt32(record.definitions.Count());
    // Rank order: the reader sorts by rank anyway, and this keeps a file that was
    // read and written back the same.
    for (const Definition* definition : record.definitions) {
        out.WriteInt32(definition->rank);
        out.WriteInt32(definition->aux);
        out.WriteText(definition->text);
    }
}

template <typename Writer>
void WriteBody(Writer& out, std::span<const std::unique_ptr<WordRecord>> records)
{
    out.WriteInt32(static_cast<int32_t>(records.size()));
    for (const auto& record : records)
        WriteRecord(out, *record);
}

bool NestingWithin(const WordRecord& record, int depth)
{
    if (record.subRecords.Empty())
        return true;
    if (depth >= Dictionary::kMaxNesting)
        return false;
    for (const WordRecord* sub : record.subRecords)
        if (!NestingWithin(*sub, depth + 1))
            return false;
    return true;
}

// The pattern query takes a word's length from its length field and packs its text
// as letters A-Z; a top-level record that breaks either would match patterns it does
// not fit, or miss those it does.
bool PatternReady(const WordRecord& record)
{
    return record.length == static_cast<int64_t>(record.text.size()) &&
           std::all_of(record.text.begin(), record.text.end(), IsUpperLetter);
}

} // namespace

bool DictionaryWriter::Valid() const
{
    const auto count = static_cast<int64_t>(records_.size());
    if (count > Dictionary::kCapacity)
        return false;
    for (int64_t i = 0; i < count; ++i) {
        const WordRecord* record = records_[static_cast<size_t>(i)].get();
        if (!record)
            return false;
        // std::string compares like memcmp: unsigned byte order, the order Find bisects.
        if (i > 0 && records_[static_cast<size_t>(i - 1)]->text.compare(record->text) >= 0)
            return false;
        if (!PatternReady(*record))
            return false;
        if (record->baseIndex < -1 || record->baseIndex >= count)
            return false;
        if (!NestingWithin(*record, 0))
            return false;
    }
    return true;
}

int32_t DictionaryWriter::ContentStamp(int32_t spare) const
{
    HashingWriter hash;
    hash.WriteInt32(Dictionary::kVersion);
    hash.WriteText(std::string_view(Dictionary::kMagic));
    hash.WriteInt32(spare);
    WriteBody(hash, records_);
    const int32_t stamp = static_cast<int32_t>(hash.Hash() & 0x7FFFFFFFu);
    return stamp == 0 ? 1 : stamp;
}

bool DictionaryWriter::Write(const std::string& path, int32_t stamp, int32_t spare) const
{
    if (!Valid()) {
        errno = EINVAL;
        return false;
    }
    ReplacingFile file;
    if (!file.Open(path))
        return false;
    FileWriter out(file.Get());
    out.WriteInt32(Dictionary::kVersion);
    out.WriteText(std::string_view(Dictionary::kMagic));
    out.WriteInt32(spare);
    out.WriteInt32(stamp);
    WriteBody(out, records_);
    // errno from a failed write survives Commit's clean-up only by luck; keep it.
    const int writeError = out.Ok() ? 0 : errno;
    if (!file.Commit(out.Ok())) {
        if (writeError != 0)
            errno = writeError;
        return false;
    }
    return true;
}

} // namespace pelorin
