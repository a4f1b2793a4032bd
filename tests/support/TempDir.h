#pragma once

#include <filesystem>
#include <string>

namespace pelorin::test {

/// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    /// The folder with a trailing "/", as the program keeps its folders.
    std::string Folder() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

/// The bytes of a file, empty when it cannot be read.
std::string FileBytes(const std::string& path);
/// Writes a fresh file of these bytes (a file rewritten in place may be flushed to
/// disk first, which slows tests that write many); false when it cannot be written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

} // namespace pelorin::test
