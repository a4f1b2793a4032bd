#include "Files.h"

#include "Report.h"

#include "foundation/Notifier.h"
#include "foundation/StoredValues.h"

#include <cerrno>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelorin::tool {

bool CheckReadableFile(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        ReportSystemError(path, errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        ReportSystemError(path, EISDIR);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        ReportError(path, "not a regular file");
        return false;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ReportSystemError(path, errno);
        return false;
    }
    close(fd);
    return true;
}

bool CheckWritableFile(const std::string& path)
{
    ReplacingFile trial;
    if (!trial.Open(path)) {
        ReportSystemError(path, errno);
        return false;
    }
    // The trial's temporary file goes with the object.
    return true;
}

bool CheckNotAnInput(const std::string& out, std::span<const std::string> inputs)
{
    for (const std::string& input : inputs) {
        // Equivalence needs both to exist; an output not yet there is no input.
        std::error_code error;
        if (std::filesystem::equivalent(out, input, error)) {
            ReportError(out, "the same file as the input " + input + "; nothing written");
            return false;
        }
    }
    return true;
}

bool CheckFolder(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        ReportSystemError(path, errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        ReportSystemError(path, ENOTDIR);
        return false;
    }
    return true;
}

std::string FormatFault(const std::string& path, int32_t version, std::string_view magic, std::string_view kind)
{
    const FilePtr file = OpenFile(path, "rb");
    if (!file)
        return ErrorText(errno);
    FileReader reader(file.get());
    if (!reader.ReadHeader(version, magic))
        return Format("not a %.*s file of version %d", int(kind.size()), kind.data(), version);
    return Format("a damaged %.*s file", int(kind.size()), kind.data());
}

} // namespace pelorin::tool
