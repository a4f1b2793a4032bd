#include "game/ClueChoice.h"

#include "foundation/TextUtil.h"
#include "game/Game.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <memory>
#include <string>

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
            excerpt += kEllipsis;
            break;
        }
    }
    quote.text = std::move(excerpt);
}

void BuildQuotes(Entry& entry)
{
    const std::string_view answer = TextOf(entry.text);
    for (const Quotation* quotation : entry.matches) {
        auto quote = std::make_unique<Quote>();
        quote->key = quotation->key;
        quote->text = quotation->text;
        quote->length = quotation->length;
        MaskAnswer(*quote, answer);
        ShortenQuote(*quote);
        entry.quotes.Add(std::move(quote));
    }
}

void ChooseDefinitions(Entry& entry, const Dictionary& dictionary)
{
    EntryText(entry);
    int32_t wordIndex = -1;
    if (dictionary.Find(TextOf(entry.text), wordIndex)) {
        const WordRecord& record = dictionary.Record(wordIndex);
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
    ForEachEntry(game, keepRunning, [&](Entry& entry) { CollectMatches(entry, style); });
    ForEachEntry(game, keepRunning, [&](Entry& entry) { BuildQuotes(entry); });
    const Dictionary& dictionary = style.Lexicon();
    ForEachEntry(game, keepRunning, [&](Entry& entry) { ChooseDefinitions(entry, dictionary); });
}

} // namespace pelorin
