#include "foundation/StoredValues.h"

#include "foundation/Notifier.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <string>
#include <system_error>
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
        ShowFileError(path, error, Format(messageFormat, path.c_str(), error), caption);
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

bool ReadToEnd(std::FILE* file, FileBytes& bytes)
{
    const long start = std::ftell(file);
    if (start < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return false;
    const long end = std::ftell(file);
    if (end < start || std::fseek(file, start, SEEK_SET) != 0)
        return false;
    const auto size = static_cast<size_t>(end - start);
    auto data = std::make_unique_for_overwrite<char[]>(size);
    if (std::fread(data.get(), 1, size, file) != size)
        return false;
    bytes.data = std::move(data);
    bytes.size = size;
    return true;
}

bool ByteReader::ReadText(std::string_view& text, bool* present)
{
    int32_t count = 0;
    if (!ReadInt32(count))
        return false;
    if (count < 0 || static_cast<size_t>(count) > bytes_.size() - position_)
        return ok_ = false;
    const char* start = bytes_.data() + position_;
    // The text is the bytes up to the first zero byte.
    const void* zero = std::memchr(start, 0, static_cast<size_t>(count));
    text = std::string_view(start, zero ? static_cast<const char*>(zero) - start : static_cast<size_t>(count));
    if (present)
        *present = count != 0;
    position_ += static_cast<size_t>(count);
    return true;
}

bool ByteReader::ReadHeader(int32_t version, std::string_view magic)
{
    int32_t fileVersion = 0;
    std::string_view fileMagic;
    bool present = false;
    return ReadInt32(fileVersion) && fileVersion == version && ReadText(fileMagic, &present) && present &&
           fileMagic == magic;
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

// How many symbolic links a save follows before it takes the path for a loop;
// the kernel's own limit for a path.
constexpr int kMaxLinkHops = 40;

// The file a path names, following symbolic links to their end: a save through a
// link writes the file the link points to and leaves the link in place. A link
// that points nowhere yet names the file to create.
bool ResolveLinks(const std::string& path, std::string& resolved)
{
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            resolved = current.string();
            return true;
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error) {
            errno = error.value();
            return false;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    errno = ELOOP;
    return false;
}

// Whether an existing file may be replaced: only an ordinary file that the user
// may write. A file without any write permission was made read-only on purpose,
// and stays so even for a user whom the system would let write it.
bool MayReplace(const std::string& path, const struct stat& info)
{
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if ((info.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

} // namespace

ReplacingFile::~ReplacingFile()
{
    Discard();
}

bool ReplacingFile::Open(const std::string& targetPath)
{
    Discard();
    std::string target;
    if (!ResolveLinks(targetPath, target))
        return false;
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0;
    if (replacing && !MayReplace(target, old))
        return false;
    std::string name;
    const int fd = CreateTemporary(target, name);
    if (fd < 0)
        return false;
    // The new file takes the old one's permissions, so that replacing a file never
    // widens or narrows who may read it; a new file gets what the umask allows.
    std::FILE* file = replacing && fchmod(fd, old.st_mode & 0777) != 0 ? nullptr : fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        close(fd);
        std::remove(name.c_str());
        errno = error;
        return false;
    }
    file_.reset(file);
    target_ = std::move(target);
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
        // The caller reports why the save failed: the clean-up must not change it.
        const int error = errno;
        Discard();
        errno = error;
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
