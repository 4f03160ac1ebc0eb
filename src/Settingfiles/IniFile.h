#pragma once

#include <QList>
#include <QString>

#include <map>
#include <utility>

// An INI file read and written with the rules of Windows' private-profile
// functions, so that hand-edited settings and language files behave as users
// know them: lines end at CR, LF or CR LF, names match in any letter case and
// without the blanks around them, a section's name ends at its first "]",
// values lose their surrounding blanks and one pair of enclosing quotes, and
// a write changes only the one line it concerns. The file holds Windows-1252
// bytes.
//
// The object holds only the path: every call reads the file anew, and every
// write goes to the file at once.
class TIniFile
{
public:
    // Touches no file; the file need not exist.
    explicit TIniFile(QString fileName);

    const QString &FileName() const { return FFileName; }

    // The value of the first key of that name in the first section of that
    // name, at most 2047 characters; defaultValue, less its trailing spaces
    // and cut likewise, when the file, the section or the key is missing or
    // the file cannot be read.
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

    // Replaces the key's value where it stands, or adds the key right after
    // the last key line of its section (before comments that follow it), or
    // adds the section right after the file's last line; every other line
    // keeps its bytes. Lines written end in CR LF. The file is replaced
    // atomically; on failure it stays as it was and EIniFileException is
    // thrown.
    void WriteString(const QString &section, const QString &key, const QString &value);

    // The keys written in order, as by WriteString one after the other, with
    // one read and one replacement of the file.
    void WriteStrings(const QString &section, const QList<std::pair<QString, QString>> &values);

private:
    QString FFileName;
};

// An INI file read once and kept in memory, for a batch of reads such as the
// texts of one language: every read gives what TIniFile::ReadString gives for
// the file as it stood when the object was made.
class TIniSnapshot
{
public:
    // A missing or unreadable file reads as an empty one.
    explicit TIniSnapshot(const QString &fileName);

    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;

private:
    // Section and key names folded for matching; the values as a read returns them.
    std::map<QString, std::map<QString, QString>> FSections;
};
