#include "game/GridFiller.h"

#include "foundation/TextUtil.h"
#include "game/BlockPatterns.h"
#include "game/ClueChoice.h"
#include "game/Game.h"
#include "game/Random.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <string>
#include <vector>

namespace pelorin {

namespace {

constexpr double kLargestDraw = 32767.0;
// Room for the patterns of a few hundred passes; a miss costs one query.
constexpr int kCountBits = 12;

void ResetEntry(Entry& entry)
{
    entry.complete = 0;
    entry.repairCount = 0;
    for (Cell* cell : entry.cells)
        ClearCell(*cell);
    entry.definitions.Clear();
    entry.quotes.Clear();
}

void StoreText(Entry& entry, std::string_view text)
{
    if (entry.text)
        entry.text->assign(text);
    else
        entry.text.emplace(text);
}

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToUpperAscii(a[i]) != ToUpperAscii(b[i]))
            return false;
    return true;
}

} // namespace

// An entry's letters as a pattern, in a buffer as long as the longest entry and
// zero after the pattern's end. No pattern holds a zero byte, so the buffer read
// as one integer tells patterns of every length apart.
struct GridFiller::Letters {
    explicit Letters(const Entry& entry) : text(CurrentPattern(entry, chars)) {}

    uint64_t Key() const
    {
        uint64_t key = 0;
        std::memcpy(&key, chars.data(), sizeof key);
        return key;
    }

    std::array<char, kSide> chars{};
    std::string_view text;
};
static_assert(kSide == sizeof(uint64_t), "an entry's letters fill one key");

int32_t PickPosition(int32_t draw, int32_t count)
{
    assert(count > 0 && "a pick needs at least one word");
    return static_cast<int32_t>(static_cast<double>(draw) / kLargestDraw * static_cast<double>(count - 1));
}

void WithdrawEntry(Entry& entry)
{
    entry.complete = 0;
    const bool across = entry.direction == kAcross;
    for (Cell* cell : entry.cells) {
        int32_t& own = across ? cell->heldAcross : cell->heldDown;
        const int32_t crossing = across ? cell->heldDown : cell->heldAcross;
        own = 0;
        if (crossing == 0)
            ClearCell(*cell);
    }
}

void ClearEntryAndCrossers(Entry& entry)
{
    const bool across = entry.direction == kAcross;
    for (Cell* cell : entry.cells) {
        Entry* crossing = across ? cell->downEntry : cell->acrossEntry;
        if (crossing)
            WithdrawEntry(*crossing);
        ClearCell(*cell);
    }
}

bool HasDuplicateWords(const Game& game)
{
    std::vector<const Entry*> entries;
    entries.reserve(static_cast<size_t>(game.Across().Count() + game.Down().Count()));
    for (const Entry* entry : game.Across())
        entries.push_back(entry);
    const size_t firstDown = entries.size();
    for (const Entry* entry : game.Down()) {
        // A Down entry in a shared edge column exists on both faces over the same
        // physical cells: one word, not two.
        const Cell* first = entry->cells.At(0);
        const bool secondOfEdge =
            first && first->twin &&
            std::any_of(entries.begin() + static_cast<std::ptrdiff_t>(firstDown), entries.end(),
                        [&](const Entry* added) { return added->cells.At(0) == first->twin; });
        if (!secondOfEdge)
            entries.push_back(entry);
    }
    for (size_t i = 0; i < entries.size(); ++i)
        for (size_t j = i + 1; j < entries.size(); ++j)
            if (SameText(TextOf(entries[i]->text), TextOf(entries[j]->text)))
                return true;
    return false;
}

GridFiller::GridFiller(Game& game, const Style& style)
    : game_(game), style_(style), dictionary_(style.Lexicon()), counts_(size_t{1} << kCountBits)
{
}

int32_t GridFiller::CountFits(const Letters& letters)
{
    const uint64_t key = letters.Key();
    Kept& kept = counts_[static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - kCountBits))];
    if (kept.key != key)
        kept = {key, style_.CountPattern(letters.text)};
    return kept.value;
}

void GridFiller::ResetEntries()
{
    for (Entry* entry : game_.Across())
        ResetEntry(*entry);
    for (Entry* entry : game_.Down())
        ResetEntry(*entry);
}

int32_t GridFiller::ValidateEntries()
{
    int32_t incomplete = 0;
    validated_.resize(static_cast<size_t>(game_.Across().Count() + game_.Down().Count()));
    size_t place = 0;
    auto validate = [&](Entry& entry) {
        const Letters letters(entry);
        Kept& kept = validated_[place++];
        // The same letters as at the last validation: the text stored then is
        // still the entry's (only validation writes texts during a search), and the
        // style's answer is known.
        if (kept.key != letters.Key() || !entry.text) {
            StoreText(entry, letters.text);
            kept = {letters.Key(), style_.ContainsWord(letters.text)};
        }
        if (kept.value) {
            entry.complete = 1;
            return;
        }
        WithdrawEntry(entry);
        ++incomplete;
    };
    for (Entry* entry : game_.Across())
        validate(*entry);
    for (Entry* entry : game_.Down())
        validate(*entry);
    return incomplete;
}

void GridFiller::FillOpenEntries()
{
    ItemList<Entry>& across = game_.Across();
    ItemList<Entry>& down = game_.Down();
    const int32_t n = std::max(across.Count(), down.Count());
    for (int32_t i = 0; i < n; ++i) {
        if (Entry* entry = across.At(i); entry && !entry->complete)
            TryPlaceWord(*entry);
        if (Entry* entry = down.At(i); entry && !entry->complete)
            TryPlaceWord(*entry);
    }
}

bool GridFiller::TryPlaceWord(Entry& entry)
{
    const Letters letters(entry);
    const int32_t count = CountFits(letters);
    if (count == 0) {
        entry.complete = 0;
        return false;
    }
    const int32_t position = PickPosition(NextRandom(), count);
    const std::string_view word = dictionary_.Record(style_.NthMatch(letters.text, position)).text;
    entry.complete = 1;
    const bool across = entry.direction == kAcross;
    int32_t p = 0;
    for (Cell* cell : entry.cells) {
        // The style only answers words whose text is at least as long as the entry.
        SetLetter(*cell, static_cast<uint8_t>(word[static_cast<size_t>(p++)] - 64), true);
        (across ? cell->heldAcross : cell->heldDown) = 1;
    }
    return true;
}

void GridFiller::RepairDirection(int32_t direction)
{
    for (Entry* entry : game_.List(direction))
        if (!entry->complete)
            RepairEntry(*entry);
}

void GridFiller::RepairEntry(Entry& entry)
{
    if (entry.complete)
        return;
    // Free the letter whose removal lets the most words fit; the first such
    // position wins ties, and position 0 when nothing fits at all.
    Letters letters(entry);
    int32_t best = 0;
    int32_t bestCount = 0;
    for (size_t p = 0; p < letters.text.size(); ++p) {
        const char letter = letters.chars[p];
        letters.chars[p] = ' ';
        const int32_t count = CountFits(letters);
        letters.chars[p] = letter;
        if (count > bestCount) {
            best = static_cast<int32_t>(p);
            bestCount = count;
        }
    }
    if (Cell* cell = entry.cells.At(best))
        ClearCell(*cell);

    if (bestCount == 0) {
        ClearEntryAndCrossers(entry);
    } else if (entry.repairCount >= kLightRepairs) {
        ClearEntryAndCrossers(entry);
        entry.repairCount = 0;
    } else {
        ++entry.repairCount;
        WithdrawEntry(entry);
    }
    TryPlaceWord(entry);
}

bool GridFiller::Fill(int32_t patternId, const std::atomic<bool>& keepRunning)
{
    if (!Search(patternId, keepRunning))
        return false;
    ChooseClues(game_, style_, keepRunning);
    return true;
}

bool GridFiller::Search(int32_t patternId, const std::atomic<bool>& keepRunning)
{
    stats_ = FillStats();
    LayOutPattern(game_, patternId);
    // New entries: nothing is known of their texts.
    validated_.clear();
    int32_t direction = kAcross;
    int32_t incomplete = 0;
    for (int32_t pass = 0; pass < kMaxPasses; ++pass) {
        if (!keepRunning.load(std::memory_order_relaxed))
            return false;
        stats_.passes = pass + 1;
        if (pass % kRestartPasses == 0)
            ResetEntries();
        ValidateEntries();
        FillOpenEntries();
        incomplete = ValidateEntries();
        stats_.incomplete = incomplete;
        if (pass == kMaxPasses - 1)
            break;
        if (incomplete > 0) {
            RepairDirection(direction);
            direction = direction == kAcross ? kDown : kAcross;
            continue;
        }
        if (!HasDuplicateWords(game_))
            break;
        ResetEntries();
    }
    return incomplete == 0;
}

bool FillGame(Game& game, const Style& style, int32_t patternId, const std::atomic<bool>& keepRunning,
              FillStats* stats)
{
    GridFiller filler(game, style);
    const bool filled = filler.Fill(patternId, keepRunning);
    if (stats)
        *stats = filler.Stats();
    return filled;
}

} // namespace pelorin
