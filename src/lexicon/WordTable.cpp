#include "lexicon/WordTable.h"

#include "foundation/TextUtil.h"

namespace pelorin {

namespace {

constexpr size_t kFirstSize = 1024;

// FNV-1a over the letters in upper case, so that every spelling of a word lands
// in the same place.
uint32_t HashUpper(std::string_view word)
{
    uint32_t hash = 2166136261u;
    for (char c : word) {
        hash ^= static_cast<uint8_t>(ToUpperAscii(c));
        hash *= 16777619u;
    }
    return hash;
}

bool SameWord(std::string_view listed, std::string_view word, bool anyCase)
{
    if (listed.size() != word.size())
        return false;
    if (!anyCase)
        return listed == word;
    for (size_t i = 0; i < word.size(); ++i)
        if (listed[i] != ToUpperAscii(word[i]))
            return false;
    return true;
}

} // namespace

WordTable::WordTable() : slots_(kFirstSize) {}

std::string_view WordTable::Word(int32_t number) const
{
    const auto w = static_cast<size_t>(number);
    const size_t end = w + 1 < starts_.size() ? starts_[w + 1] : text_.size();
    return std::string_view(text_).substr(starts_[w], end - starts_[w]);
}

size_t WordTable::Place(std::string_view word, uint32_t hash, bool anyCase) const
{
    const size_t mask = slots_.size() - 1;
    for (size_t place = hash & mask;; place = (place + 1) & mask) {
        const Slot& slot = slots_[place];
        if (slot.word == kNone || (slot.hash == hash && SameWord(Word(slot.word), word, anyCase)))
            return place;
    }
}

int32_t WordTable::Add(std::string_view word)
{
    const uint32_t hash = HashUpper(word);
    const size_t place = Place(word, hash, true);
    if (slots_[place].word != kNone)
        return slots_[place].word;
    const int32_t number = Count();
    starts_.push_back(static_cast<uint32_t>(text_.size()));
    for (char c : word)
        text_.push_back(ToUpperAscii(c));
    slots_[place] = {hash, number};
    if (starts_.size() * 2 > slots_.size())
        Grow();
    return number;
}

int32_t WordTable::Find(std::string_view upperWord) const
{
    return slots_[Place(upperWord, HashUpper(upperWord), false)].word;
}

void WordTable::Grow()
{
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.word == kNone)
            continue;
        size_t place = slot.hash & mask;
        while (slots_[place].word != kNone)
            place = (place + 1) & mask;
        slots_[place] = slot;
    }
}

} // namespace pelorin
