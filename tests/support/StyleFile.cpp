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
    ByteImage image;
    image.Int32(version);
    image.Text(magic);
    image.Int32(status);
    if (description)
        image.Text(*description);
    else
        image.AbsentText();
    image.Int32(stamp);
    const auto count = static_cast<int32_t>(words.size());
    image.Int32(capacity >= 0 ? capacity : (count / 1000 + 1) * 1000);
    image.Int32(count);
    for (int32_t word : words)
        image.Int32(word);
    image.Int32(static_cast<int32_t>(books.size()));
    for (const auto& book : books) {
        image.Int32(static_cast<int32_t>(book.size()));
        for (const TestSentence& sentence : book) {
            image.Int32(sentence.key);
            image.Int32(sentence.length);
            if (sentence.text)
                image.Text(*sentence.text);
            else
                image.AbsentText();
        }
    }
    return image.Bytes();
}

bool TestStyle::WriteTo(const std::string& path) const
{
    return WriteFileBytes(path, Bytes());
}

} // namespace pelorin::test
