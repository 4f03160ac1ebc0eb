#include "Settingfiles/IniFile.h"

#include "shared/Cp1252.h"
#include "shared/Exception.h"
#include "shared/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace {

// The longest value a private-profile read hands back.
constexpr qsizetype MaxValueLength = 2047;

const QByteArray LineEnd = QByteArrayLiteral("\r\n");

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A half-open byte range [Begin, End) of the file.
struct TSpan
{
    qsizetype Begin;
    qsizetype End;
};

TSpan Trimmed(const char *data, TSpan span)
{
    while (span.Begin < span.End && IsBlank(data[span.Begin]))
        ++span.Begin;
    while (span.End > span.Begin && IsBlank(data[span.End - 1]))
        --span.End;
    return span;
}

// One line: [Start, ContentEnd) is its text without the line end, Next the
// start of the following line (the file's size for the last line).
struct TLine
{
    qsizetype Start;
    qsizetype ContentEnd;
    qsizetype Next;
};

// Lines end at CR, LF or CR LF, as in files saved by any editor; the last
// line counts without a line end.
class TLineReader
{
public:
    explicit TLineReader(const QByteArray &bytes) : FData(bytes.constData()), FSize(bytes.size()) {}

    bool Next(TLine &line)
    {
        if (FPos >= FSize)
            return false;
        qsizetype end = FPos;
        while (end < FSize && FData[end] != '\n' && FData[end] != '\r')
            ++end;
        line.Start = FPos;
        line.ContentEnd = end;
        if (end < FSize)
            end += FData[end] == '\r' && end + 1 < FSize && FData[end + 1] == '\n' ? 2 : 1;
        line.Next = end;
        FPos = end;
        return true;
    }

private:
    const char *FData;
    qsizetype FSize;
    qsizetype FPos = 0;
};

// The case folding of every Windows-1252 byte, so that names in the file are
// compared without building a string for each line.
const std::array<char16_t, 256> &FoldTable()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> folded{};
        for (int b = 0; b < 256; ++b)
            folded[b] = FromCp1252(QByteArray(1, char(b))).at(0).toCaseFolded().unicode();
        return folded;
    }();
    return table;
}

// A section or key name as wanted by the caller, matched against the file's
// bytes without regard to letter case.
class TFoldedName
{
public:
    explicit TFoldedName(const QString &name)
    {
        FFolded.reserve(name.size());
        for (const QChar c : name)
            FFolded.push_back(c.toCaseFolded().unicode());
    }

    bool Matches(const char *data, TSpan span) const
    {
        if (span.End - span.Begin != qsizetype(FFolded.size()))
            return false;
        const auto &fold = FoldTable();
        for (std::size_t i = 0; i < FFolded.size(); ++i) {
            if (fold[static_cast<unsigned char>(data[span.Begin + qsizetype(i)])] != FFolded[i])
                return false;
        }
        return true;
    }

private:
    std::u16string FFolded;
};

// Where a key stands in the file, or where it would go.
struct TLocation
{
    bool SectionFound = false;
    // Section found, key missing: the new line goes in at InsertAt, right
    // after the section's last key line (or its header), before comments
    // that follow it; NeedsLineEnd when that line is the file's last and
    // has no line end.
    qsizetype InsertAt = 0;
    bool NeedsLineEnd = false;
    bool KeyFound = false;
    TLine KeyLine{};
    qsizetype ValueStart = 0; // after "=" and the blanks following it
};

// The name of a header line: up to the first "]", or to the line's end
// without one; text after the "]" is no part of it.
TSpan HeaderName(const char *data, TSpan text)
{
    qsizetype close = text.Begin + 1;
    while (close < text.End && data[close] != ']')
        ++close;
    return Trimmed(data, {text.Begin + 1, close});
}

// After "=" and the blanks following it; right after "=" for an empty value,
// so that a write keeps the blanks before it.
qsizetype ValueStart(const char *data, qsizetype eqPos, const TLine &line)
{
    const qsizetype start = Trimmed(data, {eqPos + 1, line.ContentEnd}).Begin;
    return start == line.ContentEnd ? eqPos + 1 : start;
}

// The value as a read returns it: without the blanks around it and one pair
// of enclosing quotes, cut to the longest value a read hands back.
QString ValueText(const char *data, qsizetype valueStart, const TLine &line)
{
    TSpan value = Trimmed(data, {valueStart, line.ContentEnd});
    if (value.End - value.Begin >= 2) {
        const char first = data[value.Begin];
        if ((first == '"' || first == '\'') && data[value.End - 1] == first) {
            ++value.Begin;
            --value.End;
        }
    }
    const qsizetype length = std::min(value.End - value.Begin, MaxValueLength);
    return FromCp1252(QByteArray(data + value.Begin, length));
}

TLocation Locate(const QByteArray &bytes, const TFoldedName &section, const TFoldedName &key)
{
    const char *data = bytes.constData();
    TLocation location;
    TLineReader reader(bytes);
    TLine line{};
    bool inSection = false;
    while (reader.Next(line)) {
        const TSpan text = Trimmed(data, {line.Start, line.ContentEnd});
        if (text.Begin == text.End)
            continue;
        if (data[text.Begin] == '[') {
            // Only the first section of the name counts.
            if (inSection)
                break;
            inSection = section.Matches(data, HeaderName(data, text));
            location.SectionFound = inSection;
        } else if (!inSection || data[text.Begin] == ';') {
            continue;
        } else {
            const auto *eq = static_cast<const char *>(
                std::memchr(data + text.Begin, '=', std::size_t(text.End - text.Begin)));
            const qsizetype eqPos = eq ? eq - data : -1;
            if (eq && key.Matches(data, Trimmed(data, {text.Begin, eqPos}))) {
                location.KeyFound = true;
                location.KeyLine = line;
                location.ValueStart = ValueStart(data, eqPos, line);
                return location;
            }
        }
        // The header or the last key line of the section so far.
        location.InsertAt = line.Next;
        location.NeedsLineEnd = line.Next == line.ContentEnd;
    }
    return location;
}

// Names are compared and written without the blanks around them: spaces
// and tabs, as in the file, and nothing else QString would call white.
QString TrimmedName(const QString &name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && (name.at(begin) == u' ' || name.at(begin) == u'\t'))
        ++begin;
    while (end > begin && (name.at(end - 1) == u' ' || name.at(end - 1) == u'\t'))
        --end;
    return name.mid(begin, end - begin);
}

// A default loses its trailing spaces only, and is cut like a value.
QString TrimmedDefault(const QString &defaultValue)
{
    qsizetype end = defaultValue.size();
    while (end > 0 && defaultValue.at(end - 1) == u' ')
        --end;
    return defaultValue.left(std::min(end, MaxValueLength));
}

// A line break inside a name or value would let it start a line of its own:
// a forged key or section in the settings file.
QByteArray OneLine(const QString &text)
{
    QByteArray bytes = ToCp1252(text);
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

} // namespace

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {}

QString TIniFile::ReadString(const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly))
        return TrimmedDefault(defaultValue);
    const QByteArray bytes = file.readAll();
    const TLocation location =
        Locate(bytes, TFoldedName(TrimmedName(section)), TFoldedName(TrimmedName(key)));
    if (!location.KeyFound)
        return TrimmedDefault(defaultValue);
    return ValueText(bytes.constData(), location.ValueStart, location.KeyLine);
}

// ---------------------------------------------------------------------------------------------

namespace {

// A name of the file folded as TFoldedName folds a wanted one, so that equal
// keys mean a match.
QString FoldedName(const char *data, TSpan span)
{
    const auto &fold = FoldTable();
    QString folded(span.End - span.Begin, Qt::Uninitialized);
    for (qsizetype i = span.Begin; i < span.End; ++i)
        folded[i - span.Begin] = QChar(fold[static_cast<unsigned char>(data[i])]);
    return folded;
}

QString FoldedName(const QString &name)
{
    QString folded = TrimmedName(name);
    for (QChar &c : folded)
        c = c.toCaseFolded();
    return folded;
}

} // namespace

TIniSnapshot::TIniSnapshot(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    const char *data = bytes.constData();
    // The same walk as a single read: only the first section of a name and
    // the first key of a name in it count.
    std::map<QString, QString> *section = nullptr;
    TLineReader reader(bytes);
    TLine line{};
    while (reader.Next(line)) {
        const TSpan text = Trimmed(data, {line.Start, line.ContentEnd});
        if (text.Begin == text.End)
            continue;
        if (data[text.Begin] == '[') {
            const auto [entry, isNew] =
                FSections.try_emplace(FoldedName(data, HeaderName(data, text)));
            section = isNew ? &entry->second : nullptr;
            continue;
        }
        if (section == nullptr || data[text.Begin] == ';')
            continue;
        const auto *eq = static_cast<const char *>(
            std::memchr(data + text.Begin, '=', std::size_t(text.End - text.Begin)));
        if (eq == nullptr)
            continue;
        const qsizetype eqPos = eq - data;
        const QString key = FoldedName(data, Trimmed(data, {text.Begin, eqPos}));
        if (section->find(key) == section->end())
            section->emplace(key, ValueText(data, ValueStart(data, eqPos, line), line));
    }
}

QString TIniSnapshot::ReadString(const QString &section, const QString &key,
                                 const QString &defaultValue) const
{
    const auto found = FSections.find(FoldedName(section));
    if (found == FSections.end())
        return TrimmedDefault(defaultValue);
    const auto value = found->second.find(FoldedName(key));
    return value == found->second.end() ? TrimmedDefault(defaultValue) : value->second;
}

namespace {

// The file's bytes with one key written as WriteString writes it.
QByteArray WithKey(const QByteArray &old, const QString &section, const QString &key,
                   const QString &value)
{
    const QString sectionName = TrimmedName(section);
    const QString keyName = TrimmedName(key);
    const QByteArray keyLine = OneLine(keyName) + '=' + OneLine(value) + LineEnd;
    const TLocation location = Locate(old, TFoldedName(sectionName), TFoldedName(keyName));
    QByteArray bytes;
    bytes.reserve(old.size() + keyLine.size() + sectionName.size() + 8);
    if (location.KeyFound) {
        // The key keeps its spelling and the blanks around its "=".
        bytes.append(old.constData(), location.ValueStart);
        bytes.append(OneLine(value));
        bytes.append(LineEnd);
        bytes.append(old.constData() + location.KeyLine.Next, old.size() - location.KeyLine.Next);
    } else if (location.SectionFound) {
        bytes.append(old.constData(), location.InsertAt);
        if (location.NeedsLineEnd)
            bytes.append(LineEnd);
        bytes.append(keyLine);
        bytes.append(old.constData() + location.InsertAt, old.size() - location.InsertAt);
    } else {
        // Directly after the file's last line, with no empty line before.
        bytes = old;
        if (!old.isEmpty() && !old.endsWith('\n') && !old.endsWith('\r'))
            bytes.append(LineEnd);
        bytes.append('[' + OneLine(sectionName) + ']' + LineEnd);
        bytes.append(keyLine);
    }
    return bytes;
}

} // namespace

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    WriteStrings(section, {{key, value}});
}

void TIniFile::WriteStrings(const QString &section,
                            const QList<std::pair<QString, QString>> &values)
{
    const auto fail = [this] {
        throw EIniFileException(
            QStringLiteral("In %1 kann nicht geschrieben werden")
                .arg(QDir::toNativeSeparators(QFileInfo(FFileName).absoluteFilePath())));
    };

    QByteArray old;
    const QFileInfo info(FFileName);
    if (info.exists()) {
        if (!IsWritableFile(info))
            fail();
        // A file we cannot read would otherwise be replaced by the one new line.
        QFile file(FFileName);
        if (!file.open(QIODevice::ReadOnly))
            fail();
        old = file.readAll();
        if (file.error() != QFileDevice::NoError)
            fail();
    }

    QByteArray bytes = old;
    for (const auto &[key, value] : values)
        bytes = WithKey(bytes, section, key, value);
    QString error;
    if (ReplaceFile(FFileName, bytes, error) != ReplaceResult::Replaced)
        fail();
}
