#include "foundation/StoredValues.h"

#include "foundation/Notifier.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace pelorin {

FilePtr OpenFile(const std::string& path, const char* mode)
{
    return FilePtr(std::fopen(path.c_str(), mode));
}

FilePtr OpenForReading(const std::string& path, const char* messageFormat, std::string_view caption)
{
    FilePtr file = OpenFile(path, "rb");
    if (!file) {
        // Taken at once: building the message may change errno.
        const int error = errno;
        ShowMessage(Format(messageFormat, path.c_str(), error), caption);
    }
    return file;
}

FileReader::FileReader(std::FILE* file) : file_(file)
{
    const long start = std::ftell(file_);
    if (start < 0 || std::fseek(file_, 0, SEEK_END) != 0) {
        ok_ = false;
        return;
    }
    const long end = std::ftell(file_);
    if (end < start || std::fseek(file_, start, SEEK_SET) != 0) {
        ok_ = false;
        return;
    }
    size_ = end;
    position_ = start;
}

bool FileReader::ReadBytes(void* target, int64_t count)
{
    if (!ok_ || count < 0 || count > size_ - position_) {
        ok_ = false;
        return false;
    }
    if (count > 0 && std::fread(target, 1, static_cast<size_t>(count), file_) != static_cast<size_t>(count)) {
        ok_ = false;
        return false;
    }
    position_ += count;
    return true;
}

bool FileReader::ReadInt32(int32_t& value)
{
    unsigned char bytes[4];
    if (!ReadBytes(bytes, 4))
        return false;
    const uint32_t v = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                       uint32_t(bytes[3]) << 24;
    value = static_cast<int32_t>(v);
    return true;
}

bool FileReader::ReadByte(uint8_t& value)
{
    return ReadBytes(&value, 1);
}

bool FileReader::ReadText(StoredText& text)
{
    int32_t count = 0;
    if (!ReadInt32(count))
        return false;
    if (count == 0) {
        text.reset();
        return true;
    }
    if (count < 0 || count > Remaining()) {
        ok_ = false;
        return false;
    }
    std::string bytes(static_cast<size_t>(count), '\0');
    if (!ReadBytes(bytes.data(), count))
        return false;
    // The text is the bytes up to the first zero byte.
    bytes.resize(std::strlen(bytes.c_str()));
    text = std::move(bytes);
    return true;
}

bool FileReader::ReadHeader(int32_t version, std::string_view magic)
{
    int32_t fileVersion = 0;
    if (!ReadInt32(fileVersion) || fileVersion != version)
        return false;
    StoredText fileMagic;
    return ReadText(fileMagic) && fileMagic && *fileMagic == magic;
}

bool FileReader::CanHold(int32_t count, int64_t minBytesEach) const
{
    return ok_ && count >= 0 && int64_t(count) * minBytesEach <= size_ - position_;
}

void FileWriter::WriteBytes(const void* source, size_t count)
{
    if (ok_ && std::fwrite(source, 1, count, file_) != count)
        ok_ = false;
}

void FileWriter::WriteInt32(int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    WriteBytes(bytes, 4);
}

void FileWriter::WriteByte(uint8_t value)
{
    WriteBytes(&value, 1);
}

void FileWriter::WriteText(const StoredText& text)
{
    if (!text) {
        WriteInt32(0);
        return;
    }
    WriteText(std::string_view(*text));
}

void FileWriter::WriteText(std::string_view text)
{
    // A text is kept up to its first zero byte, as a reader will take it.
    const std::string_view kept = text.substr(0, text.find('\0'));
    WriteInt32(static_cast<int32_t>(kept.size() + 1));
    WriteBytes(kept.data(), kept.size());
    WriteByte(0);
}

namespace {

// A name clash with a stray temporary of an earlier run is unlikely (the names carry
// the process id), but each clash costs only a retry, so a few are allowed.
constexpr int kTemporaryNameTries = 100;

// Creates a new file beside the target under a name no other writer of this
// process or another is using. O_EXCL makes the creation the check, and mode 0666
// lets the kernel apply the umask, as an ordinary fopen would. The name ends in
// ".tmp", never in a data file's extension, so readers looking for a file by its
// exact name never take a half-written one.
int CreateTemporary(const std::string& targetPath, std::string& name)
{
    static std::atomic<uint64_t> counter{0};
    const std::string prefix = targetPath + "." + std::to_string(getpid()) + ".";
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        name = prefix + std::to_string(counter.fetch_add(1, std::memory_order_relaxed)) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1; // errno is still EEXIST
}

} // namespace

ReplacingFile::~ReplacingFile()
{
    Discard();
}

bool ReplacingFile::Open(const std::string& targetPath)
{
    Discard();
    target_ = targetPath;
    std::string name;
    const int fd = CreateTemporary(targetPath, name);
    if (fd < 0)
        return false;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        close(fd);
        std::remove(name.c_str());
        errno = error;
        return false;
    }
    file_.reset(file);
    temporary_ = std::move(name);
    return true;
}

bool ReplacingFile::Commit(bool writesOk)
{
    if (!file_)
        return false;
    const bool flushed = std::fflush(file_.get()) == 0 && fsync(fileno(file_.get())) == 0;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!writesOk || !flushed || !closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void ReplacingFile::Discard()
{
    file_.reset();
    if (!temporary_.empty()) {
        std::remove(temporary_.c_str());
        temporary_.clear();
    }
}

} // namespace pelorin
