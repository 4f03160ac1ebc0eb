// The INI class on arbitrary files: reads never crash and stay within 2047
// characters; a write of a representable name and value reads back, and
// every other line of the file survives the write unchanged and in order.
//
// Input: section, key and value as libFuzzer's backslash-ended strings
// ("\\" for a backslash, "\" and any other byte ends the string), then the
// file's bytes.

#include "Settingfiles/IniFile.h"
#include "shared/Cp1252.h"
#include "shared/Exception.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr qsizetype MaxValueLength = 2047;

// A default no file line can produce, so a found key is told from a miss.
const QString Missing = QStringLiteral("\x01missing\x01");

[[noreturn]] void Fail(const char *what, const QByteArray &detail = {})
{
    std::fprintf(stderr, "fuzz_inifile: %s: \"%s\"\n", what,
                 detail.toPercentEncoding(" ").constData());
    std::abort();
}

// Every write of the class syncs the file to disk; in memory that is free,
// and the fuzzer runs several times faster.
QString TemporaryFolderTemplate()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString base =
        memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    return base + QStringLiteral("/opticcalc-fuzz-XXXXXX");
}

const QString &FilePath()
{
    static const QTemporaryDir dir(TemporaryFolderTemplate());
    static const QString path = [] {
        if (!dir.isValid())
            Fail("no temporary folder");
        return dir.filePath(QStringLiteral("Fuzz.ini"));
    }();
    return path;
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail("the file cannot be read back");
    return file.readAll();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Fail("the file cannot be prepared");
}

// The lines as the class sees them: ended by CR, LF or CR LF; nothing after
// a final line end is a line.
QList<QByteArray> Lines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool HasOuterBlank(const QByteArray &text)
{
    return !text.isEmpty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

bool HasLineBreak(const QByteArray &text)
{
    return text.contains('\r') || text.contains('\n');
}

// A section name comes back as written unless the line it is written on
// would be split or trimmed, or its name would end at a "]" inside it.
bool IsRepresentableSection(const QByteArray &name)
{
    return !HasLineBreak(name) && !HasOuterBlank(name) && !name.contains(']');
}

// A key line must not look like a section, a comment or a line with the
// "=" somewhere else.
bool IsRepresentableKey(const QByteArray &name)
{
    return !HasLineBreak(name) && !HasOuterBlank(name) && !name.contains('=') &&
           !name.startsWith('[') && !name.startsWith(';');
}

// A value whose blanks or quotes the reader strips, or that spans lines,
// cannot come back unchanged.
bool IsRepresentableValue(const QByteArray &value)
{
    if (HasLineBreak(value) || HasOuterBlank(value))
        return false;
    return value.size() < 2 ||
           !((value.front() == '"' || value.front() == '\'') && value.back() == value.front());
}

void CheckRead(const TIniFile &ini, const QString &section, const QString &key)
{
    const QString value = ini.ReadString(section, key, Missing);
    if (value != Missing && value.size() > MaxValueLength)
        Fail("a value longer than 2047 characters", ToCp1252(value));
}

// Names taken from the file's own lines, so reads also hit present entries.
void ReadNamesOfLines(const TIniFile &ini, const QList<QByteArray> &lines, const QString &section)
{
    QString lastSection = section;
    for (qsizetype i = 0; i < lines.size() && i < 16; ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.startsWith('[')) {
            const qsizetype close = line.indexOf(']');
            lastSection = FromCp1252(line.mid(1, close > 0 ? close - 1 : -1));
        } else if (const qsizetype eq = line.indexOf('='); eq >= 0) {
            CheckRead(ini, lastSection, FromCp1252(line.left(eq)));
        }
    }
}

// Apart from the one key line replaced or the lines added, the file's lines
// are those it had, in the same order.
void CheckOtherLines(const QByteArray &before, const QByteArray &after, const QByteArray &value)
{
    const QList<QByteArray> old = Lines(before);
    const QList<QByteArray> now = Lines(after);
    qsizetype prefix = 0;
    while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
           old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    const qsizetype removed = old.size() - prefix - suffix;
    const qsizetype added = now.size() - prefix - suffix;

    // A replaced key line, or a key line, or a section line and the key.
    const bool replaced = removed == 1 && added == 1;
    const bool inserted = removed == 0 && added <= 2;
    if (!replaced && !inserted)
        Fail("lines of the file were changed or lost", after);
    if (added > 0) {
        QByteArray written = value;
        written.replace('\r', ' ').replace('\n', ' ');
        const QByteArray &line = now[prefix + added - 1];
        if (!line.endsWith(written) || !line.contains('='))
            Fail("the changed line is not the key line", line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const QByteArray sectionBytes =
        QByteArray::fromStdString(provider.ConsumeRandomLengthString(64));
    const QByteArray keyBytes = QByteArray::fromStdString(provider.ConsumeRandomLengthString(64));
    const QByteArray valueBytes = QByteArray::fromStdString(provider.ConsumeRandomLengthString());
    const QByteArray fileBytes =
        QByteArray::fromStdString(provider.ConsumeRemainingBytesAsString());

    // Every byte has its character, so names and values round-trip.
    const QString section = FromCp1252(sectionBytes);
    const QString key = FromCp1252(keyBytes);
    const QString value = FromCp1252(valueBytes);

    const QString &path = FilePath();
    WriteBytes(path, fileBytes);
    TIniFile ini(path);
    CheckRead(ini, section, key);
    ReadNamesOfLines(ini, Lines(fileBytes), section);

    if (!IsRepresentableSection(sectionBytes) || !IsRepresentableKey(keyBytes))
        return 0;
    try {
        ini.WriteString(section, key, value);
    } catch (const EIniFileException &e) {
        Fail("the write failed", ToCp1252(e.Message()));
    }

    if (IsRepresentableValue(valueBytes)) {
        const QString back = ini.ReadString(section, key, Missing);
        if (back != value.left(MaxValueLength))
            Fail("the value does not read back", ToCp1252(back));
    }
    CheckOtherLines(fileBytes, ReadBytes(path), valueBytes);
    return 0;
}
