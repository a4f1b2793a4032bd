#include "game/ClueText.h"

#include "foundation/Notifier.h"
#include "game/Game.h"

namespace pelorin {

namespace {

// A line fits the list's 4,096-byte buffer with its terminating zero.
constexpr size_t kMaxLineBytes = 4095;

// Cuts a UTF-8 text to at most `limit` bytes without splitting a character, so
// that the line still converts to wide text whole.
void CutToBytes(std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
}

} // namespace

std::string_view WordFormNote(int32_t form)
{
    switch (form) {
    case kFormPlural:
        return "(plural) ";
    case kFormPast:
        return "(past) ";
    case kFormDoing:
        return "(doing) ";
    default:
        return {};
    }
}

std::string_view ClueText(const Entry& entry)
{
    const Definition* first = entry.definitions.At(0);
    return first ? TextOf(first->text) : std::string_view("?");
}

std::string ClueLine(const Entry& entry)
{
    const std::string_view note = WordFormNote(entry.form);
    const std::string_view clue = ClueText(entry);
    std::string line = Format("%d. \t %.*s%.*s", entry.number, static_cast<int>(note.size()), note.data(),
                              static_cast<int>(clue.size()), clue.data());
    CutToBytes(line, kMaxLineBytes);
    return line;
}

std::string NumberedLine(int32_t number, std::string_view text)
{
    std::string line = Format("%d. \t %.*s", number, static_cast<int>(text.size()), text.data());
    CutToBytes(line, kMaxLineBytes);
    return line;
}

} // namespace pelorin
