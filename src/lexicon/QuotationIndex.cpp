#include "lexicon/QuotationIndex.h"

#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "lexicon/Style.h"

#include <algorithm>

namespace pelorin {

namespace {

constexpr size_t kFirstTableSize = 1024;

// FNV-1a over the upper-case letters, so that every spelling of a word lands in
// the same slot.
uint32_t HashUpper(std::string_view word)
{
    uint32_t hash = 2166136261u;
    for (char c : word) {
        hash ^= static_cast<uint8_t>(ToUpperAscii(c));
        hash *= 16777619u;
    }
    return hash;
}

// Whether a listed word (upper case) is the text: letter for letter when `upper`
// says the text may be in any case, else byte for byte.
bool SameWord(std::string_view listed, std::string_view text, bool upper)
{
    if (listed.size() != text.size())
        return false;
    if (!upper)
        return listed == text;
    for (size_t i = 0; i < text.size(); ++i)
        if (listed[i] != ToUpperAscii(text[i]))
            return false;
    return true;
}

} // namespace

QuotationIndex::QuotationIndex(const ItemList<Book>& books)
{
    slots_.resize(kFirstTableSize);
    // Pairs of word and sentence, in sentence order; a sentence names a word once.
    std::vector<std::pair<int32_t, int32_t>> pairs;
    std::vector<int32_t> lastSentence;
    int32_t bookPosition = 0;
    for (const Book* book : books) {
        for (Quotation* sentence : book->sentences) {
            const auto number = static_cast<int32_t>(sentences_.size());
            sentences_.push_back(sentence);
            books_.push_back(bookPosition);
            const auto mask = static_cast<uint32_t>(sentence->LetterMask());
            ForEachToken(TextOf(sentence->text), [&](std::string_view token) {
                const std::string_view word = TrimToLetters(token);
                // The mask holds the initials of the words of three letters or more.
                if (word.empty() || (mask & (1u << (ToUpperAscii(word[0]) - 'A'))) == 0)
                    return;
                const int32_t id = Intern(word);
                if (static_cast<size_t>(id) == lastSentence.size())
                    lastSentence.push_back(-1);
                if (lastSentence[static_cast<size_t>(id)] == number)
                    return;
                lastSentence[static_cast<size_t>(id)] = number;
                pairs.emplace_back(id, number);
            });
        }
        ++bookPosition;
    }

    // Group the sentence numbers by word; the pairs come in sentence order and are
    // placed in that order, so every word's numbers ascend.
    firsts_.assign(wordStarts_.size() + 1, 0);
    for (const auto& [word, number] : pairs)
        ++firsts_[static_cast<size_t>(word) + 1];
    for (size_t w = 1; w < firsts_.size(); ++w)
        firsts_[w] += firsts_[w - 1];
    numbers_.resize(pairs.size());
    std::vector<uint32_t> next(firsts_.begin(), firsts_.end() - 1);
    for (const auto& [word, number] : pairs)
        numbers_[next[static_cast<size_t>(word)]++] = number;
}

std::string_view QuotationIndex::Word(int32_t word) const
{
    const auto w = static_cast<size_t>(word);
    const size_t end = w + 1 < wordStarts_.size() ? wordStarts_[w + 1] : text_.size();
    return std::string_view(text_).substr(wordStarts_[w], end - wordStarts_[w]);
}

size_t QuotationIndex::Slot(std::string_view word, uint32_t hash, bool upper) const
{
    const size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Entry& entry = slots_[slot];
        if (entry.word == kNoWord || (entry.hash == hash && SameWord(Word(entry.word), word, upper)))
            return slot;
    }
}

int32_t QuotationIndex::Intern(std::string_view word)
{
    const uint32_t hash = HashUpper(word);
    const size_t slot = Slot(word, hash, true);
    if (slots_[slot].word != kNoWord)
        return slots_[slot].word;
    const auto id = static_cast<int32_t>(wordStarts_.size());
    wordStarts_.push_back(static_cast<uint32_t>(text_.size()));
    for (char c : word)
        text_.push_back(ToUpperAscii(c));
    slots_[slot] = {hash, id};
    if (wordStarts_.size() * 2 > slots_.size())
        Grow();
    return id;
}

void QuotationIndex::Grow()
{
    std::vector<Entry> old(slots_.size() * 2);
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Entry& entry : old) {
        if (entry.word == kNoWord)
            continue;
        size_t slot = entry.hash & mask;
        while (slots_[slot].word != kNoWord)
            slot = (slot + 1) & mask;
        slots_[slot] = entry;
    }
}

std::span<const int32_t> QuotationIndex::Find(std::string_view upperWord) const
{
    if (slots_.empty() || upperWord.empty())
        return {};
    const int32_t word = slots_[Slot(upperWord, HashUpper(upperWord), false)].word;
    if (word == kNoWord)
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
