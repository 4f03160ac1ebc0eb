#include "OpticCalcUnit/Controls.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "FormTestSupport.h"
#include "OpticCalcUnit/KeyFilter.h"

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void editFiltersTypedCharacters_data();
    void editFiltersTypedCharacters();
    void editBackspaceAndEnterAreCharacters();
    void editShortcutsKeepTheirAction();
    void editKeysWithoutCharacterBypassHandler();
    void pictureAssignCopiesPixmapAndTag();
    void captionMarkup_data();
    void captionMarkup();
    void sliderSetValueSignalsOnlyChanges();
    void sliderMousePress_data();
    void sliderMousePress();
    void sliderDragFollowsMouseUntilRelease();
    void sliderThumbTipAtPositionPlusSeven();
};

void TestControls::editFiltersTypedCharacters_data()
{
    QTest::addColumn<bool>("filtered");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addRow("comma-becomes-point") << true << "12,5"
                                         << "12.5";
    QTest::addRow("letters-dropped") << true << "1a2Z"
                                     << "12";
    QTest::addRow("blank-and-signs-dropped") << true << " -1+"
                                             << "1";
    QTest::addRow("umlaut-and-euro-dropped") << true << QStringLiteral("\u00e43\u20ac") << "3";
    QTest::addRow("unfiltered-latin1-kept")
        << false << QStringLiteral("\u00e4\u20ac") << QStringLiteral("\u00e4\u20ac");
    QTest::addRow("outside-code-page-is-question-mark")
        << false << QStringLiteral("a\u03a9") << "a?";
}

void TestControls::editFiltersTypedCharacters()
{
    QFETCH(bool, filtered);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    TEdit edit;
    if (filtered)
        edit.OnKeyPress = FilterNumberKey;
    Type(&edit, typed);
    QCOMPARE(edit.text(), expected);
}

void TestControls::editBackspaceAndEnterAreCharacters()
{
    TEdit edit;
    QByteArray seen;
    edit.OnKeyPress = [&](char &key) {
        seen += key;
        FilterNumberKey(key);
    };
    QSignalSpy returns(&edit, &QLineEdit::returnPressed);
    Type(&edit, "125");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(edit.text(), "12");
    QCOMPARE(seen, QByteArray("125\b\r"));
    QCOMPARE(returns.count(), 1);
    edit.OnKeyPress = [](char &key) { key = 0; };
    QTest::keyClick(&edit, Qt::Key_Enter);
    QCOMPARE(returns.count(), 1);
}

void TestControls::editShortcutsKeepTheirAction()
{
    TEdit edit;
    QByteArray seen;
    bool dropPaste = false;
    edit.OnKeyPress = [&](char &key) {
        seen += key;
        if (dropPaste && key == 22)
            key = 0;
    };
    Type(&edit, "12.5");
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(edit.selectedText(), "12.5");
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), "12.5");
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), "12.512.5");
    dropPaste = true;
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), "12.512.5");
    QCOMPARE(seen, QByteArray("12.5\x01\x03\x16\x16"));
}

void TestControls::editKeysWithoutCharacterBypassHandler()
{
    TEdit edit;
    edit.setText("123");
    int calls = 0;
    edit.OnKeyPress = [&](char &) { ++calls; };
    for (const Qt::Key key : {Qt::Key_Home, Qt::Key_Delete, Qt::Key_Right, Qt::Key_End,
                              Qt::Key_Left, Qt::Key_Tab, Qt::Key_Escape, Qt::Key_F1})
        QTest::keyClick(&edit, key);
    QTest::keyClick(&edit, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(calls, 0);
    QCOMPARE(edit.text(), "23");
}

void TestControls::pictureAssignCopiesPixmapAndTag()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    image.setPixelColor(1, 2, Qt::red);
    TPicture source;
    source.setPixmap(QPixmap::fromImage(image));
    source.Tag = 2;
    TPicture target;
    target.Assign(source);
    QCOMPARE(target.Tag, 2);
    QCOMPARE(target.pixmap().toImage(), image);
}

void TestControls::captionMarkup_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("align");
    const int centre = Qt::AlignHCenter;
    QTest::addRow("design-caption") << "<B><P align=\"center\">Optische Daten Pyrometer</P></B>"
                                    << "Optische Daten Pyrometer" << true << centre;
    QTest::addRow("bold-only-is-centred") << "<B>Berechnung</B>"
                                          << "Berechnung" << true << centre;
    QTest::addRow("plain") << "Berechnung"
                           << "Berechnung" << false << centre;
    QTest::addRow("empty-bold") << "<B></B>"
                                << "" << true << centre;
    QTest::addRow("other-tags-literal") << "<B>a<i>b</i></B>"
                                        << "a<i>b</i>" << true << centre;
    QTest::addRow("ampersand-and-entity-literal") << "x & y &amp; z"
                                                  << "x & y &amp; z" << false << centre;
    QTest::addRow("unquoted-right") << "<P align=right>t</P>"
                                    << "t" << false << int(Qt::AlignRight);
    QTest::addRow("single-quoted-mixed-case") << "<p ALIGN = 'Left' >t</p>"
                                              << "t" << false << int(Qt::AlignLeft);
    QTest::addRow("first-alignment-wins") << "<P align=left>a</P><P align=right>b</P>"
                                          << "ab" << false << int(Qt::AlignLeft);
    QTest::addRow("unknown-alignment-literal") << "<P align=justify>t</P>"
                                               << "<P align=justify>t" << false << centre;
    QTest::addRow("other-attribute-literal") << "<P class=x>t"
                                             << "<P class=x>t" << false << centre;
    QTest::addRow("unclosed-bold") << "<b>t"
                                   << "t" << true << centre;
    QTest::addRow("stray-close-not-bold") << "t</B>"
                                          << "t" << false << centre;
    QTest::addRow("lone-brackets") << "a < b > c <B"
                                   << "a < b > c <B" << false << centre;
    QTest::addRow("lookalike-tags") << "<BR><Pa>"
                                    << "<BR><Pa>" << false << centre;
}

void TestControls::captionMarkup()
{
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(bool, bold);
    QFETCH(int, align);
    const CaptionMarkup markup = ParseCaptionMarkup(caption);
    QCOMPARE(markup.Text, text);
    QCOMPARE(markup.Bold, bold);
    QCOMPARE(int(markup.Align), align);
}

void TestControls::sliderSetValueSignalsOnlyChanges()
{
    TSlider slider;
    QCOMPARE(slider.minimum(), 0);
    QCOMPARE(slider.maximum(), 384);
    QSignalSpy changes(&slider, &QSlider::valueChanged);
    slider.setValue(96);
    slider.setValue(96);
    QCOMPARE(changes.count(), 1);
    slider.setValue(500);
    QCOMPARE(slider.value(), 384);
    slider.setValue(384);
    slider.setValue(-3);
    QCOMPARE(slider.value(), 0);
    QCOMPARE(changes.count(), 3);
}

void TestControls::sliderMousePress_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("position");
    // The thumb stands at 200, its tip at x 207 and its body 5 px either side.
    QTest::addRow("on-the-tip-stays") << 207 << Qt::LeftButton << 200;
    QTest::addRow("beside-the-tip-stays") << 211 << Qt::LeftButton << 200;
    QTest::addRow("left-edge-of-thumb-stays") << 202 << Qt::LeftButton << 200;
    QTest::addRow("channel-right-pages-up") << 300 << Qt::LeftButton << 216;
    QTest::addRow("channel-left-pages-down") << 7 << Qt::LeftButton << 184;
    QTest::addRow("just-right-of-thumb-pages") << 213 << Qt::LeftButton << 216;
    QTest::addRow("middle-button-sets-there") << 7 + 96 << Qt::MiddleButton << 96;
    QTest::addRow("middle-button-clamps") << 399 << Qt::MiddleButton << 384;
}

void TestControls::sliderMousePress()
{
    QFETCH(int, x);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, position);
    TSlider slider;
    slider.resize(400, 31);
    slider.setValue(200);
    QSignalSpy changes(&slider, &QSlider::valueChanged);
    QTest::mousePress(&slider, button, {}, QPoint(x, 15));
    QCOMPARE(slider.value(), position);
    QCOMPARE(changes.count(), position == 200 ? 0 : 1);
    QTest::mouseRelease(&slider, button, {}, QPoint(x, 15));
}

void TestControls::sliderDragFollowsMouseUntilRelease()
{
    TSlider slider;
    slider.resize(400, 31);
    QSignalSpy changes(&slider, &QSlider::valueChanged);
    // Grabbed 3 px right of the tip: the tip stays 3 px left of the mouse.
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(10, 15));
    QCOMPARE(changes.count(), 0);
    QTest::mouseMove(&slider, QPoint(60, 20));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(60, 20));
    QCOMPARE(slider.value(), 50);
    QCOMPARE(changes.count(), 1);
    QTest::mouseMove(&slider, QPoint(150, 20));
    QCOMPARE(slider.value(), 50);
}

void TestControls::sliderThumbTipAtPositionPlusSeven()
{
    TSlider slider;
    slider.resize(400, 31);
    slider.setValue(96);
    QImage image(slider.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    slider.render(&image, {}, {}, QWidget::DrawChildren);
    // The topmost painted pixel of the thumb region is its tip.
    int tipX = -1;
    for (int y = 0; y < image.height() && tipX < 0; ++y) {
        for (int x = 8 + 80; x < 8 + 120; ++x) {
            if (image.pixelColor(x, y) != Qt::white) {
                tipX = x;
                break;
            }
        }
    }
    QCOMPARE(tipX, 7 + 96);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
