#include "Fileinfo/FileInfo.h"
#include "Fileinfo/VersionBlock.h"
#include "shared/Cp1252.h"

#include <QRegularExpression>
#include <QTest>

#include <array>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using Block = QHash<QString, QByteArray>;
using Texts = QHash<QString, QString>;

namespace {

const QString Translation = QStringLiteral("\\VarFileInfo\\Translation");

QString Key(const char *table, const char *key)
{
    return QStringLiteral("\\StringFileInfo\\%1\\%2").arg(QLatin1String(table), QLatin1String(key));
}

// Each version key with the accessor of its field, in the block's order.
const std::array<std::pair<const char *, QString (TFileInfo::*)() const>, 11> Fields = {{
    {"CompanyName", &TFileInfo::GetCompanyName},
    {"FileDescription", &TFileInfo::GetFileDescription},
    {"FileVersion", &TFileInfo::GetFileVersion},
    {"InternalName", &TFileInfo::GetInternalName},
    {"LegalCopyright", &TFileInfo::GetLegalCopyright},
    {"OriginalFilename", &TFileInfo::GetOriginalFilename},
    {"ProductName", &TFileInfo::GetProductName},
    {"ProductVersion", &TFileInfo::GetProductVersion},
    {"LastCompiledTime", &TFileInfo::GetLastCompiledTime},
    {"LegalTrademarks", &TFileInfo::GetLegalTrademarks},
    {"ItemNumber", &TFileInfo::GetItemNumber},
}};

// Keys missing from `expected` must read as empty.
void CompareTexts(const TFileInfo &info, const Texts &expected)
{
    for (const auto &[key, getter] : Fields)
        QCOMPARE((info.*getter)(), expected.value(QLatin1String(key)));
}

} // namespace

class TestFileInfo : public QObject
{
    Q_OBJECT

private slots:
    void lookUp_data();
    void lookUp();
    void noBlockLeavesAllEmpty();
    void programBlock();
    void programBlockValues_data();
    void programBlockValues();
};

void TestFileInfo::lookUp_data()
{
    QTest::addColumn<Block>("block");
    QTest::addColumn<Texts>("expected");

    const QByteArray german("\x07\x04\xE4\x04", 4);
    const QByteArray english("\x09\x04\xB0\x04", 4);

    QTest::addRow("0407-04E4-reads-table-040704E4")
        << Block{{Translation, german},
                 {Key("040704E4", "FileVersion"), QByteArray("1.1.1.0\0", 8)},
                 {Key("040904B0", "CompanyName"), QByteArray("other table\0", 12)}}
        << Texts{{"FileVersion", "1.1.1.0"}};
    QTest::addRow("0409-04B0-reads-table-040904B0")
        << Block{{Translation, english},
                 {Key("040904B0", "CompanyName"), QByteArray("Maker\0", 6)},
                 {Key("040704E4", "FileVersion"), QByteArray("other table\0", 12)}}
        << Texts{{"CompanyName", "Maker"}};
    QTest::addRow("hex-digits-upper-case-with-leading-zeros")
        << Block{{Translation, QByteArray("\x0A\x00\xFF\x00", 4)},
                 {Key("000a00ff", "FileVersion"), QByteArray("lower\0", 6)},
                 {Key("AFF", "FileVersion"), QByteArray("unpadded\0", 9)},
                 {Key("000A00FF", "ProductVersion"), QByteArray("2.0\0", 4)}}
        << Texts{{"ProductVersion", "2.0"}};
    QTest::addRow("only-first-translation-counts")
        << Block{{Translation, english + german},
                 {Key("040904B0", "FileVersion"), QByteArray("first\0", 6)},
                 {Key("040704E4", "FileVersion"), QByteArray("second\0", 7)}}
        << Texts{{"FileVersion", "first"}};
    QTest::addRow("partial-second-pair-ignored")
        << Block{{Translation, english + "\x07\x04"},
                 {Key("040904B0", "FileVersion"), QByteArray("first\0", 6)}}
        << Texts{{"FileVersion", "first"}};

    Block all{{Translation, german}};
    Texts allTexts;
    for (const auto &field : Fields) {
        const QString value = QStringLiteral("value of ") + QLatin1String(field.first);
        all.insert(Key("040704E4", field.first), value.toLatin1() + '\0');
        allTexts.insert(QLatin1String(field.first), value);
    }
    QTest::addRow("each-key-fills-its-own-field") << all << allTexts;

    QTest::addRow("empty-value-gives-empty-text-others-kept")
        << Block{{Translation, german},
                 {Key("040704E4", "InternalName"), QByteArray("\0", 1)},
                 {Key("040704E4", "FileVersion"), QByteArray("1.1.1.0\0", 8)}}
        << Texts{{"FileVersion", "1.1.1.0"}};
    QTest::addRow("missing-key-gives-empty-text-others-kept")
        << Block{{Translation, german},
                 {Key("040704E4", "CompanyName"), QByteArray("Maker\0", 6)},
                 {Key("040704E4", "LastCompiledTime"), QByteArray("2018-12-14\0", 11)}}
        << Texts{{"CompanyName", "Maker"}, {"LastCompiledTime", "2018-12-14"}};
    QTest::addRow("text-ends-at-first-zero-byte")
        << Block{{Translation, german},
                 {Key("040704E4", "FileVersion"), QByteArray("1.1.1.0\0junk\0", 13)}}
        << Texts{{"FileVersion", "1.1.1.0"}};
    QTest::addRow("value-without-zero-ends-at-its-length")
        << Block{{Translation, german}, {Key("040704E4", "FileVersion"), QByteArray("1.1")}}
        << Texts{{"FileVersion", "1.1"}};
    QTest::addRow("bytes-are-windows-1252")
        << Block{{Translation, german},
                 {Key("040704E4", "LegalCopyright"), QByteArray("\xA9 2018 \x80\x96\0", 11)}}
        << Texts{{"LegalCopyright", QString::fromUtf8("© 2018 €–")}};
    QTest::addRow("no-translation-leaves-all-empty")
        << Block{{Key("040704E4", "FileVersion"), QByteArray("1.1.1.0\0", 8)}} << Texts{};
    QTest::addRow("translation-shorter-than-a-pair-leaves-all-empty")
        << Block{{Translation, QByteArray("\x07\x04\xE4", 3)},
                 {Key("040704E4", "FileVersion"), QByteArray("1.1.1.0\0", 8)}}
        << Texts{};
}

void TestFileInfo::lookUp()
{
    QFETCH(Block, block);
    QFETCH(Texts, expected);

    const TVersionTable versionData(block);
    CompareTexts(TFileInfo(&versionData), expected);
}

void TestFileInfo::noBlockLeavesAllEmpty()
{
    CompareTexts(TFileInfo(nullptr), {});
}

void TestFileInfo::programBlock()
{
    QCOMPARE(FileInfo.GetFileVersion(), QStringLiteral("1.1.1.0"));
    QCOMPARE(FileInfo.GetProductVersion(), QStringLiteral("1.0.0.0"));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"))
                .match(FileInfo.GetLastCompiledTime())
                .hasMatch());
    QVERIFY(!FileInfo.GetCompanyName().isEmpty());
    QVERIFY(FileInfo.GetLegalCopyright().contains(FileInfo.GetCompanyName()));
    QCOMPARE(FileInfo.GetInternalName(), QString());
    QCOMPARE(FileInfo.GetItemNumber(), QString());

    // A second reading of the same program gives the same texts.
    QCOMPARE(TFileInfo().GetLastCompiledTime(), FileInfo.GetLastCompiledTime());
}

// On Windows the block is the executable's own version resource, read with
// the system's calls; elsewhere the one built in. Both hold the same values.
void TestFileInfo::programBlockValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("pattern"); // the whole value, as a regular expression
    const QString version = QRegularExpression::escape(QStringLiteral(OPTICCALC_PROJECT_VERSION));
    QTest::addRow("file-version-is-the-projects") << "FileVersion" << version;
    QTest::addRow("product-version") << "ProductVersion"
                                     << "1\\.0\\.0\\.0";
    QTest::addRow("build-date-of-this-build") << "LastCompiledTime"
                                              << "\\d{4}-\\d{2}-\\d{2}";
    QTest::addRow("item-number-is-there-and-empty") << "ItemNumber"
                                                    << "";
    QTest::addRow("umlaut-survives-the-code-page")
        << "FileDescription" << QString::fromUtf8("Messfleckrechner für Pyrometer");
    QTest::addRow("copyright-sign-survives-the-code-page")
        << "LegalCopyright" << QString::fromUtf8("Copyright © 2018-\\d{4} TAVREL GmbH");
}

void TestFileInfo::programBlockValues()
{
    QFETCH(QString, key);
    QFETCH(QString, pattern);
    const std::unique_ptr<TVersionBlock> block = ReadProgramVersionBlock();
    QVERIFY(block);
    const std::optional<QByteArray> value =
        block->Query(QStringLiteral("\\StringFileInfo\\040704E4\\") + key);
    QVERIFY2(value, "key missing");
    QVERIFY2(value->endsWith('\0'), "no terminating zero");
    const QString text = FromCp1252(value->left(value->indexOf('\0')));
    QVERIFY2(
        QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch(),
        qPrintable(text));
#ifdef Q_OS_WIN
    // The fixed part, which Explorer shows as the file version, says the same.
    const std::optional<QByteArray> fixed = block->Query(QStringLiteral("\\"));
    QVERIFY(fixed && fixed->size() >= int(sizeof(VS_FIXEDFILEINFO)));
    const auto *info = reinterpret_cast<const VS_FIXEDFILEINFO *>(fixed->constData());
    QCOMPARE(info->dwSignature, DWORD(0xFEEF04BD));
    QCOMPARE(QStringLiteral("%1.%2.%3.%4")
                 .arg(HIWORD(info->dwFileVersionMS))
                 .arg(LOWORD(info->dwFileVersionMS))
                 .arg(HIWORD(info->dwFileVersionLS))
                 .arg(LOWORD(info->dwFileVersionLS)),
             QStringLiteral(OPTICCALC_PROJECT_VERSION));
#endif
}

QTEST_APPLESS_MAIN(TestFileInfo)
#include "tst_fileinfo.moc"
