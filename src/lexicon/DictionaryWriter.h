#pragma once

#include "lexicon/Dictionary.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pelorin {

/// The top-level records of a dictionary, in table order (a record's position is
/// its word index).
using WordRecordTable = std::vector<std::unique_ptr<WordRecord>>;

/// Writes a table of word records as a dictionary file ("Zanth.dct" format,
/// version 54), the way Dictionary::LoadFile reads it back.
///
/// The writer refuses a table the reader could not use as written: more words than
/// the program's capacity, top-level texts that are not strictly ascending in
/// unsigned byte order (lookup bisects them), a top-level text of anything but A-Z
/// or with a length field that is not its length (the pattern query trusts both),
/// a base index outside the table, or sub-records nested deeper than the reader
/// accepts. Nothing is written then.
class DictionaryWriter {
public:
    explicit DictionaryWriter(std::span<const std::unique_ptr<WordRecord>> records) : records_(records) {}

    /// True when the table can be written (see the class comment).
    bool Valid() const;

    /// The edition stamp of this content: a hash of every byte the file holds
    /// except the stamp itself, so a changed dictionary gets a new stamp and styles
    /// built against the old one rebuild themselves. Never 0 (0 means "no
    /// dictionary read"), and never negative, so it prints plainly.
    int32_t ContentStamp(int32_t spare = 0) const;

    /// Writes the file through a temporary that replaces `path` only when every
    /// byte went through; false (errno telling why where the system gave one) when
    /// the table is not valid or the file cannot be written. An existing file at
    /// `path` stays whole on failure.
    bool Write(const std::string& path, int32_t stamp, int32_t spare = 0) const;
    /// Writes with the content stamp.
    bool Write(const std::string& path) const { return Write(path, ContentStamp()); }

private:
    std::span<const std::unique_ptr<WordRecord>> records_;
};

} // namespace pelorin
