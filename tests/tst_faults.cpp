// The calculator window under faults: blocked or damaged settings and
// language files, exports that cannot be written, and inputs far beyond what
// a user types. The window keeps working and loses nothing.

#include "FaultSupport.h"
#include "FormTestSupport.h"
#include "TestFiles.h"

#include "InfoUnit/InfoForm.h"
#include "OpticCalcUnit/Controls.h"
#include "OpticCalcUnit/ResultsGrid.h"
#include "Settingfiles/UserIniFile.h"
#include "main/Application.h"
#include "shared/Cp1252.h"
#include "shared/ErrorReport.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocument>
#include <QWindow>

#include <csignal>
#include <optional>

namespace {

QByteArray RandomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

// Lines of plain "key=value" text, about `size` bytes.
QByteArray FillerLines(const char *prefix, qsizetype size)
{
    QByteArray bytes;
    bytes.reserve(size + 64);
    for (int i = 0; bytes.size() < size; ++i)
        bytes += prefix + QByteArray::number(i) + "=Wert " + QByteArray::number(i * 7) + "\r\n";
    return bytes;
}

// 1 MiB of digits: reads as a number far beyond the float range.
QString MegabyteOfDigits()
{
    return QStringLiteral("1234567890").repeated((1 << 20) / 10);
}

// 1 MiB of what the key filter would never let through.
QString MegabyteOfLetters()
{
    return QStringLiteral("ab 1,5;\"").repeated((1 << 20) / 8);
}

// The settings at start as the tests write them.
const QByteArray StoredSection = "[OpticCalc]\r\nSprache=English\r\nBasicM90=10\r\nBasicA=500\r\n"
                                 "BasicApertur=30\r\n";

QString LocaleLanguage()
{
    return QLocale::system().language() == QLocale::German ? QStringLiteral("Deutsch")
                                                           : QStringLiteral("English");
}

QString CannotWrite(const QString &path)
{
    return "In " + QDir::toNativeSeparators(path) + " kann nicht geschrieben werden.";
}

// Every cell of the table, header row included.
QStringList TableCells(TOpticCalcForm &form)
{
    auto *grid = Child<TResultsGrid>(form, "Grid");
    QStringList cells;
    for (int row = 0; row < grid->RowCount(); ++row)
        cells << grid->Cell(0, row) << grid->Cell(1, row);
    return cells;
}

void PasteInto(QWidget *edit, const QString &text)
{
    QApplication::clipboard()->setText(text);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void blockedSettingsFolder_data();
    void blockedSettingsFolder();
    void noHomeFolder();
    void freshAccountKeepsSettings();
    void readOnlySettingsFile();
    void fullDiskAtExitKeepsSettingsFile();
    void unreadableSettingsFile_data();
    void unreadableSettingsFile();
    void damagedSettingsFile_data();
    void damagedSettingsFile();

    void damagedLanguageFile_data();
    void damagedLanguageFile();
    void hostileTextsShowAsWritten_data();
    void hostileTextsShowAsWritten();

    void exportFailureKeepsEarlierFile_data();
    void exportFailureKeepsEarlierFile();
    void failedPrintIsReportedAndPrinterRecovers();

    void megabytePasteIntoEdit_data();
    void megabytePasteIntoEdit();
    void megabyteTableCell_data();
    void megabyteTableCell();

    void numberBeyondFloatRange_data();
    void numberBeyondFloatRange();
    void tableDistanceBeyondFloatRangeIsSkipped();
    void resultBeyondFloatRangeShowsNothing_data();
    void resultBeyondFloatRangeShowsNothing();

private:
    // A window on fresh settings that start in English with 10, 500, 30.
    std::unique_ptr<TOpticCalcForm> NewForm(const TemporarySettings &settings,
                                            const QString &languageFile = {});
    // Computes 20.0 @ 250.0 so that there are results to lose.
    void ShowResults(TOpticCalcForm &form);
};

std::unique_ptr<TOpticCalcForm> TestFaults::NewForm(const TemporarySettings &settings,
                                                    const QString &languageFile)
{
    if (!WriteBytes(settings.UserIni(), StoredSection))
        qFatal("cannot write the settings");
    auto form = std::make_unique<TOpticCalcForm>(nullptr, languageFile);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qFatal("window not shown");
    return form;
}

void TestFaults::ShowResults(TOpticCalcForm &form)
{
    form.WatchTimerTimer();
    Child<QSlider>(form, "Slider")->setValue(96);
    QCOMPARE(Child<QLineEdit>(form, "M2Edit")->text(), QStringLiteral("20.0"));
    QCOMPARE(Child<QLineEdit>(form, "A2Edit")->text(), QStringLiteral("250.0"));
}

// ------------------------------------------------------------ settings file

void TestFaults::blockedSettingsFolder_data()
{
    QTest::addColumn<QString>("inTheWay");
    QTest::addColumn<bool>("readOnlyParent");
    QTest::addRow("maker-folder-is-a-file") << "TAVREL" << false;
    QTest::addRow("program-folder-is-a-file") << "TAVREL/Lunavue" << false;
    QTest::addRow("config-folder-read-only") << QString() << true;
}

void TestFaults::blockedSettingsFolder()
{
    QFETCH(QString, inTheWay);
    QFETCH(bool, readOnlyParent);
    TemporarySettings settings;
    const QString blocker = settings.Path() + "/" + inTheWay;
    if (!inTheWay.isEmpty())
        QVERIFY(WriteBytes(blocker, "im Weg\r\n"));
    const auto writable = QFile::permissions(settings.Path());
    struct PermissionsBack
    {
        QString Path;
        QFileDevice::Permissions Permissions;
        ~PermissionsBack() { QFile::setPermissions(Path, Permissions); }
    } back{settings.Path(), writable};
    if (readOnlyParent) {
        QVERIFY(
            QFile::setPermissions(settings.Path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        if (QFileInfo(settings.Path()).isWritable())
            QSKIP("running as root: permission bits do not stop its writes");
    }

    BoxWatcher watcher;
    auto form = std::make_unique<TOpticCalcForm>();
    QCOMPARE(form->Language(), LocaleLanguage());
    for (const char *name : {"MEdit", "AEdit", "DEdit"})
        QVERIFY(Child<QLineEdit>(*form, name)->text().isEmpty());
    Type(Child<QLineEdit>(*form, "MEdit"), "12");
    QVERIFY(watcher.Boxes.isEmpty());

    form.reset();
    QCOMPARE(watcher.Boxes.size(), 1);
    QCOMPARE(watcher.Boxes.at(0).Title, ApplicationTitle());
    QCOMPARE(watcher.Boxes.at(0).Text, CannotWrite(settings.Path() + "/TAVREL/Lunavue/User.ini"));
    if (!inTheWay.isEmpty())
        QCOMPARE(ReadBytes(blocker), QByteArray("im Weg\r\n"));
}

void TestFaults::noHomeFolder()
{
#ifdef Q_OS_WIN
    QSKIP("Windows takes the settings folder from the shell, not from HOME");
#endif
    const EnvironmentRestorer home("HOME");
    const EnvironmentRestorer config("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    qunsetenv("XDG_CONFIG_HOME");
    // Qt falls back to "//.config", a folder in the file system's root that
    // belongs to no user; the settings count as having no folder then.
    const QString location =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QVERIFY2(location.isEmpty() || QFileInfo(location).absoluteDir().isRoot(),
             qPrintable(location));
    const QString rootFolder = QDir::cleanPath(location + "/TAVREL");
    const bool existedBefore = !location.isEmpty() && QFileInfo::exists(rootFolder);
    QVERIFY(!TUserIniFile().Usable());

    BoxWatcher watcher;
    auto form = std::make_unique<TOpticCalcForm>();
    QCOMPARE(form->Language(), LocaleLanguage());
    QVERIFY(Child<QLineEdit>(*form, "MEdit")->text().isEmpty());
    Type(Child<QLineEdit>(*form, "MEdit"), "12");
    form.reset();
    QVERIFY(watcher.Boxes.isEmpty());
    if (!location.isEmpty())
        QCOMPARE(QFileInfo::exists(rootFolder), existedBefore);
}

void TestFaults::freshAccountKeepsSettings()
{
#ifdef Q_OS_WIN
    QSKIP("Windows takes the settings folder from the shell, not from HOME");
#endif
    // A new user's home: no configuration folder yet.
    QTemporaryDir home;
    const EnvironmentRestorer homeBack("HOME");
    const EnvironmentRestorer config("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");

    BoxWatcher watcher;
    auto form = std::make_unique<TOpticCalcForm>();
    QVERIFY(QFileInfo(home.path() + "/.config/TAVREL/Lunavue").isDir());
    Child<QLineEdit>(*form, "MEdit")->setText("12");
    form.reset();
    form = std::make_unique<TOpticCalcForm>();
    QCOMPARE(Child<QLineEdit>(*form, "MEdit")->text(), QStringLiteral("12"));
    form.reset();
    QVERIFY(watcher.Boxes.isEmpty());
}

void TestFaults::readOnlySettingsFile()
{
    TemporarySettings settings;
    const QByteArray stored = "; von Hand\r\n" + StoredSection + "[Anderes]\r\nx=1\r\n";
    QVERIFY(WriteBytes(settings.UserIni(), stored));
    // All write bits clear: read-only for the INI class even for root.
    QVERIFY(QFile::setPermissions(settings.UserIni(), QFileDevice::ReadOwner |
                                                          QFileDevice::ReadGroup |
                                                          QFileDevice::ReadOther));

    BoxWatcher watcher;
    auto form = std::make_unique<TOpticCalcForm>();
    QCOMPARE(form->Language(), QStringLiteral("English"));
    QCOMPARE(Child<QLineEdit>(*form, "MEdit")->text(), QStringLiteral("10"));
    QCOMPARE(Child<QLineEdit>(*form, "AEdit")->text(), QStringLiteral("500"));
    QCOMPARE(Child<QLineEdit>(*form, "DEdit")->text(), QStringLiteral("30"));
    Child<QLineEdit>(*form, "MEdit")->setText("12");
    form.reset();

    QCOMPARE(watcher.Boxes.size(), 1);
    QCOMPARE(watcher.Boxes.at(0).Text, CannotWrite(settings.UserIni()));
    QCOMPARE(ReadBytes(settings.UserIni()), stored);
    QFile::setPermissions(settings.UserIni(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestFaults::fullDiskAtExitKeepsSettingsFile()
{
    if (!FileSizeLimit::Available)
        QSKIP(NoFileSizeLimit);
    TemporarySettings settings;
    const QByteArray stored = StoredSection + "[Anderes]\r\nx=1\r\n";
    QVERIFY(WriteBytes(settings.UserIni(), stored));
    auto form = std::make_unique<TOpticCalcForm>();
    Child<QLineEdit>(*form, "MEdit")->setText("12");

    FileSizeLimit limit;
    BoxWatcher watcher([&] { limit.Lift(); });
    limit.Set(8);
    form.reset();
    limit.Lift();

    QCOMPARE(watcher.Boxes.size(), 1);
    QCOMPARE(watcher.Boxes.at(0).Text, CannotWrite(settings.UserIni()));
    QCOMPARE(ReadBytes(settings.UserIni()), stored);
    QCOMPARE(QFileInfo(settings.UserIni()).dir().entryList(QDir::Files), QStringList{"User.ini"});
}

void TestFaults::unreadableSettingsFile_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addRow("file-without-permissions") << false;
    QTest::addRow("folder-named-like-the-file") << true;
}

void TestFaults::unreadableSettingsFile()
{
    QFETCH(bool, folder);
    TemporarySettings settings;
    const QString path = settings.UserIni();
    if (folder) {
        QVERIFY(QDir().mkpath(path));
        QVERIFY(WriteBytes(path + "/inside.txt", "drin"));
    } else {
        QVERIFY(WriteBytes(path, StoredSection));
#ifdef Q_OS_WIN
        QSKIP("Windows has no permission bit that takes reading away from the file's owner");
#endif
        QVERIFY(QFile::setPermissions(path, {}));
        if (QFileInfo(path).isReadable()) {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QSKIP("running as root: permission bits do not stop its reads");
        }
    }

    BoxWatcher watcher;
    auto form = std::make_unique<TOpticCalcForm>();
    QCOMPARE(form->Language(), LocaleLanguage());
    QVERIFY(Child<QLineEdit>(*form, "MEdit")->text().isEmpty());
    Child<QLineEdit>(*form, "MEdit")->setText("12");
    form.reset();

    QCOMPARE(watcher.Boxes.size(), 1);
    QCOMPARE(watcher.Boxes.at(0).Text, CannotWrite(path));
    if (folder) {
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(ReadBytes(path + "/inside.txt"), QByteArray("drin"));
    } else {
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(ReadBytes(path), StoredSection);
    }
}

void TestFaults::damagedSettingsFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("withSection");
    QTest::addColumn<QByteArray>("after");
    const QByteArray random = RandomBytes(64 * 1024, 7);
    QTest::addRow("random-bytes") << random << false << QByteArray();
    QTest::addRow("random-bytes-around-the-section")
        << random + "\r\n"
        << true << "\r\n[Danach]\r\n" + RandomBytes(64 * 1024, 8);
    QTest::addRow("ten-megabytes-around-the-section")
        << "[Vorher]\r\n" + FillerLines("Zeile", 10 << 20) << true
        << "[Danach]\r\n" + FillerLines("Rest", 1 << 20);
    QTest::addRow("ten-megabyte-line") << QByteArray(10 << 20, 'z') + "\r\n"
                                       << true << "[Danach]\r\nx=" + QByteArray(1 << 20, 'y');
}

void TestFaults::damagedSettingsFile()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, withSection);
    QFETCH(QByteArray, after);
    TemporarySettings settings;
    const QByteArray old = withSection ? before + StoredSection + after : before;
    QVERIFY(WriteBytes(settings.UserIni(), old));

    BoxWatcher watcher;
    auto form = std::make_unique<TOpticCalcForm>();
    QCOMPARE(Child<QLineEdit>(*form, "MEdit")->text(),
             withSection ? QStringLiteral("10") : QString());
    QCOMPARE(form->Language(), withSection ? QStringLiteral("English") : LocaleLanguage());
    form->Deutsch2Click(Child<QMenu>(*form, "Sprache1")->actions().at(0));
    Child<QLineEdit>(*form, "MEdit")->setText("12");
    Child<QLineEdit>(*form, "AEdit")->setText("600");
    Child<QLineEdit>(*form, "DEdit")->setText("40");
    form.reset();
    QVERIFY(watcher.Boxes.isEmpty());

    const QByteArray written = ReadBytes(settings.UserIni());
    const QByteArray section =
        "[OpticCalc]\r\nSprache=Deutsch\r\nBasicM90=12\r\nBasicA=600\r\nBasicApertur=40\r\n";
    if (withSection) {
        // Compared as a whole; a failing QCOMPARE would print megabytes.
        const QByteArray expected = before + section + after;
        QCOMPARE(written.size(), expected.size());
        QVERIFY(written == expected);
    } else {
        // Every old byte stays where it was; the section follows after line
        // ends only.
        QVERIFY(written.startsWith(old));
        QVERIFY(written.endsWith(section));
        const QByteArray between =
            written.mid(old.size(), written.size() - old.size() - section.size());
        QVERIFY2(between.count('\r') + between.count('\n') == between.size(),
                 between.toHex().constData());
    }
}

// ------------------------------------------------------------ language file

void TestFaults::damagedLanguageFile_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("spot");
    const QString cutA(2047, u'a');
    const QString cutB(2047, u'b');

    QTest::addRow("missing") << false << QByteArray() << QString() << QString();
    QTest::addRow("empty") << true << QByteArray() << QString() << QString();
    QTest::addRow("binary") << true << RandomBytes(256 * 1024, 3) << QString() << QString();
    QTest::addRow("binary-around-the-section")
        << true
        << RandomBytes(64 * 1024, 4) + "\r\n[English]\r\nOptischerRechner=Rechner\r\n[x]\r\n" +
               RandomBytes(64 * 1024, 5)
        << "Rechner" << QString();
    QTest::addRow("values-cut-to-2047")
        << true
        << "[English]\r\nOptischerRechner=" + QByteArray(5000, 'a') + "\r\nMessFeld=\"" +
               QByteArray(3000, 'b') + "\"\r\n"
        << cutA << cutB;
    QTest::addRow("ten-megabytes-of-lines")
        << true
        << "[English]\r\n" + FillerLines("Fueller", 10 << 20) + "OptischerRechner=Rechner\r\n"
        << "Rechner" << QString();
    QTest::addRow("ten-megabyte-line")
        << true << "[English]\r\nMessFeld=" + QByteArray(10 << 20, 'b') << QString() << cutB;
}

void TestFaults::damagedLanguageFile()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(QString, program);
    QFETCH(QString, spot);
    const TemporaryLanguageFile language(exists ? std::optional(content) : std::nullopt);
    QVERIFY(language.Written());
    TemporarySettings settings;

    BoxWatcher watcher;
    auto form = NewForm(settings, language.Path());
    const auto label = [&](const char *name) { return Child<QLabel>(*form, name)->text(); };
    const auto button = [&](const char *name) { return Child<QPushButton>(*form, name)->text(); };
    const auto caption = [&](const char *name) {
        return Child<TCaptionPanel>(*form, name)->Caption();
    };
    auto *grid = Child<TResultsGrid>(*form, "Grid");

    QCOMPARE(form->windowTitle(), program + " Spot");
    QCOMPARE(label("Label3"), spot + " M90");
    QCOMPARE(label("Label6"), spot + " M90");
    QCOMPARE(grid->Cell(1, 0), spot + " M90 [mm]");
    QCOMPARE(grid->Cell(0, 0), QStringLiteral(" a [mm]"));
    QCOMPARE(label("Label1"), QStringLiteral(" D"));
    for (const char *name : {"Label2", "Label5", "Label8"})
        QCOMPARE(label(name), QString());
    for (const char *name : {"PrintButton", "ExportButton", "NewRowButton", "GridClearButton",
                             "ToTableButton", "CalcButton"})
        QCOMPARE(button(name), QString());
    for (const char *name : {"BasicDataPanel", "CalcValuesPanel", "CalcTablePanel"})
        QCOMPARE(caption(name), QStringLiteral("<B></B>"));
    QCOMPARE(form->PrintHeading(), QStringLiteral(" "));
    QVERIFY(form->InvalidValueText().isEmpty());
    QVERIFY(form->HintDistance().isEmpty());

    // The calculation does not depend on any text.
    ShowResults(*form);
    form.reset();
    QVERIFY(watcher.Boxes.isEmpty());
    // Generous: a read that went quadratic in the file's size would take minutes.
}

void TestFaults::hostileTextsShowAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addRow("markup-and-image") << R"(<i>kursiv</i> <img src="/nonexistent/b.png">)";
    QTest::addRow("ampersand-and-title-placeholder") << "Messen & [*] Prüfen";
}

void TestFaults::hostileTextsShowAsWritten()
{
    QFETCH(QString, text);
    // Every key of the English section carries the text.
    QByteArray lines = "[English]\r\n";
    for (const QByteArray &line :
         ReadBytes(QCoreApplication::applicationDirPath() + "/Lang.ini").split('\n')) {
        if (line.contains('=') && !line.startsWith('['))
            lines += line.left(line.indexOf('=') + 1) + ToCp1252(text) + "\r\n";
    }
    const TemporaryLanguageFile language(lines);
    QVERIFY(language.Written());
    TemporarySettings settings;
    BoxWatcher watcher;
    auto form = NewForm(settings, language.Path());

    auto *label = Child<QLabel>(*form, "Label3");
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), text + " M90");
    auto *button = Child<QPushButton>(*form, "PrintButton");
    QVERIFY(QKeySequence::mnemonic(button->text()).isEmpty());
    QCOMPARE(button->accessibleName(), text);
    QCOMPARE(form->windowHandle()->title(), text + " Spot");
    // A hint is shown as rich text only when it looks like it; either way
    // the user reads the text as written and no image is loaded.
    const QString hint = Child<TResultsGrid>(*form, "Grid")->toolTip();
    QTextDocument shown;
    shown.setHtml(hint);
    QCOMPARE(Qt::mightBeRichText(hint) ? shown.toPlainText() : hint, text);
    QVERIFY(!shown.toHtml().contains("<img"));

    TInfoForm about(form.get());
    about.show();
    auto *name = Child<QLabel>(about, "ProgrammNameLabel");
    QCOMPARE(name->textFormat(), Qt::PlainText);
    QCOMPARE(name->text(), text + " Spot");
    about.hide();

    auto *spot = Child<QLineEdit>(*form, "M2Edit");
    spot->setText("5"); // below M90: the invalid-value message
    Enter(spot);
    QCOMPARE(watcher.Boxes.size(), 1);
    QCOMPARE(watcher.Boxes.at(0).Text, text);
    QCOMPARE(watcher.Boxes.at(0).Format, Qt::PlainText);
}

// ------------------------------------------------------------------- print

void TestFaults::failedPrintIsReportedAndPrinterRecovers()
{
    for (const char *tool : {"pdftotext", "pdfimages"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(tool)));
    }
    TemporarySettings settings;
    auto form = NewForm(settings);
    // More rows than one page holds.
    auto *grid = Child<TResultsGrid>(*form, "Grid");
    grid->InsertRows(1, 66);
    QStringList distances;
    for (int row = 1; row <= 66; ++row) {
        distances << QString::number(10 * row) + ".5";
        grid->SetCell(0, row, distances.last());
        grid->SetCell(1, row, QStringLiteral("12.0"));
    }
    QTemporaryDir dir;
    QString target = dir.filePath("full.pdf");
    form->AskPrinter = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        return true;
    };
    const auto print = [&] {
        // As the button's signal runs it: what escapes goes to the error report.
        CallAndReport([&] { form->PrintButtonClick(); });
    };
    QVERIFY(WriteBytes(target, "an earlier report"));

    if (!FileSizeLimit::Available)
        QSKIP(NoFileSizeLimit);
    BoxWatcher watcher;
    FileSizeLimit fullDisk; // writes beyond 4 KiB fail as on a full disk
    fullDisk.Set(4096);
    print();
    fullDisk.Lift();
    QCOMPARE(watcher.Boxes.size(), 1);
    QVERIFY2(watcher.Boxes.at(0).Text.contains(QDir::toNativeSeparators(target)),
             qPrintable(watcher.Boxes.at(0).Text));
    QCOMPARE(ReadBytes(target), QByteArray("an earlier report"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"full.pdf"});

    target = dir.filePath("good.pdf");
    print();
    QCOMPARE(watcher.Boxes.size(), 1);
    QProcess run;
    run.start("pdftotext", {"-layout", target, "-"});
    QVERIFY(run.waitForFinished());
    const QString text = QString::fromUtf8(run.readAllStandardOutput());
    for (const QString &distance : distances)
        QVERIFY2(text.count(
                     QRegularExpression("\\b" + QRegularExpression::escape(distance) + "\\b")) == 1,
                 qPrintable(distance));
    QVERIFY(text.count(u'\f') >= 2); // page breaks
    run.start("pdfimages", {"-list", target});
    QVERIFY(run.waitForFinished());
    QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).size(),
             2 + 1);
}

// ------------------------------------------------------------------ export

void TestFaults::exportFailureKeepsEarlierFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addRow("folder-missing") << "folder";
    QTest::addRow("file-read-only") << "read-only";
    QTest::addRow("disk-full") << "full";
}

void TestFaults::exportFailureKeepsEarlierFile()
{
    QFETCH(QString, fault);
    if (fault == "full" && !FileSizeLimit::Available)
        QSKIP(NoFileSizeLimit);
    TemporarySettings settings;
    QTemporaryDir dir;
    const QString earlier = dir.filePath("werte.csv");
    const QByteArray earlierBytes = "Alt;Alt\r\n1,0;2,0\r\n";
    QVERIFY(WriteBytes(earlier, earlierBytes));
    const QString target = fault == "folder" ? dir.filePath("fehlt/werte.csv") : earlier;
    if (fault == "read-only")
        QVERIFY(QFile::setPermissions(earlier, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                   QFileDevice::ReadOther));

    auto form = NewForm(settings);
    ShowResults(*form);
    form->ToTableButtonClick();
    form->NewRowButtonClick();
    Child<TResultsGrid>(*form, "Grid")->SetCell(0, 2, "1000");
    form->CalcButtonClick();
    const QStringList cells = TableCells(*form);

    FileSizeLimit limit;
    form->AskExportPath = [&] {
        if (fault == "full")
            limit.Set(8);
        return std::optional(target);
    };
    BoxWatcher watcher([&] { limit.Lift(); });
    form->WatchTimerTimer();
    QTest::mouseClick(Child<QPushButton>(*form, "ExportButton"), Qt::LeftButton);
    limit.Lift();

    QCOMPARE(watcher.Boxes.size(), 1);
    QCOMPARE(watcher.Boxes.at(0).Title, ApplicationTitle());
    const QString text = watcher.Boxes.at(0).Text;
    if (fault == "full") {
        QCOMPARE(text, QStringLiteral("Stream-Schreibfehler."));
    } else {
        const QString head =
            "Datei \"" + QDir::toNativeSeparators(target) + "\" kann nicht erstellt werden. ";
        QVERIFY2(text.startsWith(head) && text.size() > head.size() + 1, qPrintable(text));
    }
    QCOMPARE(ReadBytes(earlier), earlierBytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"werte.csv"});
    QCOMPARE(TableCells(*form), cells);

    // The window goes on: the next export works.
    const QString next = dir.filePath("neu.csv");
    form->AskExportPath = [&] { return std::optional(next); };
    QTest::mouseClick(Child<QPushButton>(*form, "ExportButton"), Qt::LeftButton);
    QCOMPARE(watcher.Boxes.size(), 1);
    const QByteArray separator(1, form->SavedDecimalSeparator());
    QCOMPARE(ReadBytes(next), (cells.at(0) + ";" + cells.at(1)).toLatin1() + "\r\n250" + separator +
                                  "0;20" + separator + "0\r\n1000;50" + separator + "0\r\n");
    QFile::setPermissions(earlier, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// ------------------------------------------------------------ huge inputs

void TestFaults::megabytePasteIntoEdit_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("clipboard");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("problemBoxes");
    const QString digits = MegabyteOfDigits();
    const QString letters = MegabyteOfLetters();
    for (const char *edit : {"MEdit", "AEdit", "DEdit", "M2Edit", "A2Edit"}) {
        const int boxes = QByteArray(edit) == "M2Edit" ? 1 : 0;
        QTest::addRow("%s-clipboard-digits", edit) << edit << true << digits << boxes;
        QTest::addRow("%s-text-letters", edit) << edit << false << letters << boxes;
    }
}

void TestFaults::megabytePasteIntoEdit()
{
    QFETCH(QString, edit);
    QFETCH(bool, clipboard);
    QFETCH(QString, text);
    QFETCH(int, problemBoxes);
    TemporarySettings settings;
    auto form = NewForm(settings);
    ShowResults(*form);
    auto *target = Child<QLineEdit>(*form, edit.toLatin1().constData());
    BoxWatcher watcher;
    if (clipboard) {
        target->clear();
        PasteInto(target, text);
    } else {
        target->setText(text);
    }
    // The edit keeps what fits; nothing of it is altered.
    const QString kept = target->text();
    QVERIFY(!kept.isEmpty());
    QVERIFY(text.startsWith(kept));
    Enter(target);

    // No number: counts as 0, which no calculation accepts.
    QCOMPARE(watcher.Boxes.size(), problemBoxes);
    for (const SeenBox &box : watcher.Boxes)
        QCOMPARE(box.Title, QStringLiteral("Problem"));
    QVERIFY(Child<QLineEdit>(*form, "M2Edit")->text().isEmpty());
    QVERIFY(Child<QLineEdit>(*form, "A2Edit")->text().isEmpty());
    QVERIFY(Child<QLineEdit>(*form, "LineEdit")->text().isEmpty());
    if (edit != "M2Edit" && edit != "A2Edit")
        QCOMPARE(target->text(), kept);

    form->ToTableButtonClick();
    form->CalcButtonClick();
    form->WatchTimerTimer();
    form->UpdateLineLabel();
    form.reset();
    QCOMPARE(watcher.Boxes.size(), problemBoxes);
}

void TestFaults::megabyteTableCell_data()
{
    QTest::addColumn<bool>("editorPaste");
    QTest::addRow("cell-written") << false;
    QTest::addRow("pasted-into-cell-editor") << true;
}

void TestFaults::megabyteTableCell()
{
    QFETCH(bool, editorPaste);
    TemporarySettings settings;
    auto form = NewForm(settings);
    ShowResults(*form);
    auto *grid = Child<TResultsGrid>(*form, "Grid");
    form->ToTableButtonClick();
    form->NewRowButtonClick();
    grid->SetCell(1, 2, "alt");
    const QString digits = MegabyteOfDigits();
    BoxWatcher watcher;
    if (editorPaste) {
        grid->setFocus();
        grid->setCurrentCell(1, 0);
        grid->editItem(grid->item(1, 0));
        auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(grid->model()->index(1, 0)));
        QVERIFY(editor);
        PasteInto(editor, digits);
        Enter(editor);
    } else {
        grid->SetCell(0, 2, digits);
        form->CalcButtonClick();
    }
    const QString kept = grid->Cell(0, 2);
    QVERIFY(!kept.isEmpty());
    QVERIFY(digits.startsWith(kept));
    // A distance beyond the float range is no number: its row is skipped.
    QCOMPARE(grid->Cell(1, 1), QStringLiteral("20.0"));
    QCOMPARE(grid->Cell(1, 2), QStringLiteral("alt"));
    QCOMPARE(Child<QLineEdit>(*form, "M2Edit")->text(), QStringLiteral("20.0"));

    QTemporaryDir dir;
    const QString path = dir.filePath("gross.csv");
    form->AskExportPath = [&] { return std::optional(path); };
    form->WatchTimerTimer();
    QTest::mouseClick(Child<QPushButton>(*form, "ExportButton"), Qt::LeftButton);
    const QByteArray separator(1, form->SavedDecimalSeparator());
    QCOMPARE(ReadBytes(path), (grid->Cell(0, 0) + ";" + grid->Cell(1, 0)).toLatin1() + "\r\n250" +
                                  separator + "0;20" + separator + "0\r\n" + kept.toLatin1() +
                                  ";alt\r\n");

    // Long texts in the result edits go into the line text and the table.
    auto *spot = Child<QLineEdit>(*form, "M2Edit");
    auto *distance = Child<QLineEdit>(*form, "A2Edit");
    spot->setText(digits);
    distance->setText(digits);
    form->UpdateLineLabel();
    QVERIFY(!Child<QLineEdit>(*form, "LineEdit")->text().isEmpty());
    form->ToTableButtonClick();
    QCOMPARE(grid->Cell(0, 3), distance->text());
    form->CalcButtonClick();
    QCOMPARE(grid->Cell(1, 3), spot->text());
    form.reset();
    QVERIFY(watcher.Boxes.isEmpty());
}

void TestFaults::numberBeyondFloatRange_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("problemBoxes");
    const QString nines(45, u'9');
    for (const char *edit : {"MEdit", "AEdit", "DEdit", "A2Edit"}) {
        QTest::addRow("%s-typed-digits", edit) << edit << nines << true << 0;
        QTest::addRow("%s-exponent", edit) << edit << "3.5e38000" << false << 0;
    }
    QTest::addRow("M2Edit-typed-digits") << "M2Edit" << nines << true << 1;
    QTest::addRow("M2Edit-exponent") << "M2Edit"
                                     << "1e39" << false << 1;
    QTest::addRow("M2Edit-just-above-float-max") << "M2Edit"
                                                 << "3.4028236e38" << false << 1;
}

void TestFaults::numberBeyondFloatRange()
{
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QFETCH(int, problemBoxes);
    TemporarySettings settings;
    auto form = NewForm(settings);
    ShowResults(*form);
    auto *target = Child<QLineEdit>(*form, edit.toLatin1().constData());
    target->clear();
    if (typed)
        Type(target, text);
    else
        target->setText(text);
    QCOMPARE(target->text(), text);

    BoxWatcher watcher;
    Enter(target);
    QCOMPARE(watcher.Boxes.size(), problemBoxes);
    for (const SeenBox &box : watcher.Boxes)
        QCOMPARE(box.Title, QStringLiteral("Problem"));
    QVERIFY(Child<QLineEdit>(*form, "M2Edit")->text().isEmpty());
    QVERIFY(Child<QLineEdit>(*form, "A2Edit")->text().isEmpty());
    QVERIFY(Child<QLineEdit>(*form, "LineEdit")->text().isEmpty());
    form.reset();
    QCOMPARE(watcher.Boxes.size(), problemBoxes);
}

void TestFaults::tableDistanceBeyondFloatRangeIsSkipped()
{
    TemporarySettings settings;
    auto form = NewForm(settings);
    auto *grid = Child<TResultsGrid>(*form, "Grid");
    const QStringList distances{"1e39", QString(45, u'9'), "250", "3.4028236e38"};
    for (const QString &distance : distances) {
        form->NewRowButtonClick();
        grid->SetCell(0, grid->RowCount() - 1, distance);
        grid->SetCell(1, grid->RowCount() - 1, "alt");
    }
    BoxWatcher watcher;
    form->CalcButtonClick();
    QCOMPARE(TableCells(*form).mid(2), QStringList({"1e39", "alt", QString(45, u'9'), "alt", "250",
                                                    "20.0", "3.4028236e38", "alt"}));
    form.reset();
    QVERIFY(watcher.Boxes.isEmpty());
}

void TestFaults::resultBeyondFloatRangeShowsNothing_data()
{
    QTest::addColumn<QStringList>("basic");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("problemBoxes");
    // For the slider and Enter the value is the slider position.
    QTest::addRow("slider-with-huge-m90") << QStringList{"3e38", "1", "1"} << "slider"
                                          << "384" << 0;
    QTest::addRow("slider-with-huge-focus-distance") << QStringList{"10", "3e38", "30"} << "slider"
                                                     << "384" << 0;
    QTest::addRow("enter-with-huge-m90-and-aperture")
        << QStringList{"3.4e38", "1", "3.4e38"} << "enter"
        << "300" << 0;
    QTest::addRow("typed-distance") << QStringList{"10", "1", "30"} << "A2Edit"
                                    << "3e38" << 0;
    QTest::addRow("wanted-spot") << QStringList{"10", "3e38", "1"} << "M2Edit"
                                 << "3e38" << 1;
    QTest::addRow("table-row") << QStringList{"10", "1", "30"} << "table"
                               << "3e38" << 0;
}

void TestFaults::resultBeyondFloatRangeShowsNothing()
{
    QFETCH(QStringList, basic);
    QFETCH(QString, how);
    QFETCH(QString, value);
    QFETCH(int, problemBoxes);
    TemporarySettings settings;
    auto form = NewForm(settings);
    ShowResults(*form);
    auto *grid = Child<TResultsGrid>(*form, "Grid");
    auto *slider = Child<QSlider>(*form, "Slider");
    form->ToTableButtonClick();
    if (how == "enter")
        slider->setValue(value.toInt());
    Child<QLineEdit>(*form, "MEdit")->setText(basic.at(0));
    Child<QLineEdit>(*form, "AEdit")->setText(basic.at(1));
    Child<QLineEdit>(*form, "DEdit")->setText(basic.at(2));

    BoxWatcher watcher;
    if (how == "slider") {
        slider->setValue(value.toInt());
    } else if (how == "enter") {
        Enter(Child<QLineEdit>(*form, "DEdit"));
    } else if (how == "table") {
        grid->SetCell(0, 1, value);
        form->CalcButtonClick();
    } else {
        auto *edit = Child<QLineEdit>(*form, how.toLatin1().constData());
        edit->setText(value);
        Enter(edit);
    }

    QCOMPARE(watcher.Boxes.size(), problemBoxes);
    const QStringList shown{Child<QLineEdit>(*form, "M2Edit")->text(),
                            Child<QLineEdit>(*form, "A2Edit")->text(),
                            Child<QLineEdit>(*form, "LineEdit")->text(), grid->Cell(1, 1)};
    for (const QString &text : shown)
        QVERIFY2(!text.contains("INF", Qt::CaseInsensitive) &&
                     !text.contains("NAN", Qt::CaseInsensitive),
                 qPrintable(text));
    if (how == "table") {
        QCOMPARE(grid->Cell(1, 1), QString());
        QCOMPARE(Child<QLineEdit>(*form, "M2Edit")->text(), QString());
    } else {
        for (const QString &text : shown.mid(0, 3))
            QCOMPARE(text, QString());
    }
    form.reset();
    QCOMPARE(watcher.Boxes.size(), problemBoxes);
}

int main(int argc, char *argv[])
{
    // The program's own application object, so that an error escaping a
    // key handler is reported as in the program.
    TApplication application(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
