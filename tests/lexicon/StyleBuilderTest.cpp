#include "lexicon/StyleBuilder.h"

#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <tuple>

namespace pelorin {
namespace {

class StyleBuilderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords({"CAT", "DOG", "SAT", "THE"}));
        ASSERT_TRUE(dictionary.Load(dir.Folder()));
    }
    std::string Book(const std::string& name, const std::string& text)
    {
        test::WriteFileBytes(dir.File(name), text);
        return dir.File(name);
    }
    test::TempDir dir;
    Dictionary dictionary;
};

// Nothing is read when a check fails: 16 bytes pass, 17 do not (bytes, not
// letters), and a style needs a book.
TEST_F(StyleBuilderTest, ChecksComeBeforeAnyBook)
{
    const std::vector<std::string> missing = {dir.File("none.txt")};
    const std::string_view tooLong = "Description cannot exceed 16 characters";
    const std::tuple<std::string, std::vector<std::string>, StyleBuildStatus, std::string_view> cases[] = {
        {"1234567890123456", missing, StyleBuildStatus::Built, ""},
        {"Gedichte \xc3\xbc\xc3\xbc\xc3\xbc\xc3\xbc", missing, StyleBuildStatus::DescriptionTooLong, tooLong},
        {"", {}, StyleBuildStatus::NoBooks, "Need to add some books"},
    };
    for (const auto& [description, books, status, message] : cases) {
        int reports = 0;
        const StyleBuildResult built =
            BuildStyle(dictionary, description, books, [&](const StyleBuildProgress&) { ++reports; });
        EXPECT_EQ(built.status, status) << description;
        EXPECT_EQ(StyleInputMessage(status), message);
        EXPECT_EQ(built.style != nullptr, status == StyleBuildStatus::Built);
        EXPECT_TRUE(reports == 0 || status == StyleBuildStatus::Built) << description;
    }
}

// Every book counts, read or not; those that could not be read are named in
// order with the reason, and progress walks the books before the final report.
TEST_F(StyleBuilderTest, BuildsFromTheBooksAndNamesThoseThatCouldNotBeRead)
{
    std::filesystem::create_directory(dir.File("folder.txt"));
    ASSERT_EQ(mkfifo(dir.File("pipe.txt").c_str(), 0600), 0);
    const std::vector<std::string> books = {
        Book("one.txt", "The cat sat."),   dir.File("gone.txt"), dir.File("folder.txt"),
        dir.File("pipe.txt"), Book("two.txt", "The dog sat."),
    };
    std::vector<std::pair<int32_t, std::string>> reports;
    const StyleBuildResult built = BuildStyle(dictionary, "Mine", books, [&](const StyleBuildProgress& step) {
        EXPECT_EQ(step.bookCount, 5);
        reports.emplace_back(step.booksDone, std::string(step.book));
    });
    ASSERT_EQ(built.status, StyleBuildStatus::Built);
    const Style& style = *built.style;
    EXPECT_EQ(std::tuple(TextOf(style.Description()), style.Books().Count(), style.Words().Count(),
                         style.SentenceCount()),
              std::tuple("Mine", 5, 4, 2));
    std::vector<std::pair<std::string, std::string>> unread;
    for (const auto& book : built.unread)
        unread.emplace_back(book.path, book.reason);
    EXPECT_EQ(unread, (std::vector<std::pair<std::string, std::string>>{
                          {books[1], "No such file or directory"}, {books[2], "Is a directory"},
                          {books[3], "Not a regular file"}}));
    ASSERT_EQ(reports.size(), 6u);
    for (size_t i = 0; i < books.size(); ++i)
        EXPECT_EQ(reports[i], std::make_pair(static_cast<int32_t>(i), books[i]));
    EXPECT_EQ(reports.back(), std::make_pair(int32_t{5}, std::string()));
}

// Cancelling between books or inside one leaves no style and no unread books;
// a scan whose stop flag is up keeps nothing of the rest of its book.
TEST_F(StyleBuilderTest, CancelledBuildLeavesNothing)
{
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += "The cat sat. ";
    const std::vector<std::string> books = {Book("one.txt", "The cat sat."), dir.File("gone.txt"), Book("big.txt", big),
                                            Book("two.txt", "The dog sat.")};
    for (const int32_t cancelAt : {1, 2, 3}) {
        std::atomic<bool> cancel{false};
        int reports = 0;
        auto progress = [&](const StyleBuildProgress& step) {
            ++reports;
            cancel = cancel || step.booksDone == cancelAt;
        };
        const StyleBuildResult built = BuildStyle(dictionary, "Mine", books, progress, &cancel);
        EXPECT_EQ(built.status, StyleBuildStatus::Cancelled) << cancelAt;
        EXPECT_EQ(built.style, nullptr);
        EXPECT_TRUE(built.unread.empty());
        EXPECT_EQ(reports, cancelAt + 1);
    }
    const std::atomic<bool> stop{true};
    auto style = std::make_unique<Style>(dictionary);
    EXPECT_TRUE(style->AddBook(books[2], &stop));
    EXPECT_EQ(style->SentenceCount(), 0);
}

} // namespace
} // namespace pelorin
