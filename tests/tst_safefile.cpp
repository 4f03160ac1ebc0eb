// The modes and the reasons of files the program replaces: the CSV and
// settings path (ReplaceFile) and the printed PDF (a part file moved over).

#include "OpticCalcUnit/ReportRenderer.h"
#include "TestFiles.h"
#include "shared/Exception.h"
#include "shared/SafeFile.h"
#include "shared/ToolkitLanguage.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

ReportData SmallReport()
{
    ReportData data;
    data.Caption = QStringLiteral("Optic calculator Spot");
    data.Header0 = QStringLiteral("Distance a [mm]");
    data.Header1 = QStringLiteral("Spot M90 [mm]");
    data.Rows = {{"250.0", "20.0"}};
    data.Diagram = QImage(64, 32, QImage::Format_Indexed8);
    data.Diagram.setColorCount(1);
    data.Diagram.setColor(0, qRgb(255, 255, 255));
    data.Diagram.fill(0);
    return data;
}

// Writes path the way the program does for the given kind; the reason is
// empty when the file was written.
QString WriteAs(const QString &kind, const QString &path)
{
    if (kind == "csv") {
        QString error;
        const ReplaceResult result = ReplaceFile(path, "a;b\r\n", error);
        return result == ReplaceResult::Replaced ? QString() : error;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    try {
        PrintReport(printer, SmallReport());
    } catch (const EFileError &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT

private slots:
    void writtenFileHasTheUsualMode_data();
    void writtenFileHasTheUsualMode();
    void readOnlyFileSystemGivesItsReason_data();
    void readOnlyFileSystemGivesItsReason();
};

void TestSafeFile::writtenFileHasTheUsualMode_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("earlierMode"); // -1: no earlier file
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");
    for (const char *kind : {"csv", "pdf"}) {
        QTest::addRow("%s-new-umask-022", kind) << kind << -1 << 022 << 0644;
        QTest::addRow("%s-new-umask-077", kind) << kind << -1 << 077 << 0600;
        QTest::addRow("%s-replaced-keeps-0604", kind) << kind << 0604 << 022 << 0604;
        QTest::addRow("%s-replaced-keeps-0664", kind) << kind << 0664 << 077 << 0664;
    }
}

void TestSafeFile::writtenFileHasTheUsualMode()
{
#ifndef Q_OS_UNIX
    QSKIP("file modes and the umask are POSIX");
#else
    QFETCH(QString, kind);
    QFETCH(int, earlierMode);
    QFETCH(int, mask);
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString path = dir.filePath("out." + kind);
    if (earlierMode >= 0) {
        QVERIFY(WriteBytes(path, "earlier"));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(earlierMode)), 0);
    }
    const mode_t saved = ::umask(mode_t(mask));
    const auto back = qScopeGuard([saved] { ::umask(saved); });
    QCOMPARE(WriteAs(kind, path), QString());
    struct stat info
    {
    };
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), mode);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"out." + kind});
#endif
}

void TestSafeFile::readOnlyFileSystemGivesItsReason_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("earlier");
    QTest::addRow("csv-replacing-a-file") << "csv" << true;
    QTest::addRow("csv-new-file") << "csv" << false;
    QTest::addRow("pdf-replacing-a-file") << "pdf" << true;
    QTest::addRow("pdf-new-file") << "pdf" << false;
}

void TestSafeFile::readOnlyFileSystemGivesItsReason()
{
    QFETCH(QString, kind);
    QFETCH(bool, earlier);
    QTemporaryDir dir;
    const QString mount = dir.filePath("ro");
    QVERIFY(QDir().mkdir(mount));
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", mount}) != 0)
        QSKIP("no file system can be mounted here (needs root)");
    const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {mount}); });
    const QString path = mount + "/out." + kind;
    if (earlier)
        QVERIFY(WriteBytes(path, "earlier"));
    QCOMPARE(QProcess::execute("mount", {"-o", "remount,ro", mount}), 0);

    const QString reason = WriteAs(kind, path);
    const QString expected = SystemErrorText(EROFS);
    QVERIFY2(reason.endsWith(expected), qPrintable(reason));
    if (kind == "pdf")
        QCOMPARE(reason, CannotCreateText(path, expected));
    if (earlier)
        QCOMPARE(ReadBytes(path), QByteArray("earlier"));
}

QTEST_MAIN(TestSafeFile)
#include "tst_safefile.moc"
