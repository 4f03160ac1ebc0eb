// The calculator window's texts from the language file, the language menu
// and the per-user settings read at start and written at exit.

#include "FormTestSupport.h"
#include "TestFiles.h"

#include "OpticCalcUnit/Controls.h"
#include "OpticCalcUnit/ResultsGrid.h"
#include "Settingfiles/IniFile.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace {

QString LangText(const QString &section, const char *key)
{
    const TIniFile file(QCoreApplication::applicationDirPath() + QStringLiteral("/Lang.ini"));
    return file.ReadString(section, QString::fromUtf8(key), QString());
}

QAction *LanguageItem(TOpticCalcForm &form, const QString &caption)
{
    for (QAction *item : form.menuBar()->actions().at(0)->menu()->actions()) {
        if (item->text() == caption)
            return item;
    }
    qFatal("no language item");
}

QString ButtonText(TOpticCalcForm &form, const char *name)
{
    // A long caption may be broken onto two lines.
    return Child<QPushButton>(form, name)->text().replace(u'\n', u' ');
}

QString CheckedLanguage(TOpticCalcForm &form)
{
    QString checked;
    for (QAction *item : form.menuBar()->actions().at(0)->menu()->actions()) {
        if (item->isChecked())
            checked += item->text();
    }
    return checked;
}

} // namespace

class TestWindowLanguage : public QObject
{
    Q_OBJECT

private slots:
    void everyTextFromTheLanguageFile_data();
    void everyTextFromTheLanguageFile();
    void ampersandsAreRemovedFromTheLanguageName();
    void missingSectionShowsOnlyFixedAdditions();
    void tableLayoutFollowsHeadersAndIsRestored();
    void captionMarkupCannotBeInjected();
    void qtDialogsFollowTheLanguageMenu_data();
    void qtDialogsFollowTheLanguageMenu();

    void startLanguage_data();
    void startLanguage();
    void firstStartCreatesFoldersButNoFile();
    void exitWritesFourKeysInOrderAndRestartRestores();
    void handEditedSettingsAreFound();
};

void TestWindowLanguage::everyTextFromTheLanguageFile_data()
{
    QTest::addColumn<QString>("language");
    QTest::addRow("deutsch") << "Deutsch";
    QTest::addRow("english") << "English";
}

void TestWindowLanguage::everyTextFromTheLanguageFile()
{
    QFETCH(QString, language);
    TemporarySettings settings;
    TOpticCalcForm form;
    LanguageItem(form, language)->trigger();
    const auto text = [&](const char *key) { return LangText(language, key); };
    QVERIFY(!text("MessFeld").isEmpty());

    QCOMPARE(form.Language(), language);
    QCOMPARE(CheckedLanguage(form), language);
    QCOMPARE(Child<QLabel>(form, "Label3")->text(), text("MessFeld") + " M90");
    QCOMPARE(Child<QLabel>(form, "Label6")->text(), text("MessFeld") + " M90");
    for (const char *name : {"Label2", "Label5", "Label8"})
        QCOMPARE(Child<QLabel>(form, name)->text(), text("MessAbstand"));
    // The slider's caption keeps its left edge and fits its text.
    auto *sliderCaption = Child<QLabel>(form, "Label8");
    QCOMPARE(sliderCaption->x(), 210);
    QCOMPARE(sliderCaption->width(),
             sliderCaption->fontMetrics().horizontalAdvance(text("MessAbstand")));
    QCOMPARE(Child<QLabel>(form, "Label1")->text(), text("Apertur") + " D");
    QCOMPARE(form.PrintHeading(), text("OptischeBasisDaten") + " " + text("Pyrometer"));
    QCOMPARE(Child<TCaptionPanel>(form, "BasicDataPanel")->Caption(),
             "<B>" + text("EingabeOptischeBasisdaten") + "</B>");
    QCOMPARE(form.CalcValuesHeading(), text("BerechneteWerte"));
    QCOMPARE(Child<TCaptionPanel>(form, "CalcValuesPanel")->Caption(),
             "<B>" + text("BerechneteWerte") + "</B>");
    QCOMPARE(Child<TCaptionPanel>(form, "CalcTablePanel")->Caption(),
             "<B>" + text("BerechnungMessfelder") + "</B>");
    QCOMPARE(ButtonText(form, "PrintButton"), text("Drucken"));
    QCOMPARE(ButtonText(form, "ExportButton"), text("Export"));
    QCOMPARE(ButtonText(form, "NewRowButton"), text("NeueZeile"));
    QCOMPARE(ButtonText(form, "GridClearButton"), text("TabelleLöschen"));
    QCOMPARE(ButtonText(form, "ToTableButton"), text("ZuTabelleHinzufügen"));
    QCOMPARE(ButtonText(form, "CalcButton"), text("Berechnen"));
    auto *grid = Child<TResultsGrid>(form, "Grid");
    QCOMPARE(grid->GeneralHint(), text("TabelleHint"));
    QCOMPARE(form.windowTitle(), text("OptischerRechner") + " Spot");
    QCOMPARE(grid->Cell(0, 0), text("MessAbstand") + " a [mm]");
    QCOMPARE(grid->Cell(1, 0), text("MessFeld") + " M90 [mm]");
    QCOMPARE(form.HintDistance(), text("EingabeMessabstand"));
    QCOMPARE(form.HintSpot(), text("BerechnetesMessfeld"));
    QCOMPARE(form.InvalidValueText(), text("UngültigerWert"));

    // The fixed texts never change.
    QCOMPARE(Child<QLabel>(form, "Label10")->text(), QStringLiteral("mm"));
    QCOMPARE(Child<QLabel>(form, "MEditLabel")->text(), QStringLiteral("Ø="));
    QCOMPARE(form.menuBar()->actions().at(0)->text(), QStringLiteral("Sprache/Language"));
}

void TestWindowLanguage::ampersandsAreRemovedFromTheLanguageName()
{
    TemporarySettings settings;
    TOpticCalcForm form;
    form.ApplyLanguage(QStringLiteral("&Eng&lish"));
    QCOMPARE(form.Language(), QStringLiteral("English"));
    QCOMPARE(form.windowTitle(), LangText("English", "OptischerRechner") + " Spot");
}

void TestWindowLanguage::missingSectionShowsOnlyFixedAdditions()
{
    TemporarySettings settings;
    TOpticCalcForm form;
    form.ApplyLanguage(QStringLiteral("Klingonisch"));
    QCOMPARE(form.Language(), QStringLiteral("Klingonisch"));
    QCOMPARE(form.windowTitle(), QStringLiteral(" Spot"));
    QCOMPARE(Child<QLabel>(form, "Label3")->text(), QStringLiteral(" M90"));
    QCOMPARE(Child<QLabel>(form, "Label1")->text(), QStringLiteral(" D"));
    QVERIFY(Child<QLabel>(form, "Label2")->text().isEmpty());
    QVERIFY(Child<QPushButton>(form, "CalcButton")->text().isEmpty());
    QCOMPARE(Child<TCaptionPanel>(form, "BasicDataPanel")->Caption(), QStringLiteral("<B></B>"));
    auto *grid = Child<TResultsGrid>(form, "Grid");
    QCOMPARE(grid->Cell(0, 0), QStringLiteral(" a [mm]"));
    QCOMPARE(grid->Cell(1, 0), QStringLiteral(" M90 [mm]"));
    QCOMPARE(form.PrintHeading(), QStringLiteral(" "));
    QVERIFY(form.InvalidValueText().isEmpty());
    QVERIFY(form.HintDistance().isEmpty());
}

void TestWindowLanguage::tableLayoutFollowsHeadersAndIsRestored()
{
    TemporarySettings settings;
    TOpticCalcForm form;
    auto *grid = Child<TResultsGrid>(form, "Grid");
    auto *panel = Child<QWidget>(form, "CalcTablePanel");
    const auto snapshot = [&] {
        QList<QRect> rects{grid->geometry(), panel->geometry()};
        for (const char *name :
             {"PrintButton", "ExportButton", "NewRowButton", "GridClearButton", "CalcButton"})
            rects.append(Child<QWidget>(form, name)->geometry());
        return rects;
    };

    form.ApplyLanguage(QStringLiteral("English"));
    const QList<QRect> english = snapshot();
    QCOMPARE(grid->width(), grid->columnWidth(0) + grid->columnWidth(1) + 21);
    QFont bold = grid->horizontalHeader()->font();
    bold.setBold(true);
    QCOMPARE(grid->columnWidth(0), QFontMetrics(bold).horizontalAdvance(grid->Cell(0, 0)) + 10);
    QCOMPARE(english.at(2).x(), grid->x() + grid->width() + 20);
    for (int i = 3; i < english.size(); ++i)
        QCOMPARE(english.at(i).x(), english.at(2).x());
    QCOMPARE(panel->width(), english.at(2).x() + 100 + 20);

    // A language without texts has the shortest headers: a narrower table.
    form.ApplyLanguage(QStringLiteral("Klingonisch"));
    QVERIFY(grid->width() < english.at(0).width());
    QVERIFY(snapshot().at(2).x() < english.at(2).x());
    QCOMPARE(grid->height(), english.at(0).height());

    form.ApplyLanguage(QStringLiteral("Deutsch"));
    form.ApplyLanguage(QStringLiteral("English"));
    QCOMPARE(snapshot(), english);
}

void TestWindowLanguage::captionMarkupCannotBeInjected()
{
    // Only <B> and <P align> are understood; anything else shows as written.
    const CaptionMarkup markup =
        ParseCaptionMarkup(QStringLiteral("<B>a<img src=x> & <i>b</i></B>"));
    QCOMPARE(markup.Text, QStringLiteral("a<img src=x> & <i>b</i>"));
    QVERIFY(markup.Bold);
}

void TestWindowLanguage::qtDialogsFollowTheLanguageMenu_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("cancel");
    const QString deutsch = QStringLiteral("Deutsch");
    const QString english = QStringLiteral("English");
    QTest::addRow("deutsch-loads-qt-german") << english << deutsch << QStringLiteral("Abbrechen");
    QTest::addRow("english-removes-it-again") << deutsch << english << QStringLiteral("Cancel");
}

void TestWindowLanguage::qtDialogsFollowTheLanguageMenu()
{
    QFETCH(QString, first);
    QFETCH(QString, then);
    QFETCH(QString, cancel);
    TemporarySettings settings;
    TOpticCalcForm form;
    LanguageItem(form, first)->trigger();
    LanguageItem(form, then)->trigger();
    // A save dialog such as the export opens, built after the switch.
    QFileDialog dialog(&form);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto *buttons = dialog.findChild<QDialogButtonBox *>();
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), cancel);
}

void TestWindowLanguage::startLanguage_data()
{
    QTest::addColumn<QByteArray>("userIni");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("checked");
    const QString fromLocale = QLocale::system().language() == QLocale::German
                                   ? QStringLiteral("Deutsch")
                                   : QStringLiteral("English");
    QTest::addRow("no-settings-follow-locale") << QByteArray() << fromLocale << fromLocale;
    QTest::addRow("stored-deutsch-wins")
        << QByteArray("[OpticCalc]\r\nSprache=Deutsch\r\n") << "Deutsch"
        << "Deutsch";
    QTest::addRow("stored-english-wins")
        << QByteArray("[OpticCalc]\r\nSprache=English\r\n") << "English"
        << "English";
    QTest::addRow("unknown-name-checks-nothing")
        << QByteArray("[OpticCalc]\r\nSprache=Klingonisch\r\n") << "Klingonisch"
        << "";
    QTest::addRow("empty-name-checks-nothing") << QByteArray("[OpticCalc]\r\nSprache=\r\n") << ""
                                               << "";
    QTest::addRow("case-differs-checks-nothing")
        << QByteArray("[OpticCalc]\r\nSprache=english\r\n") << "english"
        << "";
}

void TestWindowLanguage::startLanguage()
{
    QFETCH(QByteArray, userIni);
    QFETCH(QString, language);
    QFETCH(QString, checked);
    TemporarySettings settings;
    if (!userIni.isEmpty())
        QVERIFY(WriteBytes(settings.UserIni(), userIni));
    {
        TOpticCalcForm form;
        QCOMPARE(form.Language(), language);
        QCOMPARE(CheckedLanguage(form), checked);
    }
    // The same name is stored again at exit.
    QVERIFY(ReadBytes(settings.UserIni()).contains("Sprache=" + language.toLatin1() + "\r\n"));
}

void TestWindowLanguage::firstStartCreatesFoldersButNoFile()
{
    TemporarySettings settings;
    auto form = std::make_unique<TOpticCalcForm>();
    QVERIFY(QFileInfo(settings.Path() + "/TAVREL/Lunavue").isDir());
    QVERIFY(!QFileInfo::exists(settings.UserIni()));
    QVERIFY(Child<QLineEdit>(*form, "MEdit")->text().isEmpty());
}

void TestWindowLanguage::exitWritesFourKeysInOrderAndRestartRestores()
{
    TemporarySettings settings;
    {
        TOpticCalcForm form;
        LanguageItem(form, QStringLiteral("Deutsch"))->trigger();
        Child<QLineEdit>(form, "MEdit")->setText(QStringLiteral("10"));
        Child<QLineEdit>(form, "AEdit")->setText(QStringLiteral("500"));
        // An empty edit is stored as an empty value.
    }
    QCOMPARE(ReadBytes(settings.UserIni()),
             QByteArray("[OpticCalc]\r\nSprache=Deutsch\r\nBasicM90=10\r\nBasicA=500\r\n"
                        "BasicApertur=\r\n"));

    TOpticCalcForm again;
    QCOMPARE(again.Language(), QStringLiteral("Deutsch"));
    QCOMPARE(CheckedLanguage(again), QStringLiteral("Deutsch"));
    QCOMPARE(Child<QLineEdit>(again, "MEdit")->text(), QStringLiteral("10"));
    QCOMPARE(Child<QLineEdit>(again, "AEdit")->text(), QStringLiteral("500"));
    QVERIFY(Child<QLineEdit>(again, "DEdit")->text().isEmpty());
}

void TestWindowLanguage::handEditedSettingsAreFound()
{
    TemporarySettings settings;
    QVERIFY(WriteBytes(settings.UserIni(), "; mine\r\n[opticcalc]\r\nsprache = \"English\"\r\n"
                                           "BASICM90 =  '12.5' \r\nOther=keep\r\n"));
    {
        TOpticCalcForm form;
        QCOMPARE(form.Language(), QStringLiteral("English"));
        QCOMPARE(Child<QLineEdit>(form, "MEdit")->text(), QStringLiteral("12.5"));
        Child<QLineEdit>(form, "MEdit")->setText(QStringLiteral("7"));
    }
    // Values are replaced where they stand; no second key, other lines kept.
    QCOMPARE(ReadBytes(settings.UserIni()),
             QByteArray("; mine\r\n[opticcalc]\r\nsprache = English\r\nBASICM90 =  7\r\n"
                        "Other=keep\r\nBasicA=\r\nBasicApertur=\r\n"));
}

QTEST_MAIN(TestWindowLanguage)
#include "tst_windowlanguage.moc"
