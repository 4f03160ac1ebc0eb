// The planner's optics file: the bytes written, what is read from a
// spreadsheet's file, and the way back.

#include "PlannerUnit/OpticsFile.h"

#include <QTest>

Q_DECLARE_METATYPE(std::vector<OpticsFileRow>)
Q_DECLARE_METATYPE(LengthUnit)

namespace {

OpticsFileRow Row(const char *name, float m90, float a, float d, std::optional<QRgb> colour)
{
    return {QString::fromUtf8(name), {m90, a, d}, colour};
}

// Name, the three data and the colour, one line each.
QString Describe(const std::vector<OpticsFileRow> &rows)
{
    QStringList lines;
    for (const OpticsFileRow &row : rows) {
        QStringList cells{row.Name};
        for (const std::optional<float> &value : row.Data)
            cells << (value ? QString::number(double(*value), 'g', 9) : QStringLiteral("-"));
        cells << (row.Colour ? QString::number(*row.Colour, 16) : QStringLiteral("-"));
        lines << cells.join(u'|');
    }
    return lines.join(u'\n');
}

} // namespace

class TestOpticsFile : public QObject
{
    Q_OBJECT

private slots:
    void writtenBytes_data();
    void writtenBytes();
    void readFromSpreadsheets_data();
    void readFromSpreadsheets();
    void roundTrip_data();
    void roundTrip();
};

void TestOpticsFile::writtenBytes_data()
{
    QTest::addColumn<std::vector<OpticsFileRow>>("rows");
    QTest::addColumn<LengthUnit>("unit");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray header = "Name;M90 [mm];a [mm];D [mm];Colour\r\n";
    QTest::addRow("empty-list-is-the-header")
        << std::vector<OpticsFileRow>{} << LengthUnit::Millimetre << '.' << header;
    QTest::addRow("decimal-comma-and-colour")
        << std::vector<OpticsFileRow>{Row("Lens 1.5", 1.5f, 110, 10, 0x1f77b4)}
        << LengthUnit::Millimetre << ',' << header + "Lens 1.5;1,5;110;10;#1F77B4\r\n";
    QTest::addRow("short-forms-of-floats")
        << std::vector<OpticsFileRow>{Row("x", 0.1f, 333.3f, 12.25f, 0xd62728)}
        << LengthUnit::Millimetre << '.' << header + "x;0.1;333.3;12.25;#D62728\r\n";
    QTest::addRow("inch-in-header-and-numbers")
        << std::vector<OpticsFileRow>{Row("I", 25.4f, 508, 12.7f, 0x00ff00)} << LengthUnit::Inch
        << '.' << QByteArray("Name;M90 [inch];a [inch];D [inch];Colour\r\nI;1;20;0.5;#00FF00\r\n");
    QTest::addRow("name-quoted-and-cp1252")
        << std::vector<OpticsFileRow>{Row("Öl; \"Typ\" 2", 2, 300, 20, 0)} << LengthUnit::Millimetre
        << '.' << header + "\"\xD6l; \"\"Typ\"\" 2\";2;300;20;#000000\r\n";
    QTest::addRow("invalid-values-left-empty")
        << std::vector<OpticsFileRow>{{QStringLiteral("half"), {5.0f, std::nullopt, 20.0f}, {}}}
        << LengthUnit::Millimetre << '.' << header + "half;5;\"\";20;\"\"\r\n";
}

void TestOpticsFile::writtenBytes()
{
    QFETCH(std::vector<OpticsFileRow>, rows);
    QFETCH(LengthUnit, unit);
    QFETCH(char, separator);
    QFETCH(QByteArray, expected);

    QCOMPARE(OpticsCsv(rows, unit, TPlannerTexts(QStringLiteral("English")), separator), expected);
}

void TestOpticsFile::readFromSpreadsheets_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("room");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("message");

    // A German spreadsheet's "CSV (semicolon)": Windows-1252, decimal comma,
    // a row without D and a blank row at the end.
    QTest::addRow("german-export-with-one-bad-row")
        << QByteArray("Name;M90 [mm];a [mm];D [mm];Farbe\r\n"
                      "K\xFChler;1,5;110;10;#1F77B4\r\n"
                      "Ofen;12,5;1000;;#FF7F0E\r\n"
                      "Walze;5;300;20;\r\n"
                      ";;;;\r\n")
        << 7 << QStringLiteral("Kühler|1.5|110|10|1f77b4\nWalze|5|300|20|-")
        << QStringLiteral("Not imported:\nLine 3: D: enter a value\n\nDecimal mark: comma (,).");
    QTest::addRow("utf8-bom-commas-quoted-decimal-comma")
        << QByteArray("\xEF\xBB\xBFName,M90 (mm),a (mm),D (mm),Colour\n"
                      "\"Glas, kurz\",\"2,5\",200.5,30,#00aa00\n"
                      "Kühler,1.5,110,10,#1F77B4\n")
        << 7 << QStringLiteral("Glas, kurz|2.5|200.5|30|aa00\nKühler|1.5|110|10|1f77b4")
        << QString();
    QTest::addRow("tabs-inch-no-colour-cell")
        << QByteArray("Name\tM90 [inch]\ta [inch]\tD [inch]\nI\t1\t20\t0.5\n") << 7
        << QStringLiteral("I|25.3999996|508|12.6999998|-")
        << QStringLiteral("Decimal mark: point (.).");
    QTest::addRow("mixed-units-per-column")
        << QByteArray("Name;M90 [mm];a [inches];D [mm]\r\nM;2;10;20\r\n") << 7
        << QStringLiteral("M|2|254|20|-") << QString();
    QTest::addRow("quoted-line-break-keeps-line-numbers")
        << QByteArray("Name;M90 [mm];a [mm];D [mm]\r\n\"two\r\nlines\";1;100;10\r\nbad;x;0;-3\r\n")
        << 7 << QStringLiteral("two\nlines|1|100|10|-")
        << QStringLiteral("Not imported:\nLine 4: M90: no number; a: must be greater than 0; "
                          "D: must be greater than 0");
    QTest::addRow("planner-length-rules")
        << QByteArray("Name;M90 [mm];a [mm];D [mm]\nfar;1;2000000;10\nspaced;\xA0"
                      "2,5 ;100;10\n")
        << 7 << QStringLiteral("spaced|2.5|100|10|-")
        << QStringLiteral("Not imported:\nLine 2: a: outside 0.001 to 1000000 mm\n\n"
                          "Decimal mark: comma (,).");
    QTest::addRow("every-reason") << QByteArray("Name;M90 [mm];a [mm];D [mm];Colour\n"
                                                "short;1;2\n"
                                                ";1;100;10\n"
                                                "red;1;100;10;red\n")
                                  << 7 << QString()
                                  << QStringLiteral(
                                         "Not imported:\nLine 2: too few cells\nLine 3: no name\n"
                                         "Line 4: no colour #RRGGBB");
    QTest::addRow("comma-settled-by-another-cell-point-groups")
        << QByteArray("Name;M90 [mm];a [mm];D [mm]\nA;12,5;1.250;10\nB;1,000;2.000;30\n") << 7
        << QStringLiteral("A|12.5|1250|10|-\nB|1|2000|30|-")
        << QStringLiteral("Decimal mark: comma (,).");
    QTest::addRow("units-in-cells")
        << QByteArray("Name;M90 [mm];a [inch];D [mm]\nA;0.5 cm;610 mm;1 in\n") << 7
        << QStringLiteral("A|5|610|25.3999996|-") << QStringLiteral("Decimal mark: point (.).");
    QTest::addRow("unsettled-ambiguous-row-refused")
        << QByteArray("Name;M90 [mm];a [mm];D [mm]\nA;2;1,000;10\nB;1;500;20\n") << 7
        << QStringLiteral("B|1|500|20|-")
        << QStringLiteral("Not imported:\nLine 2: a: 1,000: 1.0 or 1000? Write 1.0 or 1000");
    QTest::addRow("disagreeing-cells-name-no-mark")
        << QByteArray("Name;M90 [mm];a [mm];D [mm]\nA;1,5;100;2.5\n") << 7
        << QStringLiteral("A|1.5|100|2.5|-") << QString();
    QTest::addRow("more-than-room")
        << QByteArray("Name;M90 [mm];a [mm];D [mm]\nA;1;100;10\nB;2;100;10\nC;3;100;10\n"
                      "bad;;;\n")
        << 1 << QStringLiteral("A|1|100|10|-")
        << QStringLiteral("Not imported:\nLine 5: M90: enter a value; a: enter a value; D: enter "
                          "a value\n\n2 optics did not fit into the list (at most 8).");
    QTest::addRow("no-room-at-all")
        << QByteArray("Name;M90 [mm];a [mm];D [mm]\nA;1;100;10\n") << 0 << QString()
        << QStringLiteral("1 optics did not fit into the list (at most 8).");
    QTest::addRow("header-without-unit-is-refused")
        << QByteArray("Name;M90;a;D\nA;1;100;10\n") << 7 << QString()
        << QStringLiteral("The header names neither mm nor inch for M90, a and D.");
    QTest::addRow("header-naming-both-units-is-refused")
        << QByteArray("Name;M90 [mm/inch];a [mm];D [mm]\nA;1;100;10\n") << 7 << QString()
        << QStringLiteral("The header names neither mm nor inch for M90, a and D.");
    QTest::addRow("empty-file") << QByteArray() << 7 << QString()
                                << QStringLiteral("The file holds no optics.");
    QTest::addRow("header-only") << QByteArray("Name;M90 [mm];a [mm];D [mm]\r\n") << 7 << QString()
                                 << QStringLiteral("The file holds no optics.");
}

void TestOpticsFile::readFromSpreadsheets()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, room);
    QFETCH(QString, rows);
    QFETCH(QString, message);

    const TPlannerTexts texts(QStringLiteral("English"));
    const OpticsImport import = ReadOpticsCsv(bytes, room, texts);
    QCOMPARE(Describe(import.Rows), rows);
    QCOMPARE(ImportMessage(import, texts), message);
}

void TestOpticsFile::roundTrip_data()
{
    QTest::addColumn<LengthUnit>("unit");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QString>("message");

    QTest::addRow("mm-decimal-comma")
        << LengthUnit::Millimetre << ',' << QStringLiteral("Dezimaltrennzeichen: Komma (,).");
    QTest::addRow("mm-decimal-point")
        << LengthUnit::Millimetre << '.' << QStringLiteral("Dezimaltrennzeichen: Punkt (.).");
    QTest::addRow("inch-decimal-comma")
        << LengthUnit::Inch << ',' << QStringLiteral("Dezimaltrennzeichen: Komma (,).");
}

void TestOpticsFile::roundTrip()
{
    QFETCH(LengthUnit, unit);
    QFETCH(char, separator);
    QFETCH(QString, message);

    const std::vector<OpticsFileRow> rows{Row("Kühler", 1.5f, 110, 10, 0x1f77b4),
                                          Row("odd", 0.1f, 333.3f, 7.77777f, 0xd62728),
                                          Row("q\"uote;d", 40, 500, 20, 0x17becf)};
    const TPlannerTexts texts(QStringLiteral("Deutsch"));
    const OpticsImport import =
        ReadOpticsCsv(OpticsCsv(rows, unit, texts, separator), MaxPlannerOptics - 1, texts);
    QCOMPARE(ImportMessage(import, texts), message);
    QCOMPARE(Describe(import.Rows), Describe(rows));
}

QTEST_GUILESS_MAIN(TestOpticsFile)
#include "tst_opticsfile.moc"
