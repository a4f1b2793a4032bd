#include "app/Settings.h"

#include "app/TextConvert.h"

#include <QIODevice>
#include <QMap>
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
// The section Qt's INI files keep top-level values in; files written before kept
// the values there too.
constexpr QLatin1StringView kGeneralSection("General");
constexpr QChar kQuote(u'"');
constexpr QChar kEscape(u'\\');

// --- The INI text -------------------------------------------------------------
// Qt's own INI reader takes commas, semicolons and backslashes in a value as
// syntax, so a path written by hand would not read as written. The settings file
// is read and written by these two instead, through QSettings, which still finds
// the file, locks it and replaces it whole.

// A value in double quotes: its blanks at either end are kept, and inside it \"
// stands for a quote, \\ for a backslash, \n, \r and \t for a line break, a
// carriage return and a tab. Anything else is taken as it stands.
QString Unquote(const QString& value)
{
    if (value.size() < 2 || !value.startsWith(kQuote) || !value.endsWith(kQuote))
        return value;
    QString text;
    const QStringView inner = QStringView(value).mid(1, value.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        QChar c = inner[i];
        if (c == kEscape && i + 1 < inner.size()) {
            c = inner[++i];
            if (c == u'n')
                c = u'\n';
            else if (c == u'r')
                c = u'\r';
            else if (c == u't')
                c = u'\t';
        }
        text += c;
    }
    return text;
}

// The form Unquote reads back as the same text: the text itself where nothing
// in it would be lost or misread, else quoted.
QString Quote(const QString& text)
{
    const bool plain = text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace() &&
                                          text.front() != kQuote && !text.contains(u'\n') &&
                                          !text.contains(u'\r'));
    if (plain)
        return text;
    QString quoted(kQuote);
    for (const QChar c : text) {
        if (c == kQuote || c == kEscape)
            quoted += kEscape;
        if (c == u'\n')
            quoted += QLatin1StringView("\\n");
        else if (c == u'\r')
            quoted += QLatin1StringView("\\r");
        else
            quoted += c;
    }
    return quoted + kQuote;
}

// Lines of "name=value" under [section] headings; a name outside any section or
// in [General] is a top-level value, one in [Other] reads as "Other/name". Blank
// lines, lines starting with ';' or '#' and lines without '=' are passed over.
bool ReadIni(QIODevice& device, QSettings::SettingsMap& map)
{
    QString section;
    QString text = QString::fromUtf8(device.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (const QString& rawLine : text.split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2).trimmed();
            if (section == kGeneralSection)
                section.clear();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString name = line.left(equals).trimmed();
        const QString value = Unquote(line.mid(equals + 1).trimmed());
        map.insert(section.isEmpty() ? name : section + u'/' + name, value);
    }
    return true;
}

bool WriteIni(QIODevice& device, const QSettings::SettingsMap& map)
{
    QMap<QString, QString> sections; // the lines of each section
    for (auto value = map.begin(); value != map.end(); ++value) {
        const qsizetype slash = value.key().indexOf(u'/');
        const QString section = slash < 0 ? QString(kGeneralSection) : value.key().left(slash);
        sections[section] += value.key().mid(slash + 1) + u'=' + Quote(value.value().toString()) + u'\n';
    }
    QString text;
    // [General] first, as Qt writes it.
    if (sections.contains(kGeneralSection))
        text += u'[' + kGeneralSection + QLatin1StringView("]\n") + sections.take(kGeneralSection);
    for (auto section = sections.begin(); section != sections.end(); ++section)
        text += QLatin1StringView("\n[") + section.key() + QLatin1StringView("]\n") + section.value();
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

QSettings::Format SettingsFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("ini"), ReadIni, WriteIni);
    return format;
}

// --- The store --------------------------------------------------------------

// One open of the store for one operation; the file is closed (and written when
// changed) when the object goes. Where Qt keeps INI files (setPath with IniFormat
// included) is where this file lies.
QSettings OpenStore()
{
    return QSettings(SettingsFormat(), QSettings::UserScope, kOrganisation, kApplication);
}

// The stored text of a value; nullopt when the value is absent or the file cannot
// be read.
std::optional<QString> ReadRaw(std::string_view name)
{
    const QSettings store = OpenStore();
    if (store.status() != QSettings::NoError)
        return std::nullopt;
    const QVariant value = store.value(ToWide(name));
    if (!value.isValid())
        return std::nullopt;
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
