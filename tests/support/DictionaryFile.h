#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::test {

/// Builds dictionary files byte by byte from the file layout, independently of the
/// program's own writers, so that tests check the readers against the layout itself.
struct TestDefinition {
    int32_t rank = 0, aux = 0;
    std::string text{};
};

struct TestRecord {
    std::string text{}; ///< stored as given; length is its size unless lengthOverride >= 0
    int32_t kind = 3, form = 0, baseIndex = -1;
    std::vector<TestRecord> subRecords{};
    std::vector<TestDefinition> definitions{};
    int32_t lengthOverride = -1;
};

/// Little-endian bytes of the stored values; each call returns the image, so that
/// a layout reads as one chain.
class ByteImage {
public:
    ByteImage& Int32(int32_t value);
    ByteImage& Int32s(std::initializer_list<int32_t> values);
    ByteImage& Byte(uint8_t value);
    /// A stored text: count including the zero byte, then the bytes.
    ByteImage& Text(const std::string& text);
    ByteImage& AbsentText() { return Int32(0); }
    /// A text, or the count 0 alone for nullopt.
    ByteImage& MaybeText(const std::optional<std::string>& text) { return text ? Text(*text) : AbsentText(); }
    ByteImage& Record(const TestRecord& record);
    const std::string& Bytes() const { return bytes_; }
    bool WriteTo(const std::string& path) const;

private:
    std::string bytes_;
};

/// The bytes of a whole dictionary file (version 54, "ZANTH") holding the records
/// in the order given.
std::string DictionaryBytes(const std::vector<TestRecord>& records, int32_t stamp = 1234, int32_t spare = 0,
                            int32_t version = 54, const std::string& magic = "ZANTH");
/// Plain words with one definition each ("definition of WORD", rank 0), sorted
/// into the table order the dictionary requires.
std::vector<TestRecord> PlainWords(std::vector<std::string> words);
/// Every word of minLength to maxLength letters over the letters A to lastLetter,
/// in counting order. With A, B and C, whatever letters crossing entries leave in a
/// line, words still fit it, so fills with these words succeed within a few passes.
std::vector<std::string> AbcWords(int minLength, int maxLength, char lastLetter = 'C');
/// Four capital letters that count up with the number (AAAA, AAAB, ...), in byte
/// order: tables of any size up to 26^4 words.
std::string CountedWord(int32_t number);
/// Writes Zanth.dct with these records into a folder; returns the file's path.
std::string WriteDictionary(const std::string& folder, const std::vector<TestRecord>& records,
                            int32_t stamp = 1234);

} // namespace pelorin::test
