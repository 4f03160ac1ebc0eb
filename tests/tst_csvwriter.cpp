#include "shared/CsvWriter.h"
#include "shared/Exception.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "FileSizeLimit.h"
#include "TestFiles.h"

using Table = QList<QStringList>; // rows of cells, row 0 the header

namespace {

QByteArray Build(const Table &table, const SaveCellEvent &onSaveCell = {})
{
    return BuildCsv(
        2, int(table.size()), [&](int c, int r) { return table[r][c]; }, ';', onSaveCell);
}

// The window's handler under a regional decimal comma.
void DecimalComma(int, int row, QString &value)
{
    if (row > 0)
        value.replace(u'.', u',');
}

void Put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

const Table Example = {
    {"Messabstand a [mm]", "Messfleck M90 [mm]"}, {"250.0", "15.0"}, {"1000", "40.0"}};

} // namespace

class TstCsvWriter : public QObject
{
    Q_OBJECT

private slots:
    void buildsBytes_data();
    void buildsBytes();
    void saveCellSeesEveryCellInWritingOrder();
    void hundredRowsGiveHundredAndOneLines();
    void largeTableIsWhole();

    void replacesWholeFile();
    void missingFolderCannotBeCreated();
    void folderPathCannotBeCreated();
    void readOnlyFileKeepsItsBytes();
    void failedWriteKeepsOldFile();
};

void TstCsvWriter::buildsBytes_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<bool>("comma");
    QTest::addColumn<QByteArray>("expected");

    QTest::addRow("example-decimal-comma")
        << Example << true
        << QByteArray("Messabstand a [mm];Messfleck M90 [mm]\r\n250,0;15,0\r\n1000;40,0\r\n");
    QTest::addRow("example-decimal-point")
        << Example << false
        << QByteArray("Messabstand a [mm];Messfleck M90 [mm]\r\n250.0;15.0\r\n1000;40.0\r\n");
    QTest::addRow("empty-row-two-empty-fields")
        << Table{{"A", "B"}, {"", ""}} << true << QByteArray("A;B\r\n\x22\x22\x3B\x22\x22\x0D\x0A");
    QTest::addRow("typed-distance-never-recalculated")
        << Table{{"A", "B"}, {"1000", ""}} << true << QByteArray("A;B\r\n1000;\"\"\r\n");
    QTest::addRow("empty-header-is-quoted-empty")
        << Table{{"", "B"}} << true << QByteArray("\"\";B\r\n");
    QTest::addRow("header-with-delimiter-is-quoted")
        << Table{{"a;b", "c"}} << true << QByteArray("\"a;b\";c\r\n");
    QTest::addRow("header-quote-doubled-and-enclosed")
        << Table{{"say \"x\"", "\""}} << true << QByteArray("\"say \"\"x\"\"\";\"\"\"\"\r\n");
    QTest::addRow("point-in-header-stays") << Table{{"Abst. [mm]", "M.90"}, {"1.5", "2.5"}} << true
                                           << QByteArray("Abst. [mm];M.90\r\n1,5;2,5\r\n");
    QTest::addRow("pasted-delimiter-in-data-cell")
        << Table{{"A", "B"}, {"1;2", "3"}} << true << QByteArray("A;B\r\n\"1;2\";3\r\n");
    QTest::addRow("line-break-in-cell-is-quoted")
        << Table{{"Dist\r\nance", "Spot"}, {"1\n2", "3"}} << true
        << QByteArray("\"Dist\r\nance\";Spot\r\n\"1\n2\";3\r\n");
    QTest::addRow("umlaut-is-one-byte")
        << Table{{QString::fromUtf8("Entfernung \xC3\xBC"), QString::fromUtf8("\xE2\x82\xAC")}}
        << true << QByteArray("Entfernung \xFC;\x80\r\n");
    QTest::addRow("outside-code-page-becomes-question-mark")
        << Table{{QString::fromUtf8("\xCE\xA9"), "x"}} << true << QByteArray("?;x\r\n");
}

void TstCsvWriter::buildsBytes()
{
    QFETCH(Table, table);
    QFETCH(bool, comma);
    QFETCH(QByteArray, expected);

    const QByteArray csv =
        comma ? Build(table, DecimalComma) : Build(table, [](int, int, QString &) {});
    QCOMPARE(csv, expected);
    if (QByteArray(QTest::currentDataTag()).startsWith("example"))
        QCOMPARE(csv.size(), 62);

    // The file holds exactly these bytes: no system adds a CR to the CR LF
    // or recodes the Windows-1252 text on the way to the disk.
    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    WriteFileAtomically(path, csv);
    QCOMPARE(ReadBytes(path), expected);
}

void TstCsvWriter::saveCellSeesEveryCellInWritingOrder()
{
    QStringList seen;
    // A handler that introduces a quote proves quoting is decided afterwards.
    const QByteArray csv = Build(Example, [&](int c, int r, QString &value) {
        seen << QStringLiteral("%1,%2:%3").arg(c).arg(r).arg(value);
        if (c == 1 && r == 1)
            value = QStringLiteral("1\"5");
    });
    QCOMPARE(seen, QStringList({"0,0:Messabstand a [mm]", "1,0:Messfleck M90 [mm]", "0,1:250.0",
                                "1,1:15.0", "0,2:1000", "1,2:40.0"}));
    QVERIFY(csv.contains("250.0;\"1\"\"5\"\r\n"));
    // No handler at all writes the texts as they are.
    QCOMPARE(Build(Example).mid(39, 12), QByteArray("250.0;15.0\r\n"));
}

void TstCsvWriter::hundredRowsGiveHundredAndOneLines()
{
    Table table{{"a", "b"}};
    for (int i = 1; i <= 100; ++i)
        table.append({QString::number(i) + ".0", "7.5"});
    const QByteArray csv = Build(table, DecimalComma);
    QCOMPARE(csv.count("\r\n"), 101);
    QCOMPARE(csv.count('\n'), 101);
    QCOMPARE(csv.count('\r'), 101);
    QVERIFY(csv.endsWith("100,0;7,5\r\n"));
}

void TstCsvWriter::largeTableIsWhole()
{
    const QByteArray csv = BuildCsv(
        2, 100001,
        [](int c, int r) { return r == 0 ? QStringLiteral("h")
                                  : c    ? "12.5"
                                         : "1000.0"; }, ';',
        DecimalComma);
    QCOMPARE(csv.size(), qsizetype(5 + 100000 * 13));
}

void TstCsvWriter::replacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.csv");
    Put(path, QByteArray(500, 'x'));
    WriteFileAtomically(path, "a;b\r\n");
    QCOMPARE(ReadBytes(path), QByteArray("a;b\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.csv"});
}

void TstCsvWriter::missingFolderCannotBeCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/out.csv");
    try {
        WriteFileAtomically(path, "a;b\r\n");
        QFAIL("no error");
    } catch (const EFileError &e) {
        const QString prefix =
            "Datei \"" + QDir::toNativeSeparators(path) + "\" kann nicht erstellt werden. ";
        QVERIFY2(e.Message().startsWith(prefix), qPrintable(e.Message()));
        QVERIFY2(e.Message().size() > prefix.size(), "the system's reason is missing");
    }
    QVERIFY(!QFileInfo::exists(path));
}

void TstCsvWriter::folderPathCannotBeCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("folder.csv");
    QVERIFY(QDir(dir.path()).mkdir("folder.csv"));
    QVERIFY_THROWS_EXCEPTION(EFileError, WriteFileAtomically(path, "a;b\r\n"));
    QVERIFY(QFileInfo(path).isDir());
}

void TstCsvWriter::readOnlyFileKeepsItsBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.csv");
    Put(path, "old\r\n");
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (QFileInfo(path).isWritable())
        QSKIP("running as root: a read-only file counts as writable here");
    try {
        WriteFileAtomically(path, "new\r\n");
        QFAIL("no error");
    } catch (const EFileError &e) {
        QVERIFY2(e.Message().startsWith("Datei \"" + QDir::toNativeSeparators(path) +
                                        "\" kann nicht erstellt werden. "),
                 qPrintable(e.Message()));
    }
    QCOMPARE(ReadBytes(path), QByteArray("old\r\n"));
}

void TstCsvWriter::failedWriteKeepsOldFile()
{
    // A file size limit makes the write fail the way a full disk does.
    QTemporaryDir dir;
    const QString path = dir.filePath("old.csv");
    Put(path, "old\r\n");
    if (!FileSizeLimit::Available)
        QSKIP(NoFileSizeLimit);
    FileSizeLimit limit;
    QVERIFY(limit.Set(64));
    QString message;
    try {
        WriteFileAtomically(path, QByteArray(100000, 'y'));
    } catch (const EFileError &e) {
        message = e.Message();
    }
    limit.Lift();

    QCOMPARE(message, QStringLiteral("Stream-Schreibfehler"));
    QCOMPARE(ReadBytes(path), QByteArray("old\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.csv"});
}

QTEST_GUILESS_MAIN(TstCsvWriter)
#include "tst_csvwriter.moc"
