#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pelorin {

/// A text as the program's files store it: an int32 byte count that includes the
/// terminating zero byte, then the bytes. A count of 0 is an absent text, which is
/// kept apart from an empty one so that files read and written back stay the same.
using StoredText = std::optional<std::string>;

/// The characters of a stored text; an absent text reads as empty.
inline std::string_view TextOf(const StoredText& text)
{
    return text ? std::string_view(*text) : std::string_view();
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

/// Opens a file with fopen; null on failure, with errno telling why.
FilePtr OpenFile(const std::string& path, const char* mode);

/// Opens a file in byte mode for reading. On failure tells the player through
/// ShowMessage, with `messageFormat` (a printf format taking the path, %s, then
/// the error code, %d) and `caption`, and returns null.
FilePtr OpenForReading(const std::string& path, const char* messageFormat, std::string_view caption);

/// Reads stored values from a buffered C file in byte mode, one field at a time.
///
/// Every read checks what is left of the file, so a damaged or truncated file can
/// never make a reader run past its end or allocate more than the file holds. The
/// first failed read makes the reader fail for good; callers read a whole record
/// and test Ok() (or a read's result) before they trust what they got.
class FileReader {
public:
    /// The reader borrows the file, which must be open in byte mode at its start.
    explicit FileReader(std::FILE* file);

    bool ReadInt32(int32_t& value);
    bool ReadByte(uint8_t& value);
    /// Reads a stored text; fails when its count is negative or beyond the file's end.
    bool ReadText(StoredText& text);
    /// Reads the version and magic text a file starts with; false unless both are
    /// the ones given (a non-empty magic, compared exactly).
    bool ReadHeader(int32_t version, std::string_view magic);

    /// True when `count` items of at least `minBytesEach` bytes can still be read:
    /// the guard for every count a file states before a reader allocates for it.
    bool CanHold(int32_t count, int64_t minBytesEach) const;

    bool Ok() const { return ok_; }
    int64_t Remaining() const { return ok_ ? size_ - position_ : 0; }
    bool AtEnd() const { return ok_ && position_ == size_; }
    /// Marks the input as unusable, for readers that find an impossible value.
    void Fail() { ok_ = false; }

private:
    bool ReadBytes(void* target, int64_t count);

    std::FILE* file_;
    int64_t size_ = 0;
    int64_t position_ = 0;
    bool ok_ = true;
};

/// The int32 stored little-endian at `bytes`.
inline int32_t LoadInt32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

/// The bytes of a whole file, read at once.
struct FileBytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;

    std::span<const char> View() const { return {data.get(), size}; }
};

/// Reads an open file from its current position to its end in one go; false when
/// the file cannot be measured or read.
bool ReadToEnd(std::FILE* file, FileBytes& bytes);

/// Reads stored values from bytes held in memory, with the checks FileReader
/// makes: a damaged count never reads past the end. Texts come as views into the
/// bytes, which must outlive them.
class ByteReader {
public:
    explicit ByteReader(std::span<const char> bytes) : bytes_(bytes) {}

    bool ReadInt32(int32_t& value)
    {
        if (!ok_ || bytes_.size() - position_ < 4)
            return ok_ = false;
        value = LoadInt32(bytes_.data() + position_);
        position_ += 4;
        return true;
    }
    /// Reads a stored text: its characters up to the first zero byte, and whether
    /// it is present at all (a count of 0 is an absent text).
    bool ReadText(std::string_view& text, bool* present = nullptr);
    bool ReadHeader(int32_t version, std::string_view magic);
    bool CanHold(int32_t count, int64_t minBytesEach) const
    {
        return ok_ && count >= 0 && int64_t(count) * minBytesEach <= int64_t(bytes_.size() - position_);
    }

    /// Where the next read starts.
    const char* Position() const { return bytes_.data() + position_; }
    bool AtEnd() const { return ok_ && position_ == bytes_.size(); }

private:
    std::span<const char> bytes_;
    size_t position_ = 0;
    bool ok_ = true;
};

/// Writes stored values to a buffered C file in byte mode, remembering whether
/// every write went through.
class FileWriter {
public:
    explicit FileWriter(std::FILE* file) : file_(file) {}

    void WriteInt32(int32_t value);
    void WriteByte(uint8_t value);
    void WriteText(const StoredText& text);
    void WriteText(std::string_view text);
    void WriteText(const std::string& text) { WriteText(std::string_view(text)); }
    void WriteText(const char* text) { WriteText(std::string_view(text)); }

    bool Ok() const { return ok_; }

private:
    void WriteBytes(const void* source, size_t count);

    std::FILE* file_;
    bool ok_ = true;
};

/// Writes a file under a temporary name in the target's folder and moves it over
/// the target only when every write succeeded, so the target is either the old
/// file, whole, or the new one, whole; never a half-written one. A file that is
/// not committed is removed when the object goes.
///
/// Replacing keeps what the user set up: a symbolic link is followed and the file
/// it points to is replaced, a read-only file is refused, and the new file takes
/// the old one's permissions.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    /// Creates the temporary file; false (errno set) when the folder does not take
    /// it or the target is a file that may not be replaced.
    bool Open(const std::string& targetPath);
    std::FILE* Get() const { return file_.get(); }
    /// Flushes and closes the file and renames it over the target when `writesOk`
    /// and the flush and close succeed; otherwise removes it. True when renamed;
    /// false with errno telling why.
    bool Commit(bool writesOk);

private:
    void Discard();

    FilePtr file_;
    std::string target_;
    std::string temporary_;
};

} // namespace pelorin
