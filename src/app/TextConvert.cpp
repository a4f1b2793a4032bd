#include "app/TextConvert.h"

namespace pelorin {

QString ToWide(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToNarrow(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace pelorin
