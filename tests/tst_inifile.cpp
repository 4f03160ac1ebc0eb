#include "Settingfiles/IniFile.h"
#include "shared/Exception.h"

#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Default = QStringLiteral("DEFAULT");

QString CannotWrite(const QString &path)
{
    return QStringLiteral("In %1 kann nicht geschrieben werden")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

const char *const LangKeys[] = {"MessFeld",
                                "MessAbstand",
                                "Apertur",
                                "Pyrometer",
                                "OptischeBasisDaten",
                                "EingabeOptischeBasisdaten",
                                "BerechneteWerte",
                                "BerechnungMessfelder",
                                "Drucken",
                                "Export",
                                "NeueZeile",
                                "TabelleLöschen",
                                "ZuTabelleHinzufügen",
                                "Berechnen",
                                "TabelleHint",
                                "OptischerRechner",
                                "EingabeMessabstand",
                                "BerechnetesMessfeld",
                                "UngültigerWert"};

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
    }

    void readString_data();
    void readString();
    void readMissingOrUnreadableGivesDefault();
    void snapshotReadsAsTheFile_data();
    void snapshotReadsAsTheFile();
    void defaultLosesTrailingSpacesAndIsCut_data();
    void defaultLosesTrailingSpacesAndIsCut();
    void writeString_data();
    void writeString();
    void writeCreatesMissingFile();
    void writeThenReadRoundTrips_data();
    void writeThenReadRoundTrips();
    void failedWriteKeepsFile_data();
    void failedWriteKeepsFile();
    void largeFileStaysFast();
    void langFileHasEveryText_data();
    void langFileHasEveryText();
    void langFileIsCp1252WithCrLf();

private:
    QString Path(const QString &name = QStringLiteral("test.ini")) const
    {
        return FDir->filePath(name);
    }

    std::unique_ptr<QTemporaryDir> FDir;
};

void TestIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray longValue(3000, 'x');
    const QByteArray quoted2048 = '"' + QByteArray(2048, 'y') + '"';

    QTest::addRow("plain") << QByteArray("[S]\r\nK=v\r\n") << "S"
                           << "K"
                           << "v";
    QTest::addRow("section-in-other-case") << QByteArray("[sEcTiOn]\r\nK=v\r\n") << "SECTION"
                                           << "K"
                                           << "v";
    QTest::addRow("key-in-other-case") << QByteArray("[S]\r\nsprache=v\r\n") << "S"
                                       << "SPRACHE"
                                       << "v";
    QTest::addRow("umlaut-key-in-other-case")
        << QByteArray("[Deutsch]\r\nTABELLEL\xD6SCHEN=x\r\n") << "deutsch"
        << "TabelleLöschen"
        << "x";
    QTest::addRow("blanks-around-names-and-value")
        << QByteArray("  [ \tS  ]  \r\n \t K  = \t v w \t\r\n") << "S"
        << "K"
        << "v w";
    QTest::addRow("double-quotes-removed-inner-blanks-kept")
        << QByteArray("[S]\r\nK=  \" v \"  \r\n") << "S"
        << "K"
        << " v ";
    QTest::addRow("single-quotes-removed") << QByteArray("[S]\r\nK='v'\r\n") << "S"
                                           << "K"
                                           << "v";
    QTest::addRow("only-one-pair-removed") << QByteArray("[S]\r\nK=\"\"v\"\"\r\n") << "S"
                                           << "K"
                                           << "\"v\"";
    QTest::addRow("unbalanced-quote-kept") << QByteArray("[S]\r\nK=\"v\r\n") << "S"
                                           << "K"
                                           << "\"v";
    QTest::addRow("mixed-quotes-kept") << QByteArray("[S]\r\nK=\"v'\r\n") << "S"
                                       << "K"
                                       << "\"v'";
    QTest::addRow("lone-quote-kept") << QByteArray("[S]\r\nK=\"\r\n") << "S"
                                     << "K"
                                     << "\"";
    QTest::addRow("empty-quotes-give-empty") << QByteArray("[S]\r\nK=\"\"\r\n") << "S"
                                             << "K"
                                             << "";
    QTest::addRow("empty-value-is-not-default") << QByteArray("[S]\r\nK=\r\n") << "S"
                                                << "K"
                                                << "";
    QTest::addRow("blank-value-is-empty") << QByteArray("[S]\r\nK=   \r\n") << "S"
                                          << "K"
                                          << "";
    QTest::addRow("value-keeps-later-equals") << QByteArray("[S]\r\nK=a=b\r\n") << "S"
                                              << "K"
                                              << "a=b";
    QTest::addRow("missing-key") << QByteArray("[S]\r\nL=v\r\n") << "S"
                                 << "K" << Default;
    QTest::addRow("missing-section") << QByteArray("[T]\r\nK=v\r\n") << "S"
                                     << "K" << Default;
    QTest::addRow("key-of-the-next-section") << QByteArray("[S]\r\nL=1\r\n[T]\r\nK=2\r\n") << "S"
                                             << "K" << Default;
    QTest::addRow("key-before-any-section") << QByteArray("K=v\r\n[S]\r\n") << "S"
                                            << "K" << Default;
    QTest::addRow("line-without-equals-is-no-key") << QByteArray("[S]\r\nK\r\n") << "S"
                                                   << "K" << Default;
    QTest::addRow("first-section-of-a-name-counts")
        << QByteArray("[S]\r\nK=1\r\n[T]\r\n[s]\r\nK=2\r\nL=3\r\n") << "S"
        << "L" << Default;
    QTest::addRow("first-key-of-a-name-counts") << QByteArray("[S]\r\nK=1\r\nk=2\r\n") << "S"
                                                << "k"
                                                << "1";
    QTest::addRow("lf-line-ends") << QByteArray("[S]\nK=v\nL=w\n") << "S"
                                  << "L"
                                  << "w";
    QTest::addRow("no-final-line-end") << QByteArray("[S]\r\nK=v") << "S"
                                       << "K"
                                       << "v";
    QTest::addRow("cr-line-ends") << QByteArray("[A]\rK=x\r[S]\rK=v\rL=w\r") << "S"
                                  << "L"
                                  << "w";
    QTest::addRow("mixed-line-ends") << QByteArray("[A]\nK=x\r\n[S]\rK=v\nL=w") << "S"
                                     << "K"
                                     << "v";
    QTest::addRow("cr-cr-lf-leaves-no-cr-in-value") << QByteArray("[S]\r\r\nK=English\r\r\n") << "S"
                                                    << "K"
                                                    << "English";
    QTest::addRow("header-name-ends-at-first-bracket")
        << QByteArray("[OpticCalc] ; see [notes]\r\nSprache=English\r\n") << "OpticCalc"
        << "Sprache"
        << "English";
    QTest::addRow("header-without-closing-bracket") << QByteArray("[ S \r\nK=v\r\n") << "S"
                                                    << "K"
                                                    << "v";
    QTest::addRow("caller-names-trimmed") << QByteArray("[S]\r\nK=v\r\n") << "  S "
                                          << " K  "
                                          << "v";
    QTest::addRow("only-blanks-trimmed-from-names") << QByteArray("[S]\r\nK=v\r\n") << "S"
                                                    << "\vK" << Default;
    QTest::addRow("comment-is-no-key") << QByteArray("[S]\r\n;K=c\r\n") << "S"
                                       << "K" << Default;
    QTest::addRow("key-after-comment") << QByteArray("[S]\r\n  ; K=c\r\nK=v\r\n") << "S"
                                       << "K"
                                       << "v";
    QTest::addRow("cp1252-value") << QByteArray("[S]\r\nK=\xDC\x80\x84\r\n") << "S"
                                  << "K" << QString::fromUtf8("Ü€„");
    QTest::addRow("cut-to-2047") << "[S]\r\nK=" + longValue << "S"
                                 << "K" << QString(2047, QLatin1Char('x'));
    QTest::addRow("cut-after-unquoting") << "[S]\r\nK=" + quoted2048 + "\r\n"
                                         << "S"
                                         << "K" << QString(2047, QLatin1Char('y'));
}

void TestIniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QVERIFY(WriteBytes(Path(), content));
    QCOMPARE(TIniFile(Path()).ReadString(section, key, Default), expected);
}

void TestIniFile::readMissingOrUnreadableGivesDefault()
{
    QCOMPARE(TIniFile(Path("missing.ini")).ReadString("S", "K", Default), Default);
    QCOMPARE(TIniFile(FDir->path()).ReadString("S", "K", Default), Default);
    QCOMPARE(TIniSnapshot(Path("missing.ini")).ReadString("S", "K", Default), Default);
    QCOMPARE(TIniSnapshot(FDir->path()).ReadString("S", "K", Default), Default);
}

// Every case of a single read, and the cases where an index of the whole file
// could part from a walk that stops at the wanted key.
void TestIniFile::snapshotReadsAsTheFile_data()
{
    readString_data();
    QTest::addRow("key-of-a-repeated-section-after-others")
        << QByteArray("[S]\r\nK=1\r\n[T]\r\nL=2\r\n[S]\r\nL=3\r\n") << "S"
        << "L" << Default;
    QTest::addRow("other-section-read-after-a-repeat")
        << QByteArray("[S]\r\nK=1\r\n[S]\r\nK=2\r\n[T]\r\nK=3\r\n") << "T"
        << "K"
        << "3";
    QTest::addRow("repeated-section-in-other-case")
        << QByteArray("[Deutsch]\r\nK=1\r\n[DEUTSCH]\r\nL=2\r\n") << "deutsch"
        << "L" << Default;
    QTest::addRow("empty-section-name") << QByteArray("[]\r\nK=v\r\n") << ""
                                        << "K"
                                        << "v";
    QTest::addRow("empty-key-name") << QByteArray("[S]\r\n=v\r\n") << "S"
                                    << ""
                                    << "v";
    QTest::addRow("key-of-an-umlaut-section")
        << QByteArray("[\xC4nderung]\r\nK=v\r\n") << "\u00e4NDERUNG"
        << "K"
        << "v";
}

void TestIniFile::snapshotReadsAsTheFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    QVERIFY(WriteBytes(Path(), content));
    QCOMPARE(TIniFile(Path()).ReadString(section, key, Default), expected);
    const TIniSnapshot snapshot(Path());
    // Read once: the file is no longer needed.
    QVERIFY(QFile::remove(Path()));
    QCOMPARE(snapshot.ReadString(section, key, Default), expected);
}

void TestIniFile::defaultLosesTrailingSpacesAndIsCut_data()
{
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");

    QTest::addRow("trailing-spaces-go") << "English  "
                                        << "English";
    QTest::addRow("leading-blanks-and-tabs-stay") << " \tEnglish\t"
                                                  << " \tEnglish\t";
    QTest::addRow("quotes-stay") << "'x' "
                                 << "'x'";
    QTest::addRow("cut-to-2047") << QString(3000, u'd') << QString(2047, u'd');
}

void TestIniFile::defaultLosesTrailingSpacesAndIsCut()
{
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);

    QVERIFY(WriteBytes(Path(), "[S]\r\nL=1\r\n"));
    QCOMPARE(TIniFile(Path()).ReadString("S", "K", defaultValue), expected);
    QCOMPARE(TIniFile(Path("missing.ini")).ReadString("S", "K", defaultValue), expected);
}

void TestIniFile::writeString_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::addRow("replace-in-place-other-lines-kept")
        << QByteArray("; Kopf\r\n[A]\r\nK=1\r\n\r\n[S]\r\nK=alt\r\n;  Notiz \r\nL=2\r\n[B]\r\nK=3")
        << "S"
        << "K"
        << "neu"
        << QByteArray("; Kopf\r\n[A]\r\nK=1\r\n\r\n[S]\r\nK=neu\r\n;  Notiz \r\nL=2\r\n[B]\r\nK=3");
    QTest::addRow("replace-keeps-spelling-and-blanks")
        << QByteArray("[oPTICcALC]\r\n  sprache = 'Deutsch'\r\n") << "OpticCalc"
        << "Sprache"
        << "English" << QByteArray("[oPTICcALC]\r\n  sprache = English\r\n");
    QTest::addRow("replace-empty-value") << QByteArray("[S]\r\nK=  \r\nL=2\r\n") << "S"
                                         << "K"
                                         << "5" << QByteArray("[S]\r\nK=5\r\nL=2\r\n");
    QTest::addRow("replace-with-empty") << QByteArray("[S]\r\nK=alt\r\n") << "S"
                                        << "K"
                                        << "" << QByteArray("[S]\r\nK=\r\n");
    QTest::addRow("replace-in-lf-file") << QByteArray("[S]\nK=alt\nL=2\n") << "S"
                                        << "K"
                                        << "neu" << QByteArray("[S]\nK=neu\r\nL=2\n");
    QTest::addRow("replace-last-line-without-end") << QByteArray("[S]\r\nK=alt") << "S"
                                                   << "K"
                                                   << "neu" << QByteArray("[S]\r\nK=neu\r\n");
    QTest::addRow("add-after-last-non-blank-line")
        << QByteArray("[S]\r\nK=1\r\n\r\n[T]\r\nX=2\r\n") << "S"
        << "L"
        << "5" << QByteArray("[S]\r\nK=1\r\nL=5\r\n\r\n[T]\r\nX=2\r\n");
    QTest::addRow("add-before-comment-after-last-key")
        << QByteArray("[S]\r\nL=1\r\n;K=c\r\n") << "S"
        << "K"
        << "5" << QByteArray("[S]\r\nL=1\r\nK=5\r\n;K=c\r\n");
    QTest::addRow("add-after-header-before-comment")
        << QByteArray("[S]\r\n; Notiz\r\n[T]\r\n") << " S "
        << " K "
        << "5" << QByteArray("[S]\r\nK=5\r\n; Notiz\r\n[T]\r\n");
    QTest::addRow("add-in-cr-file") << QByteArray("[S]\rK=1\r[T]\r") << "S"
                                    << "L"
                                    << "5" << QByteArray("[S]\rK=1\rL=5\r\n[T]\r");
    QTest::addRow("add-to-empty-section") << QByteArray("[S]\r\n[T]\r\n") << "s"
                                          << "L"
                                          << "5" << QByteArray("[S]\r\nL=5\r\n[T]\r\n");
    QTest::addRow("add-after-line-without-end") << QByteArray("[S]\r\nK=1") << "S"
                                                << "L"
                                                << "5" << QByteArray("[S]\r\nK=1\r\nL=5\r\n");
    QTest::addRow("add-to-first-section-of-a-name")
        << QByteArray("[S]\r\nK=1\r\n[S]\r\nL=2\r\n") << "S"
        << "L"
        << "9" << QByteArray("[S]\r\nK=1\r\nL=9\r\n[S]\r\nL=2\r\n");
    QTest::addRow("new-section-into-empty-file") << QByteArray() << "S"
                                                 << "K"
                                                 << "v" << QByteArray("[S]\r\nK=v\r\n");
    QTest::addRow("new-section-after-blank-line")
        << QByteArray("[A]\r\nX=1\r\n\r\n") << "S"
        << "K"
        << "v" << QByteArray("[A]\r\nX=1\r\n\r\n[S]\r\nK=v\r\n");
    QTest::addRow("new-section-directly-after-last-line")
        << QByteArray("[A]\nX=1\n") << " S "
        << "K"
        << "v" << QByteArray("[A]\nX=1\n[S]\r\nK=v\r\n");
    QTest::addRow("new-section-after-line-without-end")
        << QByteArray("[A]\r\nX=1") << "S"
        << "K"
        << "v" << QByteArray("[A]\r\nX=1\r\n[S]\r\nK=v\r\n");
    QTest::addRow("new-section-after-stray-cr-keeps-last-value")
        << QByteArray("[X]\r\nKey=Value\r") << "Y"
        << "k"
        << "v" << QByteArray("[X]\r\nKey=Value\r[Y]\r\nk=v\r\n");
    QTest::addRow("header-with-comment-is-the-section")
        << QByteArray("[OpticCalc] ; see [notes]\r\nBasicA=1\r\n") << "OpticCalc"
        << "Sprache"
        << "English" << QByteArray("[OpticCalc] ; see [notes]\r\nBasicA=1\r\nSprache=English\r\n");
    QTest::addRow("cp1252-names-and-value") << QByteArray("[Deutsch]\r\n") << "Deutsch"
                                            << "ZuTabelleHinzufügen"
                                            << "Übernehme € „x“"
                                            << QByteArray("[Deutsch]\r\nZuTabelleHinzuf\xFCgen=\xDC"
                                                          "bernehme \x80 \x84x\x93\r\n");
    QTest::addRow("line-break-cannot-forge-a-line")
        << QByteArray("[S]\r\nK=1\r\n") << "S"
        << "K"
        << "a\r\n[T]\nb" << QByteArray("[S]\r\nK=a  [T] b\r\n");
}

void TestIniFile::writeString()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    QVERIFY(WriteBytes(Path(), before));
    TIniFile(Path()).WriteString(section, key, value);
    QCOMPARE(ReadBytes(Path()), after);

    // A batch writes each key as a single write does.
    QVERIFY(WriteBytes(Path(), before));
    TIniFile(Path()).WriteStrings(section, {{key, "first"}, {key, value}});
    QCOMPARE(ReadBytes(Path()), after);
}

void TestIniFile::writeCreatesMissingFile()
{
    TIniFile ini(Path("new.ini"));
    ini.WriteString("S", "K", "1");
    ini.WriteString("S", "L", "2");
    ini.WriteString("S", "k", "3");
    QCOMPARE(ReadBytes(Path("new.ini")), QByteArray("[S]\r\nK=3\r\nL=2\r\n"));
}

void TestIniFile::writeThenReadRoundTrips_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::addRow("umlauts") << "Grüße"
                             << "Grüße";
    QTest::addRow("cp1252-high-range") << "€ „“ …"
                                       << "€ „“ …";
    QTest::addRow("outside-cp1252-becomes-question-mark") << "Ω"
                                                          << "?";
    QTest::addRow("blanks-are-lost") << "  12.5  "
                                     << "12.5";
    QTest::addRow("quotes-are-lost") << "'English'"
                                     << "English";
}

void TestIniFile::writeThenReadRoundTrips()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);

    TIniFile ini(Path());
    ini.WriteString("Sektion", "Schlüssel", value);
    QCOMPARE(ini.ReadString("SEKTION", "SCHLÜSSEL", Default), expected);
}

void TestIniFile::failedWriteKeepsFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addRow("read-only-file") << "read-only-file";
    QTest::addRow("read-only-folder") << "read-only-folder";
    QTest::addRow("missing-folder") << "missing-folder";
    QTest::addRow("file-where-folder-should-be") << "file-as-folder";
    QTest::addRow("folder-where-file-should-be") << "folder-as-file";
}

void TestIniFile::failedWriteKeepsFile()
{
    QFETCH(QString, kind);

    const QByteArray content("[S]\r\nK=alt\r\n");
    QString path = Path();
    if (kind == "read-only-file") {
        QVERIFY(WriteBytes(path, content));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    } else if (kind == "read-only-folder") {
        QVERIFY(QDir(FDir->path()).mkdir("ro"));
        path = Path("ro/test.ini");
        QVERIFY(WriteBytes(path, content));
        QVERIFY(QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QFile probe(Path("ro/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
            QSKIP("Permission bits do not bind this user (root)");
        }
    } else if (kind == "missing-folder") {
        path = Path("missing/test.ini");
    } else if (kind == "file-as-folder") {
        QVERIFY(WriteBytes(Path("plain"), content));
        path = Path("plain/test.ini");
    } else {
        QVERIFY(QDir(FDir->path()).mkdir("test.ini"));
    }

    QString message;
    try {
        TIniFile(path).WriteString("S", "K", "neu");
    } catch (const EIniFileException &e) {
        message = e.Message();
    }
    if (kind == "read-only-folder")
        QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);

    QCOMPARE(message, CannotWrite(path));
    if (kind.startsWith("read-only"))
        QCOMPARE(ReadBytes(path), content);
    else if (kind == "file-as-folder")
        QCOMPARE(ReadBytes(Path("plain")), content);
    else if (kind == "missing-folder")
        QVERIFY(!QFileInfo::exists(Path("missing")));
    else
        QVERIFY(QFileInfo(path).isDir());
    // No temporary file is left behind.
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(),
             QFileInfo(path).isFile() ? 1 : 0);
}

void TestIniFile::largeFileStaysFast()
{
    // About 10 MB: many sections; the key to change sits in the middle.
    QByteArray content;
    content.reserve(11 * 1024 * 1024);
    for (int s = 0; s < 20000; ++s) {
        content += "[Sektion" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 20; ++k)
            content +=
                "Schluessel" + QByteArray::number(k) + "=Wert " + QByteArray(5, 'x') + "\r\n";
    }
    QVERIFY(WriteBytes(Path(), content));
    TIniFile ini(Path());
    ini.WriteString("sektion10000", "schluessel7", "neu");
    QCOMPARE(ini.ReadString("Sektion19999", "Schluessel19", Default), "Wert xxxxx");
    QCOMPARE(ini.ReadString("Sektion10000", "Schluessel7", Default), "neu");
    // Linear work takes a fraction of a second; a quadratic one takes minutes.

    QByteArray expected = content;
    const QByteArray old = "[Sektion10000]\r\nSchluessel0=Wert xxxxx";
    const qsizetype at = expected.indexOf("Schluessel7=Wert xxxxx", expected.indexOf(old));
    expected.replace(at, 22, "Schluessel7=neu");
    QVERIFY(ReadBytes(Path()) == expected);
}

void TestIniFile::langFileHasEveryText_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    for (const char *section : {"Deutsch", "English"}) {
        for (const char *key : LangKeys)
            QTest::addRow("%s-%s", section, key) << section << QString::fromUtf8(key);
    }
}

void TestIniFile::langFileHasEveryText()
{
    QFETCH(QString, section);
    QFETCH(QString, key);

    const TIniFile lang(QCoreApplication::applicationDirPath() + "/Lang.ini");
    QVERIFY(!lang.ReadString(section, key, "").isEmpty());
}

void TestIniFile::langFileIsCp1252WithCrLf()
{
    const QString path = QCoreApplication::applicationDirPath() + "/Lang.ini";
    const QByteArray bytes = ReadBytes(path);
    QVERIFY(!bytes.isEmpty());
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QVERIFY(bytes.endsWith("\r\n"));
    // UTF-8 would spell the umlauts with a lead byte C3.
    QVERIFY(!bytes.contains('\xC3'));
    const TIniFile lang(path);
    QCOMPARE(lang.ReadString("Deutsch", "TabelleLöschen", ""), "Tabelle löschen");
    QCOMPARE(lang.ReadString("Deutsch", "ZuTabelleHinzufügen", ""), "Übernehme in Tabelle");
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
