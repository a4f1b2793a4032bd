#pragma once

#include "lexicon/Dictionary.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace pelorin::test {
/// A data root in a temporary folder: Zanth.dct with the ABC words of 2 to 8
/// letters, and the Styles, Cache and Games folders.
class TestRoot {
public:
    static constexpr int32_t kStamp = 1234;
    TestRoot();
    /// The root folder, with its trailing "/".
    std::string Root() const { return dir_.Folder(); }
    std::string Styles() const { return dir_.File("Styles"); }
    std::string Cache() const { return dir_.File("Cache"); }
    std::string CacheFile(const std::string& name) const { return dir_.File("Cache/" + name); }
    std::string StyleFile(const std::string& name) const { return dir_.File("Styles/" + name); }
    const Dictionary& Lexicon() const { return dictionary_; }
    /// Writes a style of the words of at most maxLength letters. Below 8 letters no
    /// grid can be filled with it, so its fills search all their passes.
    void AddStyle(const std::string& fileName, int maxLength = 8);
    /// Writes a style of every word whose stamp differs from the dictionary's.
    void AddStaleStyle(const std::string& fileName);
private:
    TempDir dir_;
    Dictionary dictionary_;
};

/// A temporary folder that holds the per-user settings while it lives, so that
/// tests see neither each other's values nor the user's.
struct SettingsDir : TempDir {
    SettingsDir();
};

/// Polls a condition until it holds or the limit passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
} // namespace pelorin::test
