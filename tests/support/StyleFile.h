#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::test {

/// A stored sentence of a style file, as the file layout has it.
struct TestSentence {
    int32_t key = 0, length = 0;
    std::optional<std::string> text{}; ///< nullopt is stored as an absent text (count 0)
};

/// A sentence with the key and length a scanner gives it: its length, and the
/// distance of that length from 80.
TestSentence SentenceOf(const std::string& text);

/// The fields of a style file, built byte by byte from the file layout,
/// independently of the program's own writer.
struct TestStyle {
    int32_t version = 55;
    std::string magic = "ZASTYLE";
    int32_t status = 1;
    std::optional<std::string> description = std::string("Test");
    int32_t stamp = 1234;
    int32_t capacity = -1; ///< -1: the capacity a list of these words has (1000, 2000, ...)
    std::vector<int32_t> words{};
    std::vector<std::vector<TestSentence>> books{};

    std::string Bytes() const;
    /// Writes the bytes to a path; false when the file cannot be written.
    bool WriteTo(const std::string& path) const;
};

} // namespace pelorin::test
