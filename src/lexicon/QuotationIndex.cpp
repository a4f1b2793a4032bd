#include "lexicon/QuotationIndex.h"

#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "lexicon/Style.h"

namespace pelorin {

QuotationIndex::QuotationIndex(const ItemList<Book>& books)
{
    // Pairs of word and sentence, in sentence order; a sentence names a word once.
    std::vector<std::pair<int32_t, int32_t>> pairs;
    std::vector<int32_t> lastSentence;
    std::vector<std::string_view> words; // of one sentence, cut down to their letters
    int32_t bookPosition = 0;
    for (const Book* book : books) {
        for (Quotation* sentence : book->sentences) {
            const auto number = static_cast<int32_t>(sentences_.size());
            sentences_.push_back(sentence);
            books_.push_back(bookPosition);
            // The sentence's letter mask, from the words the index reads anyway.
            words.clear();
            uint32_t mask = 0;
            ForEachToken(TextOf(sentence->text), [&](std::string_view token) {
                const std::string_view word = TrimToLetters(token);
                if (!word.empty()) {
                    words.push_back(word);
                    mask |= Quotation::MaskBit(word);
                }
            });
            for (std::string_view word : words) {
                if ((mask & (1u << (ToUpperAscii(word[0]) - 'A'))) == 0)
                    continue;
                const int32_t id = words_.Add(word);
                if (static_cast<size_t>(id) == lastSentence.size())
                    lastSentence.push_back(-1);
                if (lastSentence[static_cast<size_t>(id)] == number)
                    continue;
                lastSentence[static_cast<size_t>(id)] = number;
                pairs.emplace_back(id, number);
            }
        }
        ++bookPosition;
    }

    // Group the sentence numbers by word; the pairs come in sentence order and are
    // placed in that order, so every word's numbers ascend.
    firsts_.assign(static_cast<size_t>(words_.Count()) + 1, 0);
    for (const auto& [word, number] : pairs)
        ++firsts_[static_cast<size_t>(word) + 1];
    for (size_t w = 1; w < firsts_.size(); ++w)
        firsts_[w] += firsts_[w - 1];
    numbers_.resize(pairs.size());
    std::vector<uint32_t> next(firsts_.begin(), firsts_.end() - 1);
    for (const auto& [word, number] : pairs)
        numbers_[next[static_cast<size_t>(word)]++] = number;
}

std::span<const int32_t> QuotationIndex::Find(std::string_view upperWord) const
{
    const int32_t word = words_.Find(upperWord);
    if (word == WordTable::kNone)
        return {};
    const auto w = static_cast<size_t>(word);
    return std::span<const int32_t>(numbers_).subspan(firsts_[w], firsts_[w + 1] - firsts_[w]);
}

void QuotationIndex::CollectQuotations(std::string_view upperWord, ItemList<Quotation>& target) const
{
    int32_t fullBook = -1;
    for (int32_t number : Find(upperWord)) {
        const int32_t book = BookOf(number);
        if (book == fullBook)
            continue;
        target.Add(Sentence(number));
        // Checked after each addition, as each book does.
        if (target.Count() > Book::kMaxQuotations)
            fullBook = book;
    }
}

} // namespace pelorin
