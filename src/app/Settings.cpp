#include "app/Settings.h"

#include "app/TextConvert.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace pelorin {

namespace {

constexpr const char* kOrganisation = "Tarnwick";
constexpr const char* kApplication = "Zanth";
constexpr QLatin1StringView kDwordPrefix("dword:");
constexpr qsizetype kDwordDigits = 8;

// One open of the store for one operation; the file is closed (and written when
// changed) when the object goes.
QSettings OpenStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication);
}

// The stored text of a value, whatever the INI reader made of it; nullopt when the
// value is absent or the file cannot be read.
std::optional<QString> ReadRaw(std::string_view name)
{
    const QSettings store = OpenStore();
    if (store.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant value = store.value(ToWide(name));
    if (!value.isValid())
        return std::nullopt;
    // An unquoted text with commas comes back split into a list; put it together
    // again, since the program never stores lists.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// "dword:" and exactly eight hex digits, as WriteDword stores a number.
std::optional<uint32_t> ParseDword(const QString& text)
{
    if (text.size() != kDwordPrefix.size() + kDwordDigits || !text.startsWith(kDwordPrefix))
        return std::nullopt;
    bool ok = false;
    const uint32_t value = text.mid(kDwordPrefix.size()).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return value;
}

bool WriteRaw(std::string_view name, const QString& text)
{
    QSettings store = OpenStore();
    if (store.status() != QSettings::NoError)
        return false;
    store.setValue(ToWide(name), text);
    store.sync();
    return store.status() == QSettings::NoError;
}

} // namespace

bool Settings::ReadString(std::string_view name, std::string& destination) const
{
    const std::optional<QString> text = ReadRaw(name);
    if (!text || text->size() > kMaxStringUnits)
        return false;
    destination = ToNarrow(*text);
    return true;
}

bool Settings::WriteString(std::string_view name, std::string_view text) const
{
    return WriteRaw(name, ToWide(text));
}

int32_t Settings::ReadDword(std::string_view name) const
{
    const std::optional<QString> text = ReadRaw(name);
    if (!text)
        return 0;
    if (const std::optional<uint32_t> number = ParseDword(*text))
        return static_cast<int32_t>(*number);
    // A string value: its stored bytes are its UTF-16 units and a zero unit. Only
    // the empty text (2 bytes) and a one-unit text (4 bytes) fit a number; the
    // zero bytes of the terminator make the little-endian number the unit itself.
    if (text->size() == 1)
        return static_cast<int32_t>(text->at(0).unicode());
    return 0;
}

bool Settings::WriteDword(std::string_view name, int32_t value) const
{
    const QString text =
        kDwordPrefix + QString::number(static_cast<uint32_t>(value), 16).rightJustified(kDwordDigits, QLatin1Char('0'));
    return WriteRaw(name, text);
}

bool CheckFirstRun()
{
    const Settings settings;
    std::string firstCall;
    if (settings.ReadString("FirstCall", firstCall))
        return false;
    settings.WriteString("FirstCall", "1");
    return true;
}

} // namespace pelorin
