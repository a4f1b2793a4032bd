#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace pelorin {

// The program keeps its text as narrow UTF-8 bytes; Qt takes and gives wide text.
// Every crossing goes through these two.

/// Narrow text to wide text.
QString ToWide(std::string_view text);
/// Wide text to narrow text.
std::string ToNarrow(const QString& text);

} // namespace pelorin
