#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace pelorin {

class Game;
class Style;

/// What makes a puzzle again on another machine: the style (its file name without
/// extension), a short fingerprint of the style's edition, the block pattern and
/// the seed. A code reads NAME-STAMP-PATTERN-SEED, the stamp four hexadecimal
/// digits and the seed in base 36, for example "Quotations-3F0A-2-1K9ZQ"; the
/// name may itself hold "-", so a code is read from its end.
struct PuzzleCode {
    std::string style;
    uint16_t stamp = 0;
    int32_t pattern = 0;
    uint32_t seed = 0;

    bool operator==(const PuzzleCode&) const = default;
};

/// The style the puzzle of the day comes from: it ships with the game, so that
/// every player has it.
constexpr const char* kDailyStyle = "Quotations";
/// How many seeds from the day's own the puzzle of the day tries before it gives
/// up; a style that fills the day's pattern at all fills it far sooner.
constexpr uint32_t kDailySeeds = 64;

/// A puzzle is made from its seed with this many fills, the generator running on:
/// the round of tries of a preparation worker and of `pelorin-tool fill --seed`.
constexpr int32_t kSeedTries = 4;

/// Fingerprint of what a style's puzzles depend on: the dictionary edition it was
/// built against, its words and its sentences. Two styles of the same stamp make
/// the same puzzle from the same seed.
uint16_t ShortStamp(const Style& style);

/// The code of the puzzle a style makes on a pattern from a seed.
PuzzleCode CodeOf(const Style& style, int32_t patternId, uint32_t seed);

std::string FormatCode(const PuzzleCode& code);
/// Reads a code (surrounding blanks ignored, any case but the style's name); false
/// with the reason in `reason` when the text is not one.
bool ParseCode(std::string_view text, PuzzleCode& code, std::string& reason);
/// Whether a code was made with this very style; false with the reason (another
/// style, or another edition of it) in `reason`.
bool CodeFitsStyle(const PuzzleCode& code, const Style& style, std::string& reason);

/// Seeds the thread's generator and fills the game with up to kSeedTries fills;
/// true when one filled. A cleared keepRunning ends it early with false.
bool FillFromSeed(Game& game, const Style& style, int32_t patternId, uint32_t seed,
                  const std::atomic<bool>& keepRunning);

/// A calendar day; month 1 to 12, day 1 to 31.
struct PuzzleDate {
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
};

/// Reads YYYY-MM-DD; false for anything else, an impossible day included.
bool ParseDate(std::string_view text, PuzzleDate& date);
/// The local calendar day of now.
PuzzleDate Today();
/// The first seed the day's puzzle tries: a mix of the day's number, so that the
/// seeds of neighbouring days lie far apart.
uint32_t DailySeed(const PuzzleDate& date);
/// The day's block pattern: Monday and Tuesday the easiest, then harder towards the
/// weekend, and on Sunday the fourth pattern, which New Game does not offer.
int32_t DailyPattern(const PuzzleDate& date);
/// The puzzle of the day: the day's pattern filled from the first seed, counting
/// up from DailySeed, that fills within kDailySeeds. The game and `code` are set
/// on success; false when no seed filled (or keepRunning was cleared).
bool FillDaily(Game& game, const Style& style, const PuzzleDate& date, PuzzleCode& code,
               const std::atomic<bool>& keepRunning);

} // namespace pelorin
