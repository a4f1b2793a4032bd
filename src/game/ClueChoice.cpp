#include "game/ClueChoice.h"

#include "foundation/TextUtil.h"
#include "game/Game.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
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

// Words of four letters or more tell what a sentence or a gloss is about.
constexpr size_t kTellingWord = 4;

// A word as a hash of its capitals (FNV-1a): comparing the words of many
// sentences should cost little beside choosing them.
uint64_t HashOfCapitals(std::string_view word)
{
    uint64_t value = 14695981039346656037ull;
    for (const char c : word)
        value = (value ^ static_cast<unsigned char>(ToUpperAscii(c))) * 1099511628211ull;
    return value;
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
            // A word cut in two may show the answer or its stem ("wild..." of
            // "wilderness"), a blank cut in two the answer one letter short: the
            // cut goes before the word, unless the excerpt is that one word.
            const auto inWord = [](char c) { return IsAsciiLetter(c) || c == '_'; };
            if (inWord(text[i]) && inWord(text[i + 1])) {
                size_t end = excerpt.size();
                while (end > 0 && inWord(excerpt[end - 1]))
                    --end;
                while (end > 0 && excerpt[end - 1] == ' ')
                    --end;
                if (end > (start > 0 ? kEllipsis.size() : 0))
                    excerpt.resize(end);
            }
            excerpt += kEllipsis;
            break;
        }
    }
    quote.text = std::move(excerpt);
}

namespace {

// Endings and beginnings that make a word of a stem: forms the dictionary may
// not list (the Bible's "aboundeth", "lovest"; "dreamed" beside "dreamt") and
// words derived from it ("viewer", "unweary"). A stem of three letters takes only
// the endings of inflections: with the others it is part of too many unrelated
// words (CAT, "cater"; EAR, "earth").
constexpr std::array<std::string_view, 8> kInflectionEndings = {"S", "ES", "ED", "ING", "INGS", "EST", "ETH", "EDST"};
constexpr std::array<std::string_view, 15> kDerivingEndings = {"ER",   "ERS",  "NESS", "FUL", "LESS",
                                                               "MENT", "MENTS", "ABLE", "ISH", "Y",
                                                               "IES",  "IED",  "IER",  "IEST", "LY"};
// After a final e: "loved", "lovest", "loveth".
constexpr std::array<std::string_view, 4> kAfterE = {"D", "ST", "TH", "DST"};
constexpr std::array<std::string_view, 11> kStemBeginnings = {"UN",  "RE",   "DIS", "MIS",   "OVER", "OUT",
                                                              "PRE", "NON",  "FORE", "UNDER", "SELF"};
// Stems this short are parts of too many unrelated words (CAT in "concatenate").
constexpr size_t kShortestStem = 3;
// Derived words and compounds (told by the other part being a word) need a
// longer stem: a short one makes them by chance (CAR and "carpet").
constexpr size_t kShortestDerivingStem = 4;

template <size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& list)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

bool IsVowel(char c)
{
    return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U';
}

// Whether `ending` makes a word of `stem` (upper case), also after a doubled
// last letter (STOP, "stopping").
bool IsStemEnding(std::string_view ending, std::string_view stem)
{
    const bool deriving = stem.size() >= kShortestDerivingStem;
    const auto listed = [&](std::string_view part) {
        return OneOf(part, kInflectionEndings) || (deriving && OneOf(part, kDerivingEndings));
    };
    if (ending.empty() || listed(ending) || (stem.back() == 'E' && OneOf(ending, kAfterE)))
        return true;
    return ending.size() > 1 && ending.front() == stem.back() && !IsVowel(stem.back()) && listed(ending.substr(1));
}

} // namespace

bool HoldsStem(std::string_view token, std::string_view stem, const Dictionary& dictionary)
{
    if (stem.size() < kShortestStem || token.size() <= stem.size())
        return false;
    const auto isWord = [&](std::string_view part) {
        return stem.size() >= kShortestDerivingStem && part.size() >= kShortestStem &&
               IndexOf(dictionary, part) >= 0;
    };
    const auto isBeginning = [&](std::string_view part) {
        return part.empty() || isWord(part) || OneOf(part, kStemBeginnings);
    };
    for (size_t at = token.find(stem); at != std::string_view::npos; at = token.find(stem, at + 1)) {
        const std::string_view after = token.substr(at + stem.size());
        if (isBeginning(token.substr(0, at)) && (IsStemEnding(after, stem) || isWord(after)))
            return true;
    }
    // An ending that starts with a vowel replaces a final e or y: DANCE, "dancer";
    // CARRY, "carrier".
    const char last = stem.back();
    const std::string_view root = stem.substr(0, stem.size() - 1);
    if ((last != 'E' && last != 'Y') || root.size() < kShortestStem)
        return false;
    for (size_t at = token.find(root); at != std::string_view::npos; at = token.find(root, at + 1)) {
        const std::string_view after = token.substr(at + root.size());
        const bool replaces = !after.empty() && (last == 'Y' ? after.front() == 'I' : IsVowel(after.front()));
        if (replaces && isBeginning(token.substr(0, at)) && IsStemEnding(after, root))
            return true;
    }
    return false;
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
        if (!quote.text)
            return;
        std::string& text = *quote.text;
        ForEachLetterRun(std::string_view(text), [&](std::string_view token, size_t at) {
            const std::string upper = ToUpperAscii(token);
            const bool hides = HoldsStem(upper, base_, dictionary_) ||
                               (base_ != word_ && HoldsStem(upper, word_, dictionary_)) ||
                               (answer_ >= 0 && MayBeForm(token) && IsForm(upper));
            if (hides)
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

// Whether the word at `at` begins a sentence (or a quoted one, or a clause after a
// colon, as the Bible's "saith the LORD: Behold").
bool BeginsSentence(std::string_view text, size_t at)
{
    while (at > 0 && text[at - 1] == ' ')
        --at;
    if (at == 0)
        return true;
    const char before = text[at - 1];
    return before == '.' || before == '!' || before == '?' || before == ':' || before == '"' || before == '\'' ||
           before == '(' || before == '`';
}

} // namespace

bool IsCapitalisedInSentence(std::string_view text, size_t at)
{
    return IsUpperLetter(text[at]) && !BeginsSentence(text, at);
}

size_t FirstWholeWord(std::string_view text, std::string_view word)
{
    size_t found = text.size();
    ForEachLetterRun(text, [&](std::string_view token, size_t at) {
        if (token.size() != word.size() || ToUpperAscii(token) != word)
            return true;
        found = at;
        return false;
    });
    return found;
}

bool BooksWriteAsName(const Entry& entry)
{
    const std::string_view answer = TextOf(entry.text);
    int32_t capitalised = 0;
    for (const Quotation* quotation : entry.matches) {
        const std::string_view text = TextOf(quotation->text);
        const size_t blank = FirstWholeWord(text, answer);
        capitalised += blank < text.size() && IsUpperLetter(text[blank]);
    }
    return 2 * capitalised > entry.matches.Count();
}

namespace {

// Words that tell nothing of what a blank stands for: articles, numbers alone,
// pronouns and the verbs that only help ("I'm an ____", "at least one ____").
bool IsContentWord(std::string_view token)
{
    static constexpr std::array<std::string_view, 60> kEmpty = {
        "the",   "and",   "but",  "for",   "not",   "nor",   "you",   "your",  "are",   "was",  "were",  "has",
        "have",  "had",   "his",  "her",   "its",   "our",   "their", "they",  "them",  "she",  "him",   "who",
        "what",  "this",  "that", "with",  "from",  "all",   "any",   "one",   "two",   "can",  "will",  "may",
        "would", "could", "should", "there", "here", "also", "been",  "than",  "then",  "into", "out",   "too",
        "very",  "just",  "some", "such",  "about", "thee",  "thou",  "thy",   "shall", "yet",  "least", "every"};
    constexpr size_t kLongestEmpty = 6; // "should"
    if (token.size() < 3)
        return false;
    if (token.size() > kLongestEmpty)
        return true;
    std::array<char, kLongestEmpty> lower{};
    std::transform(token.begin(), token.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return !OneOf(std::string_view(lower.data(), token.size()), kEmpty);
}

// What the words of a sentence tell of its blank: how many telling words stand
// before and after it, how many names it holds and which words are next to it
// (past an "and" or "or" between).
struct BlankSurvey {
    int32_t before = 0;
    int32_t after = 0;
    int32_t names = 0;
    size_t wordBefore = std::string_view::npos;
    size_t wordAfter = std::string_view::npos;
};

BlankSurvey Survey(std::string_view quotation, size_t blank)
{
    BlankSurvey survey;
    ForEachLetterRun(quotation, [&](std::string_view token, size_t at) {
        if (at == blank)
            return true;
        if (IsContentWord(token))
            ++(at < blank ? survey.before : survey.after);
        survey.names += IsCapitalisedInSentence(quotation, at) && token != "I";
        if (token == "and" || token == "or")
            return true;
        if (at < blank)
            survey.wordBefore = at;
        else if (survey.wordAfter == std::string_view::npos)
            survey.wordAfter = at;
        return true;
    });
    return survey;
}

bool IsUsableHint(std::string_view quotation, size_t blank, bool name, const BlankSurvey& survey)
{
    if (blank >= quotation.size() || (!name && IsCapitalisedInSentence(quotation, blank)))
        return false;
    // Words enough to guess the blank from, not a fragment ("I'm an ____.", "Cat
    // and dog.").
    constexpr int32_t kFewestContentWords = 2;
    if (survey.before + survey.after < kFewestContentWords)
        return false;
    // A dictionary's heading ("Death wish, n.") or entry ("memba, n: To ... "),
    // the books' jokes in its form.
    constexpr size_t kHeadingLength = 30;
    const std::string_view start = quotation.substr(0, kHeadingLength);
    for (std::string_view heading : {", n.", ", v.", ", adj.", ", adv.", ", n:", ", v:", ", adj:", ", adv:"})
        if (quotation.ends_with(heading) || start.find(heading) != std::string_view::npos)
            return false;
    // A name beside names, three or more: a genealogy or a roll.
    constexpr int32_t kListOfNames = 3;
    const auto isName = [&](size_t at) {
        return at != std::string_view::npos && IsCapitalisedInSentence(quotation, at);
    };
    return !(survey.names >= kListOfNames && (isName(survey.wordBefore) || isName(survey.wordAfter)));
}

} // namespace

bool IsUsableHint(std::string_view quotation, size_t blank, bool name)
{
    return IsUsableHint(quotation, blank, name, Survey(quotation, blank));
}

void MaskOtherForms(Quote& quote, std::string_view word, const Dictionary& dictionary)
{
    FormMasker(word, dictionary).Mask(quote);
}

void VaryQuotes(std::vector<std::unique_ptr<Quote>>& quotes)
{
    if (quotes.size() < 3)
        return;
    // The words that tell a sentence's kind, those of four letters or more, each as
    // a hash of its capitals, sorted: a game's entries hold hundreds of quotes, and
    // ordering them should cost little beside choosing them.
    std::vector<std::vector<uint64_t>> words(quotes.size());
    for (size_t i = 0; i < quotes.size(); ++i) {
        ForEachLetterRun(TextOf(quotes[i]->text), [&](std::string_view word, size_t) {
            if (word.size() >= kTellingWord)
                words[i].push_back(HashOfCapitals(word));
            return true;
        });
        std::sort(words[i].begin(), words[i].end());
        words[i].erase(std::unique(words[i].begin(), words[i].end()), words[i].end());
    }
    // How many of each quote's words those placed so far hold, kept as they are
    // placed. A player reads the first few; the rest keep their order.
    constexpr size_t kVariedFew = 5;
    std::vector<int32_t> shared(quotes.size(), 0);
    std::unordered_set<uint64_t> seen;
    for (size_t placed = 0; placed < std::min(quotes.size(), kVariedFew); ++placed) {
        size_t best = placed;
        for (size_t i = placed + 1; i < quotes.size() && shared[best] > 0; ++i)
            if (shared[i] < shared[best])
                best = i;
        // Moves the chosen one up, the others keeping their order behind it.
        const auto at = static_cast<std::ptrdiff_t>(placed);
        const auto chosen = static_cast<std::ptrdiff_t>(best);
        std::rotate(quotes.begin() + at, quotes.begin() + chosen, quotes.begin() + chosen + 1);
        std::rotate(words.begin() + at, words.begin() + chosen, words.begin() + chosen + 1);
        std::rotate(shared.begin() + at, shared.begin() + chosen, shared.begin() + chosen + 1);
        for (const uint64_t word : words[placed])
            if (seen.insert(word).second)
                for (size_t i = placed + 1; i < quotes.size(); ++i)
                    shared[i] += std::binary_search(words[i].begin(), words[i].end(), word) ? 1 : 0;
    }
}

void BuildQuotes(Entry& entry, const Dictionary& dictionary)
{
    const std::string_view answer = TextOf(entry.text);
    // A sentence found twice (in two books, or twice in one), or two that read the
    // same as excerpts, make one hint.
    std::unordered_set<std::string> shown;
    FormMasker forms(answer, dictionary);
    const bool name = BooksWriteAsName(entry);
    std::vector<std::unique_ptr<Quote>> quotes;
    std::vector<std::unique_ptr<Quote>> unpinned;
    for (const Quotation* quotation : entry.matches) {
        const std::string_view text = TextOf(quotation->text);
        const size_t blank = FirstWholeWord(text, answer);
        const BlankSurvey survey = Survey(text, blank);
        if (!IsUsableHint(text, blank, name, survey))
            continue;
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
        (survey.before > 0 && survey.after > 0 ? quotes : unpinned).push_back(std::move(quote));
    }
    // A blank with telling words on both sides is guessed best: such hints come
    // first ("Few ____ are less forgivable in polite society" before "You will
    // pay for your ____.").
    VaryQuotes(quotes);
    VaryQuotes(unpinned);
    entry.quotes.AddEach(std::move(quotes));
    entry.quotes.AddEach(std::move(unpinned));
}

bool NamesOneThing(std::string_view definition)
{
    // What "the" opens before these is a mass or an act: the process of decay, the
    // smallest whole number.
    static constexpr std::array<std::string_view, 16> kOfNoPlural = {
        "process", "act", "activity", "state", "quality", "condition", "smallest", "largest",
        "cardinal", "ordinal", "sum", "study", "science", "art", "practice", "whole"};
    // An act as such ("sleeping for a short period of time", not "cud-chewing
    // mammal" nor "something that is remembered"), a chemical element ("a heavy
    // ductile magnetic metallic element"), a material, a whole ("people in
    // general") or one alone ("a single person").
    const std::string_view first = definition.substr(0, definition.find(' '));
    const std::string_view clause = definition.substr(0, definition.find(';'));
    const bool act = first.size() > 5 && first.ends_with("ing") && !first.ends_with("thing") &&
                     first.find('-') == std::string_view::npos;
    const bool whole = clause.find(" in general") != std::string_view::npos;
    if (act || clause.ends_with(" element") || first == "material" || whole || definition.starts_with("a single "))
        return true;
    if (!definition.starts_with("the "))
        return false;
    const std::string_view rest = definition.substr(4);
    if (OneOf(rest.substr(0, rest.find(' ')), kOfNoPlural))
        return true;
    // The one thing of its name: "the natural satellite of the Earth".
    bool named = false;
    ForEachLetterRun(rest, [&](std::string_view token, size_t) {
        named = IsUpperLetter(token.front());
        return !named;
    });
    return named;
}

namespace {

// Words of four letters or more that tell nothing of a sense, however often they
// stand beside it. Sorted.
constexpr std::array<std::string_view, 67> kFunctionWords = {
    "ABOUT", "ABOVE", "AFTER", "AGAIN", "ALSO", "BEEN", "BEFORE", "BEING", "BOTH", "COULD", "DOES", "EACH",
    "ESPECIALLY", "EVEN", "EVER", "FROM", "HATH", "HAVE", "HAVING", "HERE", "INTO", "JUST", "LIKE",
    "MORE", "MOST", "MUCH", "MUST", "NEVER", "ONLY", "OTHER", "OVER", "SAID", "SAME", "SHALL", "SHOULD",
    "SOME", "SOMEONE", "SOMETHING", "SUCH", "THAN", "THAT", "THEE", "THEIR", "THEM", "THEN", "THERE",
    "THEREOF", "THESE", "THEY", "THIS", "THOSE", "THOU", "THUS", "UNTO", "UPON", "USED", "USUALLY", "VERY",
    "WERE", "WHAT", "WHEN", "WHERE", "WHICH", "WHILE", "WITH", "WOULD", "YOUR"};

// The telling words of a text, sorted and each once, as hashes of their base
// words where the dictionary knows them as forms ("sons" as SON), but not the
// answer's own stem.
std::vector<uint64_t> TellingStems(std::string_view text, const Dictionary& dictionary, uint64_t answer)
{
    std::vector<uint64_t> stems;
    ForEachLetterRun(text, [&](std::string_view word, size_t) {
        std::array<char, 24> upper{};
        if (word.size() < kTellingWord || word.size() > upper.size())
            return true;
        std::transform(word.begin(), word.end(), upper.begin(), [](char c) { return ToUpperAscii(c); });
        std::string_view stem(upper.data(), word.size());
        if (std::binary_search(kFunctionWords.begin(), kFunctionWords.end(), stem))
            return true;
        if (const int32_t index = IndexOf(dictionary, stem); index >= 0 && dictionary.Record(index).base)
            stem = dictionary.Record(index).base->text;
        if (const uint64_t hash = HashOfCapitals(stem); hash != answer)
            stems.push_back(hash);
        return true;
    });
    std::sort(stems.begin(), stems.end());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    return stems;
}

} // namespace

void PreferSenseOfBooks(Entry& entry, const Dictionary& dictionary)
{
    DefinitionList& definitions = entry.definitions;
    const auto open = [](const Definition* definition) {
        return definition->rank >= Definition::kOpenRank && definition->rank < Definition::kSynonymRank;
    };
    if (entry.word == nullptr || entry.matches.Count() == 0 ||
        std::none_of(definitions.begin(), definitions.end(), open))
        return;
    const DictionaryWord& word = entry.word->base ? *entry.word->base : *entry.word;
    const uint64_t answer = HashOfCapitals(word.text);
    // The words around the answer in a bounded number of its sentences.
    constexpr int32_t kSentences = 40;
    std::vector<uint64_t> around;
    for (int32_t i = 0; i < std::min(entry.matches.Count(), kSentences); ++i) {
        const std::vector<uint64_t> stems = TellingStems(TextOf(entry.matches.At(i)->text), dictionary, answer);
        around.insert(around.end(), stems.begin(), stems.end());
    }
    std::sort(around.begin(), around.end());
    around.erase(std::unique(around.begin(), around.end()), around.end());
    // A sense is its clue and whole gloss, ranked 2k and 2k + 1; it scores the
    // telling words of its gloss that the sentences hold.
    const int32_t lead = definitions.At(0)->rank / 2;
    int32_t leadScore = 0;
    int32_t best = lead;
    int32_t bestScore = 0;
    for (const Definition* definition : definitions) {
        // Every part of speech's first sense and the later open ones, but not a
        // second reading's (SAT as Saturday behind the past of sit).
        const int32_t sense = definition->rank / 2;
        if (definition->rank >= Definition::kTrailingReadingShift && !open(definition))
            continue;
        int32_t score = 0;
        for (const uint64_t stem : TellingStems(TextOf(definition->text), dictionary, answer))
            score += std::binary_search(around.begin(), around.end(), stem) ? 1 : 0;
        if (sense == lead)
            leadScore = std::max(leadScore, score);
        else if (score > bestScore)
            best = sense, bestScore = score;
    }
    constexpr int32_t kMargin = 2;
    if (best == lead || bestScore < leadScore + kMargin)
        return;
    // The books' sense moves to the front, the senses it passes one place back.
    for (Definition* definition : definitions) {
        if (definition->rank / 2 == best)
            definition->rank = 2 * lead + definition->rank % 2;
        else if (definition->rank / 2 >= lead && definition->rank / 2 < best)
            definition->rank += 2;
    }
    std::stable_sort(definitions.begin(), definitions.end(),
                     [](const Definition* a, const Definition* b) { return a->rank < b->rank; });
}

void DemoteSingularSenses(DefinitionList& definitions)
{
    const auto singular = [](const Definition* definition) {
        return definition->rank < Definition::kSecondaryRank && NamesOneThing(TextOf(definition->text));
    };
    if (std::all_of(definitions.begin(), definitions.end(), singular))
        return;
    // Behind rare senses and give-aways too: a rare sense that fits the plural
    // ("a playing card with three spots" for THREES) beats one that does not.
    constexpr int32_t kBehindEverySense = 2 * Definition::kSecondaryRank;
    bool moved = false;
    for (Definition* definition : definitions) {
        if (singular(definition)) {
            definition->rank += kBehindEverySense;
            moved = true;
        }
    }
    if (moved)
        std::stable_sort(definitions.begin(), definitions.end(),
                         [](const Definition* a, const Definition* b) { return a->rank < b->rank; });
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
        PreferSenseOfBooks(entry, dictionary);
        if (entry.form == kFormPlural)
            DemoteSingularSenses(entry.definitions);
    }
    DefinitionList& definitions = entry.definitions;
    while (definitions.Count() > static_cast<int32_t>(kMaxDefinitions))
        definitions.RemoveAt(definitions.Count() - 1);
    // The list is in rank order, so the secondary senses are its tail.
    int32_t secondary = 0;
    for (const Definition* definition : definitions)
        if (definition->rank >= Definition::kSecondaryRank)
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
