#include "game/PuzzleCode.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/BlockPatterns.h"
#include "game/GridFiller.h"
#include "game/Random.h"
#include "lexicon/Style.h"

#include <chrono>
#include <ctime>

namespace pelorin {
namespace {

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// FNV-1a over 32-bit values: fixed, so that a stamp is the same on every machine.
void Mix(uint32_t& hash, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        hash ^= (value >> shift) & 0xFFu;
        hash *= 16777619u;
    }
}

std::string ToBase(uint32_t value, uint32_t base)
{
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value % base]);
        value /= base;
    } while (value > 0);
    return text;
}

// A whole number in a base, any case; false when empty, too long or out of range.
bool FromBase(std::string_view text, uint32_t base, uint32_t& value)
{
    if (text.empty() || text.size() > 8)
        return false;
    uint64_t result = 0;
    for (const char c : text) {
        const char upper = ToUpperAscii(c);
        const char* at = std::char_traits<char>::find(kDigits, base, upper);
        if (!at)
            return false;
        result = result * base + static_cast<uint64_t>(at - kDigits);
    }
    if (result > 0xFFFFFFFFu)
        return false;
    value = static_cast<uint32_t>(result);
    return true;
}

std::chrono::year_month_day ToChrono(const PuzzleDate& date)
{
    return std::chrono::year_month_day{std::chrono::year{date.year},
                                       std::chrono::month{static_cast<unsigned>(date.month)},
                                       std::chrono::day{static_cast<unsigned>(date.day)}};
}

} // namespace

uint16_t ShortStamp(const Style& style)
{
    uint32_t hash = 2166136261u;
    Mix(hash, static_cast<uint32_t>(style.Stamp()));
    for (const int32_t word : style.Words().Words())
        Mix(hash, static_cast<uint32_t>(word));
    Mix(hash, static_cast<uint32_t>(style.SentenceCount()));
    return static_cast<uint16_t>(hash ^ (hash >> 16));
}

PuzzleCode CodeOf(const Style& style, int32_t patternId, uint32_t seed)
{
    return {StripExtension(style.FileName()), ShortStamp(style), patternId, seed};
}

std::string FormatCode(const PuzzleCode& code)
{
    return Format("%s-%04X-%d-%s", code.style.c_str(), code.stamp, code.pattern, ToBase(code.seed, 36).c_str());
}

bool ParseCode(std::string_view text, PuzzleCode& code, std::string& reason)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    // NAME-STAMP-PATTERN-SEED, read from the end.
    std::string_view parts[3];
    std::string_view rest = text;
    for (int i = 2; i >= 0; --i) {
        const size_t dash = rest.rfind('-');
        if (dash == std::string_view::npos)
            break;
        parts[i] = rest.substr(dash + 1);
        rest = rest.substr(0, dash);
    }
    uint32_t stamp = 0;
    uint32_t pattern = 0;
    uint32_t seed = 0;
    if (rest.empty() || parts[0].size() != 4 || !FromBase(parts[0], 16, stamp) || parts[1].size() != 1 ||
        !FromBase(parts[1], 10, pattern) || pattern >= static_cast<uint32_t>(kPatternCount) ||
        !FromBase(parts[2], 36, seed)) {
        reason = Format("\"%.*s\" is not a puzzle code. A code reads STYLE-STAMP-PATTERN-SEED, for example "
                        "Quotations-3F0A-2-1K9ZQ.",
                        static_cast<int>(std::min<size_t>(text.size(), 60)), text.data());
        return false;
    }
    code = {std::string(rest), static_cast<uint16_t>(stamp), static_cast<int32_t>(pattern), seed};
    return true;
}

bool CodeFitsStyle(const PuzzleCode& code, const Style& style, std::string& reason)
{
    const std::string name = StripExtension(style.FileName());
    if (code.style != name) {
        reason = Format("The puzzle code %s was made with the style %s, not %s.", FormatCode(code).c_str(),
                        code.style.c_str(), name.c_str());
        return false;
    }
    if (code.stamp != ShortStamp(style)) {
        reason = Format("The puzzle code %s was made with another version of the style %s (stamp %04X, here %04X), "
                        "so this computer would make another puzzle from it.",
                        FormatCode(code).c_str(), name.c_str(), code.stamp, ShortStamp(style));
        return false;
    }
    return true;
}

bool FillFromSeed(Game& game, const Style& style, int32_t patternId, uint32_t seed,
                  const std::atomic<bool>& keepRunning)
{
    SeedRandom(seed);
    for (int32_t attempt = 0; attempt < kSeedTries && keepRunning.load(); ++attempt)
        if (FillGame(game, style, patternId, keepRunning))
            return keepRunning.load();
    return false;
}

bool ParseDate(std::string_view text, PuzzleDate& date)
{
    uint32_t year = 0;
    uint32_t month = 0;
    uint32_t day = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !FromBase(text.substr(0, 4), 10, year) ||
        !FromBase(text.substr(5, 2), 10, month) || !FromBase(text.substr(8, 2), 10, day))
        return false;
    const PuzzleDate read{static_cast<int32_t>(year), static_cast<int32_t>(month), static_cast<int32_t>(day)};
    if (!ToChrono(read).ok())
        return false;
    date = read;
    return true;
}

PuzzleDate Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

uint32_t DailySeed(const PuzzleDate& date)
{
    // The murmur finaliser: neighbouring days give unrelated seeds.
    auto days = static_cast<uint32_t>(std::chrono::sys_days(ToChrono(date)).time_since_epoch().count());
    days ^= days >> 16;
    days *= 0x85EBCA6Bu;
    days ^= days >> 13;
    days *= 0xC2B2AE35u;
    days ^= days >> 16;
    return days;
}

int32_t DailyPattern(const PuzzleDate& date)
{
    // By weekday from Sunday: pattern 2 fills most freely, then 1, then 0.
    static constexpr int32_t kByWeekday[7] = {3, 2, 2, 1, 1, 0, 0};
    return kByWeekday[std::chrono::weekday(std::chrono::sys_days(ToChrono(date))).c_encoding()];
}

bool FillDaily(Game& game, const Style& style, const PuzzleDate& date, PuzzleCode& code,
               const std::atomic<bool>& keepRunning)
{
    const int32_t pattern = DailyPattern(date);
    const uint32_t first = DailySeed(date);
    for (uint32_t i = 0; i < kDailySeeds && keepRunning.load(); ++i) {
        if (!FillFromSeed(game, style, pattern, first + i, keepRunning))
            continue;
        code = CodeOf(style, pattern, first + i);
        return true;
    }
    return false;
}

} // namespace pelorin
