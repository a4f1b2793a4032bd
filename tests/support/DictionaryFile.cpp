#include "support/DictionaryFile.h"

#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>

namespace pelorin::test {

void ByteImage::Int32(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void ByteImage::Byte(uint8_t value)
{
    bytes_.push_back(static_cast<char>(value));
}

void ByteImage::Text(const std::string& text)
{
    Int32(static_cast<int32_t>(text.size() + 1));
    bytes_ += text;
    bytes_.push_back('\0');
}

void ByteImage::Record(const TestRecord& record)
{
    Int32(record.lengthOverride >= 0 ? record.lengthOverride : static_cast<int32_t>(record.text.size()));
    Text(record.text);
    Int32(record.kind);
    Int32(record.form);
    Int32(record.baseIndex);
    Int32(static_cast<int32_t>(record.subRecords.size()));
    for (const TestRecord& sub : record.subRecords)
        Record(sub);
    Int32(static_cast<int32_t>(record.definitions.size()));
    for (const TestDefinition& definition : record.definitions) {
        Int32(definition.rank);
        Int32(definition.aux);
        Text(definition.text);
    }
}

bool ByteImage::WriteTo(const std::string& path) const
{
    return WriteFileBytes(path, bytes_);
}

std::string DictionaryBytes(const std::vector<TestRecord>& records, int32_t stamp, int32_t spare,
                            int32_t version, const std::string& magic)
{
    ByteImage image;
    image.Int32(version);
    image.Text(magic);
    image.Int32(spare);
    image.Int32(stamp);
    image.Int32(static_cast<int32_t>(records.size()));
    for (const TestRecord& record : records)
        image.Record(record);
    return image.Bytes();
}

std::vector<TestRecord> PlainWords(std::vector<std::string> words)
{
    std::sort(words.begin(), words.end()); // byte order, as the table needs
    words.erase(std::unique(words.begin(), words.end()), words.end());
    std::vector<TestRecord> records;
    for (const std::string& word : words) {
        TestRecord record;
        record.text = word;
        record.definitions.push_back({0, 0, "definition of " + word});
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<std::string> AbcWords(int minLength, int maxLength, char lastLetter)
{
    std::vector<std::string> words;
    for (int length = minLength; length <= maxLength; ++length) {
        std::string word(static_cast<size_t>(length), 'A');
        for (;;) {
            words.push_back(word);
            // Count up in base (lastLetter - 'A' + 1), last letter fastest.
            int i = length - 1;
            while (i >= 0 && word[static_cast<size_t>(i)] == lastLetter)
                word[static_cast<size_t>(i--)] = 'A';
            if (i < 0)
                break;
            ++word[static_cast<size_t>(i)];
        }
    }
    return words;
}

std::string WriteDictionary(const std::string& folder, const std::vector<TestRecord>& records, int32_t stamp)
{
    const std::string path = (std::filesystem::path(folder) / "Zanth.dct").string();
    WriteFileBytes(path, DictionaryBytes(records, stamp));
    return path;
}

} // namespace pelorin::test
