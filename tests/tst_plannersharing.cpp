// What the planner shares: optics added from a data sheet and the optics
// file read and written (the decision sheet has a test of its own).

#include "FormTestSupport.h"
#include "TestFiles.h"

#include "PlannerUnit/DataSheetDialog.h"
#include "PlannerUnit/PlannerForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

class TestPlannerSharing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dataSheetAddsOptics_data();
    void dataSheetAddsOptics();
    void importGermanSpreadsheet();
    void exportImportRoundTrip();

private:
    // Name | M90 | a | D | colour of every row below row 1, as the table shows them.
    QStringList Rows() const;

    std::unique_ptr<TemporarySettings> FSettings;
    std::unique_ptr<TPlannerForm> FForm;
    QTemporaryDir FDir;
};

void TestPlannerSharing::init()
{
    FSettings = std::make_unique<TemporarySettings>();
    FForm = std::make_unique<TPlannerForm>();
    FForm->ApplyLanguage(QStringLiteral("English"));
    FForm->SetCalculatorOptics({10, 500, 30});
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

void TestPlannerSharing::cleanup()
{
    FForm.reset();
    FSettings.reset();
}

QStringList TestPlannerSharing::Rows() const
{
    const auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
    QStringList rows;
    for (int row = 1; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << table->item(row, column)->text();
        cells << table->item(row, 4)->background().color().name();
        rows << cells.join(u'|');
    }
    return rows;
}

void TestPlannerSharing::dataSheetAddsOptics_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QStringList>("typed"); // a, D:S at the focus, far field
    QTest::addColumn<bool>("add");
    QTest::addColumn<QStringList>("rows");

    QTest::addRow("ratios-added") << 0 << QStringList{"500", "50", "12.5"} << true
                                  << QStringList{"Lens from sheet|10|500|30|#1f77b4"};
    QTest::addRow("inch-shows-inch") << 1 << QStringList{"10", "50", "12.5"} << true
                                     << QStringList{"Lens from sheet|0.2|10|0.6|#1f77b4"};
    QTest::addRow("cancelled-adds-nothing")
        << 0 << QStringList{"500", "50", "12.5"} << false << QStringList{};
    QTest::addRow("no-optics-adds-nothing")
        << 0 << QStringList{"500", "50", "60"} << true << QStringList{};
}

void TestPlannerSharing::dataSheetAddsOptics()
{
    QFETCH(int, unit);
    QFETCH(QStringList, typed);
    QFETCH(bool, add);
    QFETCH(QStringList, rows);

    Child<QComboBox>(*FForm, "UnitCombo")->setCurrentIndex(unit);
    FForm->RunDataSheet = [&](TDataSheetDialog &dialog) {
        const char *edits[] = {"FocusEdit", "RatioFocusEdit", "RatioFarEdit"};
        for (int i = 0; i < 3; ++i)
            Type(dialog.findChild<QLineEdit *>(QLatin1String(edits[i])), typed[i]);
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("NameEdit"));
        name->selectAll();
        Type(name, QStringLiteral("Lens from sheet"));
        if (!add)
            return false;
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("AddButton")),
                          Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    Child<QPushButton>(*FForm, "DataSheetButton")->click();
    QCOMPARE(Rows(), rows);
}

void TestPlannerSharing::importGermanSpreadsheet()
{
    const QString path = FDir.filePath(QStringLiteral("optiken.csv"));
    QVERIFY(WriteBytes(path, "Name;M90 [mm];a [mm];D [mm];Farbe\r\n"
                             "K\xFChler;1,5;110;10;#1F77B4\r\n"
                             "Ofen;12,5;;30;#FF7F0E\r\n"
                             "Walze;5;300;20;\r\n"));
    QString message;
    FForm->AskOpenPath = [&](const QString &) { return std::optional<QString>(path); };
    FForm->ShowMessage = [&](const QString &text) { message = text; };
    Child<QPushButton>(*FForm, "ImportButton")->click();
    QCOMPARE(Rows(), (QStringList{QStringLiteral("Kühler|1.5|110|10|#1f77b4"),
                                  QStringLiteral("Walze|5|300|20|#2ca02c")}));
    QCOMPARE(message,
             QStringLiteral("Not imported:\nLine 3: a: enter a value\n\nDecimal mark: comma (,)."));
}

void TestPlannerSharing::exportImportRoundTrip()
{
    const QString path = FDir.filePath(QStringLiteral("optics.csv"));
    QVERIFY(WriteBytes(path, "Name;M90 [inch];a [inch];D [inch]\r\nA;0.1;20;1.5\r\nB;1;2;3\r\n"));
    FForm->AskOpenPath = [&](const QString &) { return std::optional<QString>(path); };
    FForm->AskSavePath = [&](const QString &, const QString &) {
        return std::optional<QString>(path);
    };
    QString message;
    FForm->ShowMessage = [&](const QString &text) { message = text; };
    Child<QPushButton>(*FForm, "ImportButton")->click();
    const QStringList imported = Rows();
    QCOMPARE(imported.size(), 2);

    Child<QPushButton>(*FForm, "ExportOpticsButton")->click();
    auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
    for (int row : {2, 1}) {
        table->setCurrentCell(row, 0);
        Child<QPushButton>(*FForm, "RemoveButton")->click();
    }
    QVERIFY(Rows().isEmpty());
    message.clear();
    Child<QPushButton>(*FForm, "ImportButton")->click();
    QCOMPARE(Rows(), imported);
    // Every row taken: the message only names the mark of the locale's export.
    QVERIFY2(message.startsWith(QStringLiteral("Decimal mark: ")) && !message.contains(u'\n'),
             qPrintable(message));

    // Seven rows fill the list; a second import says what did not fit.
    for (int n = 0; n < 3; ++n)
        Child<QPushButton>(*FForm, "ImportButton")->click();
    QCOMPARE(Rows().size(), 7);
    QVERIFY2(message.startsWith(QStringLiteral(
                 "1 optics did not fit into the list (at most 8).\n\nDecimal mark: ")),
             qPrintable(message));
}

QTEST_MAIN(TestPlannerSharing)
#include "tst_plannersharing.moc"
