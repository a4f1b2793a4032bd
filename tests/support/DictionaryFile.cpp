#include "support/DictionaryFile.h"

#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>

namespace pelorin::test {

ByteImage& ByteImage::Int32(int32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes_.push_back(static_cast<char>((static_cast<uint32_t>(value) >> shift) & 0xFF));
    return *this;
}

ByteImage& ByteImage::Int32s(std::initializer_list<int32_t> values)
{
    for (int32_t value : values)
        Int32(value);
    return *this;
}

ByteImage& ByteImage::Byte(uint8_t value)
{
    bytes_.push_back(static_cast<char>(value));
    return *this;
}

ByteImage& ByteImage::Text(const std::string& text)
{
    Int32(static_cast<int32_t>(text.size() + 1));
    bytes_.append(text.c_str(), text.size() + 1);
    return *this;
}

ByteImage& ByteImage::Record(const TestRecord& record)
{
    Int32(record.lengthOverride >= 0 ? record.lengthOverride : static_cast<int32_t>(record.text.size()));
    Text(record.text).Int32s({record.kind, record.form, record.baseIndex});
    Int32(static_cast<int32_t>(record.subRecords.size()));
    for (const TestRecord& sub : record.subRecords)
        Record(sub);
    Int32(static_cast<int32_t>(record.definitions.size()));
    for (const TestDefinition& definition : record.definitions)
        Int32s({definition.rank, definition.aux}).Text(definition.text);
    return *this;
}

bool ByteImage::WriteTo(const std::string& path) const
{
    return WriteFileBytes(path, bytes_);
}

std::string DictionaryBytes(const std::vector<TestRecord>& records, int32_t stamp, int32_t spare,
                            int32_t version, const std::string& magic)
{
    ByteImage image;
    image.Int32(version).Text(magic).Int32s({spare, stamp, static_cast<int32_t>(records.size())});
    for (const TestRecord& record : records)
        image.Record(record);
    return image.Bytes();
}

std::vector<TestRecord> PlainWords(std::vector<std::string> words)
{
    std::sort(words.begin(), words.end()); // byte order, as the table needs
    words.erase(std::unique(words.begin(), words.end()), words.end());
    std::vector<TestRecord> records;
    for (const std::string& word : words)
        records.push_back({.text = word, .definitions = {{0, 0, "definition of " + word}}});
    return records;
}

std::vector<std::string> AbcWords(int minLength, int maxLength, char lastLetter)
{
    std::vector<std::string> words;
    for (int length = minLength; length <= maxLength; ++length) {
        // Count up in base (lastLetter - 'A' + 1), last letter fastest.
        for (std::string word(static_cast<size_t>(length), 'A');;) {
            words.push_back(word);
            const size_t last = word.find_last_not_of(lastLetter);
            if (last == std::string::npos)
                break;
            ++word[last];
            std::fill(word.begin() + static_cast<std::ptrdiff_t>(last) + 1, word.end(), 'A');
        }
    }
    return words;
}

std::string CountedWord(int32_t number)
{
    return {char('A' + number / 17576), char('A' + number / 676 % 26), char('A' + number / 26 % 26),
            char('A' + number % 26)};
}

std::string WriteDictionary(const std::string& folder, const std::vector<TestRecord>& records, int32_t stamp)
{
    const std::string path = (std::filesystem::path(folder) / "Zanth.dct").string();
    WriteFileBytes(path, DictionaryBytes(records, stamp));
    return path;
}

} // namespace pelorin::test
