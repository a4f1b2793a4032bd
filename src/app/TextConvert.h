#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace pelorin {

/// The program's narrow text is UTF-8; the windows and the settings store take
/// and give Qt's UTF-16 strings. Every crossing goes through these two.
QString ToWide(std::string_view text);
std::string ToNarrow(const QString& text);

} // namespace pelorin
