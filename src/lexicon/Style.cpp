#include "lexicon/Style.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <string>

namespace pelorin {

namespace {

// The smallest stored sentence: key, length and the count of an absent text. Every
// count a style file states is checked against what is left of the file before
// anything is read for it, so a damaged count cannot make the loader allocate more
// than the file holds.
constexpr int64_t kMinSentenceBytes = 3 * 4;
constexpr int64_t kMinBookBytes = 4;
constexpr int64_t kWordIndexBytes = 4;

// Books and their sentence lists grow in steps; the steps only decide how often a
// list reallocates.
constexpr int32_t kBookListStep = 10;
constexpr int32_t kSentenceListStep = 100;

// Words of one or two letters are too common to tell sentences apart.
constexpr size_t kMaskMinWordLength = 3;

bool EqualsUpper(std::string_view text, std::string_view upperWord)
{
    if (text.size() != upperWord.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (ToUpperAscii(text[i]) != upperWord[i])
            return false;
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// WordList

WordList::WordList(std::vector<int32_t> words) : words_(std::move(words))
{
    // Append's rule, applied once: the capacity is the first whole step above the count.
    capacity_ = (Count() / kStep + 1) * kStep;
}

void WordList::Append(int32_t wordIndex)
{
    words_.push_back(wordIndex);
    // The stored capacity follows the rule of the file format: grow as soon as an
    // append fills the list.
    if (Count() >= capacity_)
        capacity_ += kStep;
}

void WordList::Clear()
{
    words_.clear();
}

// ---------------------------------------------------------------------------
// Quotation

Quotation::Quotation(int32_t sortKey, int32_t textLength, StoredText sentence)
    : key(sortKey), text(std::move(sentence)), length(textLength)
{
}

uint32_t Quotation::MaskBit(std::string_view word)
{
    return word.size() >= kMaskMinWordLength ? 1u << (ToUpperAscii(word[0]) - 'A') : 0;
}

int32_t Quotation::ComputeLetterMask(std::string_view sentence)
{
    uint32_t bits = 0;
    ForEachToken(sentence, [&](std::string_view token) { bits |= MaskBit(TrimToLetters(token)); });
    return static_cast<int32_t>(bits);
}

int32_t Quotation::LetterMask() const
{
    // A mask of 0 is computed again, which costs only time: its value depends on
    // the text alone, so whichever thread stores it stores the same.
    int32_t mask = mask_.load(std::memory_order_relaxed);
    if (mask == 0) {
        mask = ComputeLetterMask(TextOf(text));
        mask_.store(mask, std::memory_order_relaxed);
    }
    return mask;
}

bool Quotation::ContainsWord(std::string_view upperWord) const
{
    if (upperWord.empty() || !IsUpperLetter(upperWord[0]))
        return false;
    if ((static_cast<uint32_t>(LetterMask()) & (1u << (upperWord[0] - 'A'))) == 0)
        return false;
    bool found = false;
    ForEachToken(TextOf(text), [&](std::string_view token) {
        if (!found && EqualsUpper(TrimToLetters(token), upperWord))
            found = true;
    });
    return found;
}

// ---------------------------------------------------------------------------
// Book

Book::Book() : sentences(kSentenceListStep, ListOrder::Append, true, kSentenceListStep) {}

void Book::MarkWords(std::string_view text) const
{
    assert(style && "a book marks words only for its style");
    ForEachToken(text, [&](std::string_view token) {
        if (!IsAsciiLetter(token[0]))
            return;
        size_t end = token.size();
        while (end > 0 && !IsAsciiLetter(token[end - 1]))
            --end;
        const std::string_view word = token.substr(0, end);
        for (char c : word)
            if (!IsAsciiLetter(c))
                return; // DON'T, WELL-KNOWN: not dictionary words
        const int32_t wordIndex = style->LookUp(word);
        if (wordIndex >= 0)
            style->MarkWord(wordIndex);
    });
}

void Book::CollectQuotations(std::string_view upperWord, ItemList<Quotation>& target) const
{
    for (Quotation* sentence : sentences) {
        if (!sentence->ContainsWord(upperWord))
            continue;
        target.Add(sentence);
        // Checked after each addition, so a call adds at most one more to a target
        // that is already full; the clue choice relies on that count.
        if (target.Count() > kMaxQuotations)
            return;
    }
}

// ---------------------------------------------------------------------------
// Style

Style::Style(const Dictionary& dictionary)
    : dictionary_(&dictionary), books_(kBookListStep, ListOrder::Append, true, kBookListStep),
      quotations_(std::make_unique<LazyQuotations>())
{
}

Style::~Style() = default;

void Style::MarkWord(int32_t wordIndex)
{
    if (wordIndex < 0 || wordIndex >= Dictionary::kCapacity)
        return;
    EnsureFlags();
    flags_[static_cast<size_t>(wordIndex)] = 1;
}

int32_t Style::LookUp(std::string_view word)
{
    const Dictionary& dictionary = *dictionary_;
    if (!lookups_ || lookups_->stamp != dictionary.Stamp() || lookups_->count != dictionary.Count()) {
        lookups_ = std::make_unique<Lookups>();
        lookups_->stamp = dictionary.Stamp();
        lookups_->count = dictionary.Count();
    }
    Lookups& lookups = *lookups_;
    const int32_t number = lookups.words.Add(word);
    if (static_cast<size_t>(number) == lookups.wordIndexes.size())
        lookups.wordIndexes.push_back(dictionary.Find(word)); // Find upper-cases the word itself
    return lookups.wordIndexes[static_cast<size_t>(number)];
}

void Style::EnsureFlags()
{
    if (!flags_)
        flags_ = std::make_unique<int32_t[]>(Dictionary::kCapacity); // zeroed
}

bool Style::AddBook(const std::string& bookPath)
{
    EnsureFlags();
    auto book = std::make_unique<Book>();
    book->style = this;
    // A book that cannot be read still counts as a book of the style, with no
    // sentences and no words.
    const bool scanned = ScanBook(bookPath, *book);
    books_.Add(std::move(book));
    DropQuotations();
    return scanned;
}

const QuotationIndex& Style::Quotations() const
{
    LazyQuotations& lazy = *quotations_;
    std::call_once(lazy.made, [&] { lazy.index = std::make_unique<QuotationIndex>(books_); });
    return *lazy.index;
}

void Style::DropQuotations()
{
    quotations_ = std::make_unique<LazyQuotations>();
}

int32_t Style::SentenceCount() const
{
    int32_t count = 0;
    for (const Book* book : books_)
        count += book->sentences.Count();
    return count;
}

void Style::BuildWordList()
{
    lookups_.reset(); // the scanning is over
    stamp_ = dictionary_->Stamp();
    words_.Clear();
    if (flags_) {
        const int32_t count = std::min(dictionary_->Count(), Dictionary::kCapacity);
        for (int32_t i = 0; i < count; ++i)
            if (flags_[static_cast<size_t>(i)] != 0)
                words_.Append(i);
    }
    IndexWords();
}

void Style::IndexWords()
{
    index_ = PatternIndex(*dictionary_, words_.Words());
}

bool Style::UpdateIfStale()
{
    if (stamp_ == dictionary_->Stamp())
        return false;
    // A dictionary that did not load has no words; rebuilding against it would
    // empty the style and save it so, losing its word list for good.
    if (dictionary_->Count() == 0)
        return false;
    SetStatusText(" Updating Style ...");
    EnsureFlags();
    std::fill_n(flags_.get(), Dictionary::kCapacity, 0);
    // BuildWordList sets the stamp and replaces the word list.
    for (Book* book : books_) {
        book->style = this;
        for (const Quotation* sentence : book->sentences)
            book->MarkWords(TextOf(sentence->text));
    }
    BuildWordList();
    if (!fullPath_.empty())
        SaveFile(fullPath_);
    SetStatusText("");
    return true;
}

WordList Style::MatchPattern(std::string_view pattern) const
{
    std::vector<int32_t> fits;
    index_.MatchPatternInto(pattern, fits);
    return WordList(std::move(fits));
}

bool Style::SaveFile(const std::string& path)
{
    ReplacingFile file;
    if (!file.Open(path)) {
        ShowFileError(path, errno, "Cannot Open Project File", "Error");
        return false;
    }
    FileWriter writer(file.Get());
    status_ = 1;
    writer.WriteInt32(kVersion);
    writer.WriteText(std::string_view(kMagic));
    writer.WriteInt32(status_);
    writer.WriteText(description_);
    writer.WriteInt32(stamp_);
    writer.WriteInt32(words_.Capacity());
    writer.WriteInt32(words_.Count());
    for (int32_t wordIndex : words_.Words())
        writer.WriteInt32(wordIndex);
    writer.WriteInt32(books_.Count());
    for (const Book* book : books_) {
        writer.WriteInt32(book->sentences.Count());
        for (const Quotation* sentence : book->sentences) {
            writer.WriteInt32(sentence->key);
            writer.WriteInt32(sentence->length);
            writer.WriteText(sentence->text);
        }
    }
    // The old file is replaced only by a complete new one.
    if (!file.Commit(writer.Ok())) {
        ShowFileError(path, errno, "Cannot Open Project File", "Error");
        return false;
    }
    fullPath_ = path;
    fileName_ = SplitPath(path).second;
    return true;
}

bool Style::LoadFile(const std::string& stylesFolder, const std::string& fileName)
{
    const std::string path = JoinPath(stylesFolder, fileName);
    const FilePtr file = OpenForReading(path, "Cannot open project file (%s), error code (%d)", "Project Open");
    if (!file)
        return false;
    FileReader reader(file.get());
    if (!reader.ReadHeader(kVersion, kMagic))
        return false;

    // Everything goes into fresh objects first; the style takes them over only when
    // the whole file has been read, so a damaged file leaves it as it was.
    int32_t status = 0;
    StoredText description;
    int32_t stamp = 0;
    int32_t savedCapacity = 0;
    int32_t wordCount = 0;
    if (!reader.ReadInt32(status) || !reader.ReadText(description) || !reader.ReadInt32(stamp) ||
        !reader.ReadInt32(savedCapacity) || !reader.ReadInt32(wordCount))
        return false;
    if (!reader.CanHold(wordCount, kWordIndexBytes))
        return false;
    WordList words;
    // Only a dictionary of the style's own edition can tell damage from a word
    // that the dictionary at hand lacks.
    const bool sameEdition = stamp == dictionary_->Stamp() && dictionary_->Count() > 0;
    int32_t previous = -1;
    for (int32_t i = 0; i < wordCount; ++i) {
        int32_t wordIndex = 0;
        if (!reader.ReadInt32(wordIndex))
            return false;
        // The queries bisect the list, so a list out of order loses words silently.
        if (i > 0 && wordIndex <= previous)
            return false;
        previous = wordIndex;
        // An index beyond the dictionary names no word; keeping it would make every
        // query read outside the table. In a style of another edition it is a word
        // this dictionary lacks, and the style's update rebuilds the list anyway.
        if (wordIndex >= 0 && wordIndex < dictionary_->Count())
            words.Append(wordIndex);
        else if (sameEdition)
            return false;
    }
    int32_t bookCount = 0;
    if (!reader.ReadInt32(bookCount) || !reader.CanHold(bookCount, kMinBookBytes))
        return false;
    ItemList<Book> books(kBookListStep, ListOrder::Append, true, kBookListStep);
    books.Reserve(bookCount);
    for (int32_t b = 0; b < bookCount; ++b) {
        auto book = std::make_unique<Book>();
        book->style = this;
        int32_t sentenceCount = 0;
        if (!reader.ReadInt32(sentenceCount) || !reader.CanHold(sentenceCount, kMinSentenceBytes))
            return false;
        book->sentences.Reserve(sentenceCount);
        for (int32_t s = 0; s < sentenceCount; ++s) {
            int32_t key = 0;
            int32_t length = 0;
            StoredText text;
            if (!reader.ReadInt32(key) || !reader.ReadInt32(length) || !reader.ReadText(text))
                return false;
            book->sentences.Add(std::make_unique<Quotation>(key, length, std::move(text)));
        }
        books.Add(std::move(book));
    }
    if (!reader.AtEnd())
        return false;

    fullPath_ = path;
    fileName_ = SplitPath(path).second;
    status_ = status;
    description_ = std::move(description);
    stamp_ = stamp;
    words_ = std::move(words);
    IndexWords();
    books_.Swap(books);
    DropQuotations();
    return true;
}

} // namespace pelorin
