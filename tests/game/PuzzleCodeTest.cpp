#include "game/PuzzleCode.h"

#include <gtest/gtest.h>
#include <string>

namespace pelorin {
namespace {
// A code is read back as it was written, from its end, so that a style whose name
// holds a dash still works, and anything that is not a code is refused.
TEST(PuzzleCodeTest, CodesReadBackAndNonCodesAreRefused)
{
    const PuzzleCode codes[] = {
        {"Quotations", 0x3F0A, 2, 4294967295u}, {"my-own-style", 0, 3, 0}, {"Scripture", 0xFFFF, 0, 1234567}};
    for (const PuzzleCode& code : codes) {
        PuzzleCode read;
        std::string reason;
        ASSERT_TRUE(ParseCode(" " + FormatCode(code) + "\n", read, reason)) << FormatCode(code);
        EXPECT_EQ(read, code) << FormatCode(code);
    }
    EXPECT_EQ(FormatCode(codes[0]), "Quotations-3F0A-2-1Z141Z3");
    PuzzleCode lower;
    std::string reason;
    ASSERT_TRUE(ParseCode("Quotations-3f0a-2-1z141z3", lower, reason));
    EXPECT_EQ(lower, codes[0]);
    const char* refused[] = {"", "Quotations", "-3F0A-2-1", "Quotations-3F0A-4-1", "Quotations-3F0-2-1",
                             "Quotations-3F0A-2-", "Quotations-3F0A-2-1Z141Z4", "Quotations-3G0A-2-1"};
    for (const char* text : refused) {
        PuzzleCode read;
        EXPECT_FALSE(ParseCode(text, read, reason)) << text;
        EXPECT_NE(reason.find("is not a puzzle code"), std::string::npos) << text;
    }
}

// The day's pattern follows the weekday, real days only are read, and the seeds of
// neighbouring days lie far apart (their runs of seeds never meet).
TEST(PuzzleCodeTest, TheDayGivesPatternAndSeed)
{
    const std::pair<const char*, int32_t> days[] = {
        {"2026-12-06", 3}, {"2026-12-07", 2}, {"2026-12-08", 2}, {"2026-12-09", 1},
        {"2026-12-10", 1}, {"2026-12-11", 0}, {"2026-12-12", 0}, {"2028-02-29", 2}};
    for (const auto& [text, pattern] : days) {
        PuzzleDate date;
        ASSERT_TRUE(ParseDate(text, date)) << text;
        EXPECT_EQ(DailyPattern(date), pattern) << text;
    }
    const uint32_t monday = DailySeed({2026, 12, 7});
    const uint32_t tuesday = DailySeed({2026, 12, 8});
    EXPECT_GT(monday > tuesday ? monday - tuesday : tuesday - monday, kDailySeeds);
    PuzzleDate date;
    for (const char* text : {"2026-02-29", "2026-13-01", "2026-1-01", "20261207", "2026-12-07x", "2026-00-10"})
        EXPECT_FALSE(ParseDate(text, date)) << text;
}
} // namespace
} // namespace pelorin
