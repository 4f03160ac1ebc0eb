#include "OpticCalcUnit/ResultsGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QTest>

#include "FormTestSupport.h"
#include "OpticCalcUnit/KeyFilter.h"
#include <QToolTip>

namespace {

// The editor open on the current cell, if any.
TEdit *Editor(const TResultsGrid &grid)
{
    return qobject_cast<TEdit *>(grid.indexWidget(grid.currentIndex()));
}

QStringList Column(const TResultsGrid &grid, int column)
{
    QStringList cells;
    for (int row = 0; row < grid.RowCount(); ++row)
        cells << grid.Cell(column, row);
    return cells;
}

// A shown table with the given distances, the filter installed and every character logged.
struct GridFixture
{
    TResultsGrid Grid;
    QByteArray Seen;
    QString DistanceAtEnter;

    explicit GridFixture(const QStringList &distances)
    {
        Grid.resize(211, 192);
        Grid.InsertRows(1, int(distances.size()));
        for (int row = 1; row <= distances.size(); ++row)
            Grid.SetCell(0, row, distances.at(row - 1));
        Grid.OnKeyPress = [this](char &key) {
            Seen += key;
            if (key == 13)
                DistanceAtEnter = Grid.Cell(0, 1);
            FilterNumberKey(key);
        };
        Grid.show();
    }
};

} // namespace

class TestResultsGrid : public QObject
{
    Q_OBJECT

private slots:
    void headerRowAlone();
    void insertAndRemoveRows();
    void badRangesAreIgnored();
    void onlyDistancesAreEditable();
    void typingIntoDistanceCellIsFiltered();
    void droppedCharacterOpensNoEditor();
    void enterInEditorCommitsBeforeEvent();
    void enterOnTableRaisesEventOnly();
    void hints();
    void hintEventShowsTip();
    void hundredThousandRows();
};

void TestResultsGrid::headerRowAlone()
{
    TResultsGrid grid;
    QCOMPARE(grid.RowCount(), 1);
    QCOMPARE(grid.Cell(0, 0), "");
    QCOMPARE(grid.Cell(1, 0), "");
    grid.SetCell(0, 0, "Abstand a [mm]");
    grid.SetCell(1, 0, "Messfleck M90 [mm]");
    QCOMPARE(grid.Cell(0, 0), "Abstand a [mm]");
    QCOMPARE(grid.horizontalHeaderItem(1)->text(), "Messfleck M90 [mm]");
}

void TestResultsGrid::insertAndRemoveRows()
{
    TResultsGrid grid;
    grid.SetCell(0, 0, "a");
    grid.InsertRows(1, 2);
    grid.SetCell(0, 1, "1");
    grid.SetCell(1, 1, "x");
    grid.SetCell(0, 2, "3");
    grid.InsertRows(2, 1);
    grid.InsertRows(grid.RowCount(), 1);
    QCOMPARE(Column(grid, 0), QStringList({"a", "1", "", "3", ""}));
    QCOMPARE(Column(grid, 1), QStringList({"", "x", "", "", ""}));
    grid.RemoveRows(2, 2);
    QCOMPARE(Column(grid, 0), QStringList({"a", "1", ""}));
    grid.RemoveRows(1, grid.RowCount() - 1);
    QCOMPARE(grid.RowCount(), 1);
    QCOMPARE(grid.Cell(0, 0), "a");
}

void TestResultsGrid::badRangesAreIgnored()
{
    TResultsGrid grid;
    grid.InsertRows(0, 1);
    grid.InsertRows(2, 1);
    grid.RemoveRows(1, 1);
    QCOMPARE(grid.RowCount(), 1);
    grid.InsertRows(1, 2);
    grid.RemoveRows(0, 1);
    QCOMPARE(grid.RowCount(), 3);
    grid.SetCell(0, 3, "beyond");
    QCOMPARE(grid.Cell(0, 3), "");
    grid.RemoveRows(2, 10);
    QCOMPARE(grid.RowCount(), 2);
}

void TestResultsGrid::onlyDistancesAreEditable()
{
    GridFixture fixture({"1", "2"});
    TResultsGrid &grid = fixture.Grid;
    grid.setCurrentCell(0, 1);
    Type(&grid, "5");
    QVERIFY(!Editor(grid));
    QCOMPARE(grid.Cell(1, 1), "");
    grid.setCurrentCell(0, 0);
    QTest::keyClick(&grid, Qt::Key_F2);
    QVERIFY(Editor(grid));
}

void TestResultsGrid::typingIntoDistanceCellIsFiltered()
{
    GridFixture fixture({"1"});
    TResultsGrid &grid = fixture.Grid;
    grid.setCurrentCell(0, 0);
    grid.setFocus();
    Type(&grid, "5");
    TEdit *editor = Editor(grid);
    QVERIFY(editor);
    // The first key replaces the old text as in any table; the rest goes to the editor.
    Type(editor, ",a 5");
    QCOMPARE(editor->text(), "5.5");
    QTest::keyClick(editor, Qt::Key_Backspace);
    Type(editor, "7");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid.Cell(0, 1), "5.7");
    QCOMPARE(fixture.Seen, QByteArray("5,a 5\b7\r"));
}

void TestResultsGrid::droppedCharacterOpensNoEditor()
{
    GridFixture fixture({"1"});
    TResultsGrid &grid = fixture.Grid;
    grid.setCurrentCell(0, 0);
    Type(&grid, "a");
    QVERIFY(!Editor(grid));
    Type(&grid, ",");
    TEdit *editor = Editor(grid);
    QVERIFY(editor);
    QCOMPARE(editor->text(), ".");
    QCOMPARE(fixture.Seen, QByteArray("a,"));
}

void TestResultsGrid::enterInEditorCommitsBeforeEvent()
{
    GridFixture fixture({"1"});
    TResultsGrid &grid = fixture.Grid;
    grid.setCurrentCell(0, 0);
    Type(&grid, "2");
    Type(Editor(grid), "50");
    QTest::keyClick(Editor(grid), Qt::Key_Enter);
    QCOMPARE(fixture.DistanceAtEnter, "250");
    QCOMPARE(fixture.Seen, QByteArray("250\r"));
    QVERIFY(!Editor(grid));
}

void TestResultsGrid::enterOnTableRaisesEventOnly()
{
    GridFixture fixture({"1"});
    TResultsGrid &grid = fixture.Grid;
    grid.setCurrentCell(0, 0);
    QTest::keyClick(&grid, Qt::Key_Return);
    QCOMPARE(fixture.Seen, QByteArray("\r"));
    QVERIFY(!Editor(grid));

    TResultsGrid empty;
    int enters = 0;
    empty.OnKeyPress = [&](char &key) { enters += key == 13; };
    QTest::keyClick(&empty, Qt::Key_Return);
    QCOMPARE(enters, 1);
}

void TestResultsGrid::hints()
{
    GridFixture fixture({"1", "2"});
    TResultsGrid &grid = fixture.Grid;
    grid.SetGeneralHint("general");
    grid.OnGridHint = [](int row, int column, QString &text) {
        text = QString("%1/%2").arg(row).arg(column);
    };
    QHeaderView *header = grid.horizontalHeader();
    QCOMPARE(grid.HeaderHintAt(QPoint(header->sectionViewportPosition(1) + 3, 5)), "0/1");
    QCOMPARE(grid.HintAt(grid.visualRect(grid.model()->index(1, 1)).center()), "2/1");
    QCOMPARE(grid.HintAt(QPoint(5, 2 * TResultsGrid::RowHeight + 10)), "general");
    QCOMPARE(grid.HeaderHintAt(QPoint(header->length() + 5, 5)), "general");
}

void TestResultsGrid::hintEventShowsTip()
{
    GridFixture fixture({"1"});
    TResultsGrid &grid = fixture.Grid;
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.OnGridHint = [](int row, int column, QString &text) {
        text = QString("%1/%2").arg(row).arg(column);
    };
    const auto hintEvent = [](QWidget *widget, QPoint pos) {
        QHelpEvent event(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
        QApplication::sendEvent(widget, &event);
    };
    hintEvent(grid.horizontalHeader()->viewport(), QPoint(5, 5));
    QTRY_COMPARE(QToolTip::text(), "0/0");
    hintEvent(grid.viewport(), grid.visualRect(grid.model()->index(0, 1)).center());
    QTRY_COMPARE(QToolTip::text(), "1/1");
}

void TestResultsGrid::hundredThousandRows()
{
    constexpr int Rows = 100000;
    TResultsGrid grid;
    grid.show();
    grid.InsertRows(1, Rows);
    for (int row = 1; row <= Rows; ++row)
        grid.SetCell(1, row, QString::number(row));
    QCOMPARE(grid.RowCount(), Rows + 1);
    QCOMPARE(grid.Cell(1, Rows), QString::number(Rows));
    grid.RemoveRows(1, Rows);
    QCOMPARE(grid.RowCount(), 1);

    for (int row = 1; row <= Rows; ++row) {
        grid.InsertRows(grid.RowCount(), 1);
        grid.SetCell(0, row, "1.0");
    }
    QCOMPARE(grid.RowCount(), Rows + 1);
    grid.RemoveRows(1, Rows);
    QCOMPARE(grid.RowCount(), 1);
}

QTEST_MAIN(TestResultsGrid)
#include "tst_resultsgrid.moc"
