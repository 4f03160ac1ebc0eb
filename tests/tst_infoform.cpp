#include "Fileinfo/FileInfo.h"
#include "InfoUnit/InfoForm.h"

#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

class TestInfoForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void formShowTexts_data();
    void formShowTexts();
    void programNameFollowsLanguageSwitch();
    void linkHoverStyle_data();
    void linkHoverStyle();
    void linkTargets_data();
    void linkTargets();
    void logoLinkOpensWithoutShowing();
    void okButtonEndsShowingWithResultOne();
    void windowShape();

private:
    QLabel *Label(const TInfoForm &form, const char *name)
    {
        return form.findChild<QLabel *>(QLatin1String(name));
    }

    QWidget FCalculator;
    const TFileInfo FNoBlock{nullptr};
    QList<QUrl> FOpened;
    std::function<bool(const QUrl &)> FSavedOpenUrl;
};

void TestInfoForm::init()
{
    FCalculator.setWindowTitle(QStringLiteral("X Spot"));
    FCalculator.setGeometry(200, 150, 687, 514);
    FOpened.clear();
    FSavedOpenUrl = TInfoForm::OpenUrl;
    // No mail program or browser answers in a test: every open fails.
    TInfoForm::OpenUrl = [this](const QUrl &url) {
        FOpened.append(url);
        return false;
    };
}

void TestInfoForm::cleanup()
{
    TInfoForm::OpenUrl = FSavedOpenUrl;
}

void TestInfoForm::formShowTexts_data()
{
    QTest::addColumn<bool>("programBlock");
    QTest::addColumn<QString>("versionPattern");

    QTest::addRow("program-block")
        << true << QStringLiteral("^Version: 1\\.1\\.1\\.0  ::  \\d{4}-\\d{2}-\\d{2}$");
    QTest::addRow("no-version-block-keeps-fixed-parts")
        << false << QStringLiteral("^Version:   ::  $");
}

void TestInfoForm::formShowTexts()
{
    QFETCH(bool, programBlock);
    QFETCH(QString, versionPattern);

    const TFileInfo &info = programBlock ? FileInfo : FNoBlock;
    TInfoForm form(&FCalculator, info);
    form.show();

    QCOMPARE(Label(form, "ProgrammNameLabel")->text(), QStringLiteral("X Spot"));
    const QString version = Label(form, "VersionLabel")->text();
    QVERIFY2(QRegularExpression(versionPattern).match(version).hasMatch(), qPrintable(version));
    QCOMPARE(Label(form, "CopyRightLabel")->text(), info.GetLegalCopyright());
    QCOMPARE(Label(form, "CopyRightLabel")->text().isEmpty(), !programBlock);
}

void TestInfoForm::programNameFollowsLanguageSwitch()
{
    TInfoForm form(&FCalculator);
    form.show();
    form.hide();
    FCalculator.setWindowTitle(QStringLiteral("Optical Calculator Spot"));
    form.show();
    QCOMPARE(Label(form, "ProgrammNameLabel")->text(), QStringLiteral("Optical Calculator Spot"));
}

void TestInfoForm::linkHoverStyle_data()
{
    QTest::addColumn<QString>("link");
    QTest::addRow("mail") << QStringLiteral("MailLabel");
    QTest::addRow("url") << QStringLiteral("UrlLabel");
}

void TestInfoForm::linkHoverStyle()
{
    QFETCH(QString, link);
    TInfoForm form(&FCalculator);
    form.show();
    QLabel *label = Label(form, qPrintable(link));

    const auto checkStyle = [&](bool bold) {
        QCOMPARE(label->font().bold(), bold);
        QVERIFY(label->font().underline());
        QVERIFY(!label->font().italic());
        // The text fits and the right edge stays where it was designed.
        QCOMPARE(label->x() + label->width(), 235);
        QVERIFY(label->width() >= QFontMetrics(label->font()).horizontalAdvance(label->text()));
    };
    checkStyle(false);

    const QPointF inside(2, 2);
    QEnterEvent enter(inside, inside, label->mapToGlobal(inside));
    QEvent leave(QEvent::Leave);

    QApplication::sendEvent(label, &enter);
    checkStyle(true);
    QApplication::sendEvent(label, &leave);
    checkStyle(false);

    // Clicking does not change the style: it stays bold until the mouse leaves.
    QApplication::sendEvent(label, &enter);
    QTest::mouseClick(label, Qt::LeftButton);
    checkStyle(true);
    QApplication::sendEvent(label, &leave);
    checkStyle(false);
}

void TestInfoForm::linkTargets_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QUrl>("target");
    QTest::addRow("mail-opens-mailto-address")
        << QStringLiteral("MailLabel") << QUrl(QStringLiteral("mailto:info@tavrel.example"));
    QTest::addRow("url-opens-web-address")
        << QStringLiteral("UrlLabel") << QUrl(QStringLiteral("http://www.tavrel.example"));
}

void TestInfoForm::linkTargets()
{
    QFETCH(QString, link);
    QFETCH(QUrl, target);
    TInfoForm form(&FCalculator);
    form.show();

    QTest::mouseClick(Label(form, qPrintable(link)), Qt::LeftButton);
    QCOMPARE(FOpened, QList<QUrl>{target});
    // The open failed; that is ignored and the window stays.
    QVERIFY(form.isVisible());
}

void TestInfoForm::logoLinkOpensWithoutShowing()
{
    TInfoForm form(&FCalculator);
    form.UrlLabelClick();
    QCOMPARE(FOpened, QList<QUrl>{QUrl(QStringLiteral("http://www.tavrel.example"))});
    QVERIFY(!form.isVisible());
}

void TestInfoForm::okButtonEndsShowingWithResultOne()
{
    TInfoForm form(&FCalculator);
    form.show();
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), 1);
}

void TestInfoForm::windowShape()
{
    TInfoForm form(&FCalculator);
    form.show();

    QCOMPARE(form.size(), QSize(328, 269));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(qRound(form.windowOpacity() * 255), 230);
    const QPoint offset = form.frameGeometry().center() - FCalculator.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, "centred over the calculator window");
}

QTEST_MAIN(TestInfoForm)
#include "tst_infoform.moc"
