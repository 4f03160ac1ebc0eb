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

class TLineReader
{
public:
    explicit TLineReader(const QByteArray &bytes) : FData(bytes.constData()), FSize(bytes.size()) {}

    bool Next(TLine &line)
    {
        if (FPos >= FSize)
            return false;
        const auto *lf =
            static_cast<const char *>(std::memchr(FData + FPos, '\n', std::size_t(FSize - FPos)));
        qsizetype end = lf ? lf - FData : FSize;
        line.Start = FPos;
        line.Next = lf ? end + 1 : FSize;
        if (end > FPos && FData[end - 1] == '\r')
            --end;
        line.ContentEnd = end;
        FPos = line.Next;
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
    // Section found, key missing: the new line goes in at InsertAt; when the
    // section's last line has no line end, one is added there first and the
    // bytes up to ResumeAt (a stray CR) are dropped.
    qsizetype InsertAt = 0;
    qsizetype ResumeAt = 0;
    bool NeedsLineEnd = false;
    bool KeyFound = false;
    TLine KeyLine{};
    qsizetype ValueStart = 0; // after "=" and the blanks following it
    // Section missing: whether the file's last line is blank or absent.
    bool EndsBlank = true;
};

TLocation Locate(const QByteArray &bytes, const TFoldedName &section, const TFoldedName &key)
{
    const char *data = bytes.constData();
    TLocation location;
    TLineReader reader(bytes);
    TLine line{};
    bool inSection = false;
    while (reader.Next(line)) {
        const TSpan text = Trimmed(data, {line.Start, line.ContentEnd});
        location.EndsBlank = text.Begin == text.End;
        if (location.EndsBlank)
            continue;
        if (data[text.Begin] == '[') {
            // Only the first section of the name counts.
            if (inSection)
                break;
            qsizetype close = text.End - 1;
            while (close > text.Begin && data[close] != ']')
                --close;
            const TSpan name =
                Trimmed(data, {text.Begin + 1, close > text.Begin ? close : text.End});
            inSection = section.Matches(data, name);
            location.SectionFound = inSection;
        } else if (!inSection) {
            continue;
        } else if (data[text.Begin] != ';') {
            const auto *eq = static_cast<const char *>(
                std::memchr(data + text.Begin, '=', std::size_t(text.End - text.Begin)));
            const qsizetype eqPos = eq ? eq - data : -1;
            if (eq && key.Matches(data, Trimmed(data, {text.Begin, eqPos}))) {
                location.KeyFound = true;
                location.KeyLine = line;
                location.ValueStart = Trimmed(data, {eqPos + 1, line.ContentEnd}).Begin;
                if (location.ValueStart == line.ContentEnd)
                    location.ValueStart = eqPos + 1;
                return location;
            }
        }
        if (inSection) {
            // The last non-blank line of the section so far.
            const bool hasLineEnd = data[line.Next - 1] == '\n';
            location.NeedsLineEnd = !hasLineEnd;
            location.InsertAt = hasLineEnd ? line.Next : line.ContentEnd;
            location.ResumeAt = line.Next;
        }
    }
    return location;
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
        return defaultValue;
    const QByteArray bytes = file.readAll();
    const TLocation location = Locate(bytes, TFoldedName(section), TFoldedName(key));
    if (!location.KeyFound)
        return defaultValue;

    const char *data = bytes.constData();
    TSpan value = Trimmed(data, {location.ValueStart, location.KeyLine.ContentEnd});
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

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
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

    const QByteArray keyLine = OneLine(key) + '=' + OneLine(value) + LineEnd;
    const TLocation location = Locate(old, TFoldedName(section), TFoldedName(key));
    QByteArray bytes;
    bytes.reserve(old.size() + keyLine.size() + section.size() + 8);
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
        bytes.append(old.constData() + location.ResumeAt, old.size() - location.ResumeAt);
    } else {
        bytes = old;
        if (!old.isEmpty() && !old.endsWith('\n')) {
            // A stray CR at the end belongs to the line end, not to the text
            // of the last line.
            if (bytes.endsWith('\r'))
                bytes.chop(1);
            bytes.append(LineEnd);
        }
        if (!location.EndsBlank)
            bytes.append(LineEnd);
        bytes.append('[' + OneLine(section) + ']' + LineEnd);
        bytes.append(keyLine);
    }

    QString error;
    if (ReplaceFile(FFileName, bytes, error) != ReplaceResult::Replaced)
        fail();
}
