#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace pelorin {

class Dictionary;
class Entry;
class Game;
class Style;

/// What a fill cost, for the tool and the benchmarks.
struct FillStats {
    int32_t passes = 0;     ///< passes started, 1 to 2000
    int32_t incomplete = 0; ///< entries left incomplete by the last validation
};

/// Fills a block pattern with words of a style, so that crossing entries agree,
/// every entry is a word of the style and no word occurs twice.
///
/// A randomised local search over at most 2000 passes. Each pass validates the
/// entries (withdrawing those that are no longer words, but keeping the letters a
/// crossing entry placed), places a random fitting word in every incomplete entry,
/// Across and Down alternately, and validates again. While entries stay
/// incomplete, the stuck entries of one direction (alternating from pass to pass)
/// are repaired: the letter whose removal lets the most words fit is cleared, and
/// an entry repaired ten times, or with no fitting word at all even then, also
/// withdraws its crossing entries. Every 100 passes the grid starts afresh, and a
/// complete grid with a repeated word starts afresh at once; on the last pass a
/// complete grid is taken as it is.
///
/// Every choice comes from the thread's generator (game/Random.h), and every query
/// gives the style's answers in the style's order, so one seed and one style give
/// the same grid on every machine, and tests can pin grids computed independently
/// of this code. Nothing here may change the order of draws or of visits.
///
/// A pass builds no strings and, but for the duplicate check of a complete grid,
/// allocates nothing: an entry's letters are read into a buffer of eight bytes,
/// which is also the key under which the filler keeps the style's answers (a word
/// or not, how many words fit) for the patterns it meets again, since the style
/// does not change while the filler runs.
class GridFiller {
public:
    static constexpr int32_t kMaxPasses = 2000;
    /// The search restarts from an empty grid every this many passes.
    static constexpr int32_t kRestartPasses = 100;
    /// Repairs of one entry before a repair also withdraws its crossing entries.
    static constexpr int32_t kLightRepairs = 9;

    /// The filler borrows the game and the style for its lifetime.
    GridFiller(Game& game, const Style& style);

    /// The whole fill: lays out the pattern, searches, and on success chooses the
    /// clues. False when the grid is still incomplete after the last pass, or at
    /// once when keepRunning is found cleared at the start of a pass.
    bool Fill(int32_t patternId, const std::atomic<bool>& keepRunning);
    /// The fill without the clue choice: true when every entry is complete.
    bool Search(int32_t patternId, const std::atomic<bool>& keepRunning);
    const FillStats& Stats() const { return stats_; }

    // The steps of a pass, public so that tests can drive them one at a time.

    void ResetEntries();
    /// Rebuilds every entry's text, marks the words complete and withdraws the
    /// rest; returns how many are incomplete.
    int32_t ValidateEntries();
    void FillOpenEntries();
    /// Places a random word of those that fit the entry's letters; false (and the
    /// entry incomplete) when none fits.
    bool TryPlaceWord(Entry& entry);
    void RepairDirection(int32_t direction);
    void RepairEntry(Entry& entry);

private:
    struct Letters;

    /// CountPattern of the style, remembered: the search asks for the same
    /// patterns again and again (every open entry after a restart, the same stuck
    /// entry pass after pass), and the style does not change during a fill.
    int32_t CountFits(const Letters& letters);

    /// An answer of the style kept for a packed pattern; key 0 is no pattern.
    struct Kept {
        uint64_t key = 0;
        int32_t value = 0;
    };

    Game& game_;
    const Style& style_;
    const Dictionary& dictionary_;
    /// Whether the text each entry had at its last validation was a word, by the
    /// entry's place (Across entries first, then Down): most entries keep their
    /// letters from one validation to the next.
    std::vector<Kept> validated_;
    /// CountFits' answers, by a hash of the pattern; a newer pattern replaces an older.
    std::vector<Kept> counts_;
    FillStats stats_;
};

/// A style of fewer words fills none of the offered block patterns. Measured with
/// the filler on styles made from the opening pages of Bible books and fortune
/// collections: none of 727 to 942 words filled pattern 2, the easiest, in 16
/// preparations of 32 tries each; from 973 words on some did. Which words a style
/// has matters as much as how many (one of 1,091 words filled none in 8, one of
/// 1,442 filled 1 in 8), so the line is drawn where no style fills.
constexpr int32_t kFewestWordsForGames = 900;

/// Fills the game with the style's words on a block pattern and chooses its clues;
/// see GridFiller. `stats`, when given, receives the passes used.
bool FillGame(Game& game, const Style& style, int32_t patternId, const std::atomic<bool>& keepRunning,
              FillStats* stats = nullptr);

/// Withdraws an entry that no longer spells a word: it gives up its hold on its
/// cells, and the cells that no crossing entry holds are cleared.
void WithdrawEntry(Entry& entry);
/// Withdraws every crossing entry of an entry's cells, then clears the cells.
void ClearEntryAndCrossers(Entry& entry);

/// True when two entries carry the same text (any case). The second Down entry of
/// a shared edge column is the same word as the first and is not counted.
bool HasDuplicateWords(const Game& game);

/// The position of the word a draw of 0..32767 picks among `count` fitting words:
/// r / 32767 x (count - 1), cut towards zero, in double precision so that every
/// machine picks the same word. The last word needs the draw 32767.
int32_t PickPosition(int32_t draw, int32_t count);

} // namespace pelorin
