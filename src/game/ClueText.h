#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pelorin {

class Entry;

/// The note a clue line puts before the clue for an inflected answer: "(plural) ",
/// "(past) " or "(doing) ", and nothing for any other word form.
std::string_view WordFormNote(int32_t form);

/// The clue of an entry: its first definition's text, or "?" when it has none.
std::string_view ClueText(const Entry& entry);

/// One line of a clue list: the number, ". \t ", the word-form note and the clue,
/// at most 4,095 bytes.
std::string ClueLine(const Entry& entry);

/// One line of a hint list (a quote or a definition): the number, ". \t " and the
/// text, at most 4,095 bytes.
std::string NumberedLine(int32_t number, std::string_view text);

} // namespace pelorin
