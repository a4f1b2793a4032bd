#include "support/StyleFile.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <cstdlib>

namespace pelorin::test {

TestSentence SentenceOf(const std::string& text)
{
    const auto length = static_cast<int32_t>(text.size());
    return {std::abs(length - 80), length, text};
}

std::string TestStyle::Bytes() const
{
    const auto count = static_cast<int32_t>(words.size());
    ByteImage image;
    image.Int32(version).Text(magic).Int32(status).MaybeText(description).Int32(stamp);
    image.Int32s({capacity >= 0 ? capacity : (count / 1000 + 1) * 1000, count});
    for (int32_t word : words)
        image.Int32(word);
    image.Int32(static_cast<int32_t>(books.size()));
    for (const auto& book : books) {
        image.Int32(static_cast<int32_t>(book.size()));
        for (const TestSentence& sentence : book)
            image.Int32s({sentence.key, sentence.length}).MaybeText(sentence.text);
    }
    return image.Bytes();
}

bool TestStyle::WriteTo(const std::string& path) const
{
    return WriteFileBytes(path, Bytes());
}

} // namespace pelorin::test
