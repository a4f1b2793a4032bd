#include "game/ClueChoice.h"

#include "foundation/TextUtil.h"
#include "game/Game.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace pelorin {

namespace {

// Quotes longer than this are cut to an excerpt around the blank.
constexpr size_t kLongQuote = 150;
// The excerpt starts this far before the blank, so the reader sees the context
// that leads up to the answer.
constexpr size_t kLeadIn = 120;
// An excerpt holds at most this many characters before its closing "...".
constexpr size_t kExcerptLength = 146;
constexpr std::string_view kEllipsis = "...";
constexpr std::string_view kBlank = "___";

constexpr size_t kMaxDefinitions = 10;
// Definitions ranked this or higher are secondary senses, kept only when a word
// has nothing better.
constexpr int32_t kSecondaryRank = 500;

// The word index of an upper-case word, or -1: the bisection of Dictionary::Find
// without the probe record it builds, since the masking looks up every word of
// every quote.
int32_t IndexOf(const Dictionary& dictionary, std::string_view upper)
{
    int32_t low = 0;
    int32_t high = dictionary.Count();
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        const int order = std::string_view(dictionary.Record(middle).text).compare(upper);
        if (order == 0)
            return middle;
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return -1;
}

// Runs `work` on every entry, Across then Down, until keepRunning is cleared.
template <typename Work>
void ForEachEntry(Game& game, const std::atomic<bool>& keepRunning, Work&& work)
{
    for (ItemList<Entry>* list : {&game.Across(), &game.Down()}) {
        for (Entry* entry : *list) {
            if (!keepRunning.load(std::memory_order_relaxed))
                break;
            work(*entry);
        }
    }
}

} // namespace

void CollectMatches(Entry& entry, const Style& style)
{
    // EntryText spells the answer in capitals, the case the books are searched in.
    EntryText(entry);
    const std::string_view answer = TextOf(entry.text);
    entry.matches.Clear();
    style.CollectQuotations(answer, entry.matches);
}

void MaskAnswer(Quote& quote, std::string_view word)
{
    // An empty word would be found everywhere and never used up.
    if (!quote.text || word.empty())
        return;
    std::string& text = *quote.text;
    std::string upper = ToUpperAscii(text);
    const size_t length = word.size();
    size_t pos = upper.find(word);
    while (pos != std::string::npos) {
        const bool letterBefore = pos > 0 && IsAsciiLetter(upper[pos - 1]);
        const bool letterAfter = pos + length < upper.size() && IsAsciiLetter(upper[pos + length]);
        upper.replace(pos, length, length, '_');
        if (!letterBefore && !letterAfter)
            text.replace(pos, length, length, '_');
        // The occurrence is underscores now and a word has none, so no later
        // occurrence can start inside it: searching on from its end finds what a
        // search from the start would.
        pos = upper.find(word, pos + length);
    }
}

void ShortenQuote(Quote& quote)
{
    if (!quote.text)
        return;
    const std::string& text = *quote.text;
    const size_t blank = text.find(kBlank);
    if (text.size() <= kLongQuote || blank == std::string::npos)
        return;
    size_t start = blank > kLeadIn ? blank - kLeadIn : 0;
    std::string excerpt;
    excerpt.reserve(kExcerptLength + kEllipsis.size());
    if (start > 0) {
        // Begin at a word boundary rather than inside a word.
        start = text.find(' ', start);
        if (start == std::string::npos)
            start = text.size();
        excerpt = kEllipsis;
    }
    for (size_t i = start; i < text.size(); ++i) {
        excerpt.push_back(text[i]);
        // The closing "..." marks a cut, so it comes only when text remains.
        if (excerpt.size() >= kExcerptLength && i + 1 < text.size()) {
            // A blank cut in two would show the answer one letter short: the cut
            // goes before it.
            if (text[i] == '_' && text[i + 1] == '_')
                while (!excerpt.empty() && excerpt.back() == '_')
                    excerpt.pop_back();
            excerpt += kEllipsis;
            break;
        }
    }
    quote.text = std::move(excerpt);
}

namespace {

// The other forms of one answer, found word by word in its quotes: the answer, its
// base, and every form of either are one family. A form begins as its base does
// (rod, rods; run, ran; sing, sang) and is at most a few letters longer or shorter
// (running, ran), or is short (eat, ate; go, went), so only such words are looked
// up, each once for all the answer's quotes: a lookup walks through the table.
class FormMasker {
public:
    FormMasker(std::string_view word, const Dictionary& dictionary) : word_(word), dictionary_(dictionary)
    {
        answer_ = dictionary.Find(word);
        answerBase_ = answer_ >= 0 ? dictionary.Record(answer_).baseIndex : -1;
        base_ = answerBase_ >= 0 ? std::string_view(dictionary.Record(answerBase_).text) : word;
    }

    void Mask(Quote& quote)
    {
        if (!quote.text || answer_ < 0)
            return;
        std::string& text = *quote.text;
        ForEachLetterRun(std::string_view(text), [&](std::string_view token, size_t at) {
            if (MayBeForm(token) && IsForm(ToUpperAscii(token)))
                std::fill_n(text.begin() + static_cast<std::ptrdiff_t>(at), token.size(), '_');
            return true;
        });
    }

private:
    bool MayBeForm(std::string_view token) const
    {
        const char initial = ToUpperAscii(token.front());
        if (initial != word_.front() && initial != base_.front())
            return token.size() <= 4 && base_.size() <= 4;
        return token.size() + 2 >= std::min(word_.size(), base_.size()) &&
               token.size() <= std::max(word_.size(), base_.size()) + 4;
    }

    bool IsForm(const std::string& upper)
    {
        const auto known = seen_.find(upper);
        if (known != seen_.end())
            return known->second;
        const int32_t other = IndexOf(dictionary_, upper);
        bool related = false;
        if (other >= 0 && other != answer_) {
            const int32_t otherBase = dictionary_.Record(other).baseIndex;
            related = other == answerBase_ || otherBase == answer_ || (answerBase_ >= 0 && otherBase == answerBase_);
        }
        seen_.emplace(upper, related);
        return related;
    }

    std::string_view word_;
    const Dictionary& dictionary_;
    int32_t answer_ = -1;
    int32_t answerBase_ = -1;
    std::string_view base_;
    std::unordered_map<std::string, bool> seen_;
};

} // namespace

void MaskOtherForms(Quote& quote, std::string_view word, const Dictionary& dictionary)
{
    FormMasker(word, dictionary).Mask(quote);
}

void BuildQuotes(Entry& entry, const Dictionary& dictionary)
{
    const std::string_view answer = TextOf(entry.text);
    // A sentence found twice (in two books, or twice in one), or two that read the
    // same as excerpts, make one hint.
    std::unordered_set<std::string> shown;
    FormMasker forms(answer, dictionary);
    for (const Quotation* quotation : entry.matches) {
        auto quote = std::make_unique<Quote>();
        quote->key = quotation->key;
        quote->text = quotation->text;
        quote->length = quotation->length;
        // A player takes any underscore for a blank; the book's own are no blanks.
        if (quote->text)
            std::replace(quote->text->begin(), quote->text->end(), '_', '-');
        MaskAnswer(*quote, answer);
        forms.Mask(*quote);
        ShortenQuote(*quote);
        if (!shown.insert(std::string(TextOf(quote->text))).second)
            continue;
        entry.quotes.Add(std::move(quote));
    }
}

void ChooseDefinitions(Entry& entry, const Dictionary& dictionary)
{
    EntryText(entry);
    int32_t wordIndex = -1;
    if (dictionary.Find(TextOf(entry.text), wordIndex)) {
        const DictionaryWord& record = dictionary.Record(wordIndex);
        entry.word = &record;
        record.CollectDefinitions(entry.definitions);
        entry.form = record.form;
    }
    DefinitionList& definitions = entry.definitions;
    while (definitions.Count() > static_cast<int32_t>(kMaxDefinitions))
        definitions.RemoveAt(definitions.Count() - 1);
    // The list is in rank order, so the secondary senses are its tail.
    int32_t secondary = 0;
    for (const Definition* definition : definitions)
        if (definition->rank >= kSecondaryRank)
            ++secondary;
    if (secondary == definitions.Count())
        --secondary;
    for (int32_t i = 0; i < secondary; ++i)
        definitions.RemoveAt(definitions.Count() - 1);
}

void ChooseClues(Game& game, const Style& style, const std::atomic<bool>& keepRunning)
{
    const Dictionary& dictionary = style.Lexicon();
    ForEachEntry(game, keepRunning, [&](Entry& entry) { CollectMatches(entry, style); });
    ForEachEntry(game, keepRunning, [&](Entry& entry) { BuildQuotes(entry, dictionary); });
    ForEachEntry(game, keepRunning, [&](Entry& entry) { ChooseDefinitions(entry, dictionary); });
}

} // namespace pelorin
