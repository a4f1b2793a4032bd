#include "lexicon/Style.h"

#include "foundation/TextUtil.h"

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace pelorin {

namespace {

// Lines are marked in pieces of this many characters, so a word that straddles two
// pieces is seen as two tokens; saved styles were built so, and a rebuild from the
// same books must give them the same words.
constexpr size_t kPieceLength = 255;
// A sentence, its "." and its zero byte must fit this buffer.
constexpr size_t kSentenceBufferSize = 16384;
constexpr size_t kMaxSentenceCharacters = kSentenceBufferSize - 2;
// The text before a full stop must be longer than this to be a sentence, so that
// "Mr." and the like do not become quotations.
constexpr int32_t kMinSentenceCharacters = 3;
constexpr int32_t kIdealQuotationLength = 80;

// Reads a book as text: a carriage return before a line feed is dropped, so books
// with DOS line ends are cut into the same pieces and sentences as others. A raised
// stop flag, looked at once a buffer, ends the text early.
class BookReader {
public:
    BookReader(std::FILE* file, const std::atomic<bool>* stop)
        : file_(file), stop_(stop), buffer_(std::make_unique<char[]>(kBufferSize))
    {
    }

    /// The next character (0-255), or EOF.
    int Get()
    {
        const int c = Next();
        if (c == '\r' && Peek() == '\n')
            return Next();
        return c;
    }

    void Rewind()
    {
        std::rewind(file_);
        position_ = 0;
        end_ = 0;
    }

    /// The error number of a read that failed; 0 while none has.
    int Error() const { return error_; }

private:
    static constexpr size_t kBufferSize = 64 * 1024;

    bool Fill()
    {
        if (position_ < end_)
            return true;
        position_ = 0;
        end_ = 0;
        if (stop_ && stop_->load(std::memory_order_relaxed))
            return false;
        errno = 0;
        end_ = std::fread(buffer_.get(), 1, kBufferSize, file_);
        if (end_ == 0 && std::ferror(file_) && error_ == 0)
            error_ = errno != 0 ? errno : EIO;
        return end_ > 0;
    }
    int Next() { return Fill() ? static_cast<unsigned char>(buffer_[position_++]) : EOF; }
    int Peek() { return Fill() ? static_cast<unsigned char>(buffer_[position_]) : EOF; }

    std::FILE* file_;
    const std::atomic<bool>* stop_;
    std::unique_ptr<char[]> buffer_;
    size_t position_ = 0;
    size_t end_ = 0;
    int error_ = 0;
};

// Why a path names no book that can be read, before it is opened: a folder or a
// device would read as nothing or never end, and opening a pipe would wait for a
// writer. Empty when it is a regular file.
std::string NotABook(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return std::strerror(EISDIR);
    if (!S_ISREG(info.st_mode))
        return "Not a regular file";
    return {};
}

// Pieces and sentences are C strings in the scanner's buffers: text after a zero
// byte of the book is not part of them.
std::string_view UpToZero(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

void MarkPieces(BookReader& reader, const Book& book)
{
    char piece[kPieceLength];
    size_t length = 0;
    for (int c = reader.Get(); c != EOF; c = reader.Get()) {
        piece[length++] = static_cast<char>(c);
        if (c == '\n' || length == kPieceLength) {
            book.MarkWords(UpToZero(std::string_view(piece, length)));
            length = 0;
        }
    }
    if (length > 0)
        book.MarkWords(UpToZero(std::string_view(piece, length)));
}

// Makes a quotation of a finished sentence (ending with its "."), from its first
// letter on; a sentence without any letter (a year, a row of dots) is no hint and
// is not kept.
void AddSentence(std::string_view sentence, Book& book)
{
    sentence = UpToZero(sentence);
    const std::string_view letters = TrimToLetters(sentence);
    if (letters.empty())
        return;
    // From the first letter through the end, keeping the closing ".".
    const std::string_view text = sentence.substr(static_cast<size_t>(letters.data() - sentence.data()));
    const int32_t length = static_cast<int32_t>(text.size());
    book.sentences.Add(std::make_unique<Quotation>(std::abs(length - kIdealQuotationLength), length,
                                                   StoredText(std::string(text))));
}

void CollectSentences(BookReader& reader, Book& book)
{
    const auto buffer = std::make_unique<char[]>(kSentenceBufferSize);
    size_t count = 0;
    // A run too long for the buffer is dropped whole at its full stop: cutting it
    // would keep a fragment that is no sentence.
    bool overflowed = false;
    for (int c = reader.Get(); c != EOF; c = reader.Get()) {
        if (c == '.') {
            if (!overflowed && count > static_cast<size_t>(kMinSentenceCharacters)) {
                buffer[count] = '.';
                buffer[count + 1] = '\0';
                AddSentence(std::string_view(buffer.get(), count + 1), book);
            }
            count = 0;
            overflowed = false;
            continue;
        }
        if (count == kMaxSentenceCharacters) {
            overflowed = true;
            continue;
        }
        buffer[count++] = c == '\n' ? ' ' : static_cast<char>(c);
    }
}

} // namespace

bool ScanBook(const std::string& path, Book& book, const std::atomic<bool>* stop, std::string* reason)
{
    std::string why = NotABook(path);
    if (why.empty()) {
        const FilePtr file = OpenFile(path, "r");
        if (file) {
            BookReader reader(file.get(), stop);
            MarkPieces(reader, book);
            reader.Rewind();
            CollectSentences(reader, book);
            if (reader.Error() == 0)
                return true;
            // What was read before the failure stays in the book.
            why = std::strerror(reader.Error());
        } else {
            why = std::strerror(errno);
        }
    }
    if (reason)
        *reason = std::move(why);
    return false;
}

} // namespace pelorin
