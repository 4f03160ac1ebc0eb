#include "OpticCalcUnit/OpticCalcForm.h"

#include "InfoUnit/InfoForm.h"
#include "NumberText.h"
#include "OpticCalcUnit/KeyFilter.h"
#include "OpticCalcUnit/MenuIcons.h"
#include "Settingfiles/IniFile.h"
#include "Settingfiles/LanguageFile.h"
#include "Settingfiles/UserIniFile.h"
#include "SpotModel.h"
#include "shared/ErrorReport.h"
#include "shared/Fonts.h"
#include "shared/PlainText.h"
#include "shared/ToolkitLanguage.h"

#include <QActionGroup>
#include <QFile>
#include <QFontDatabase>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <clocale>
#include <cmath>

namespace {

constexpr int ClientWidth = 687;
constexpr int ClientHeight = 492;
const QColor WindowColour(231, 231, 247);

// A caption too long for its button is broken at the blank nearest its
// middle, as the design's two-line take-over button shows.
void SetButtonText(QPushButton *button, const QString &text)
{
    const int iconRoom = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
    const int room = button->width() - iconRoom - 12;
    QString shown = text;
    if (button->fontMetrics().horizontalAdvance(text) > room) {
        int best = -1;
        for (int i = 0; i < text.size(); ++i) {
            if (text.at(i) == u' ' &&
                (best < 0 || std::abs(i - text.size() / 2) < std::abs(best - text.size() / 2)))
                best = i;
        }
        if (best >= 0)
            shown[best] = u'\n';
    }
    button->setText(PlainButtonText(shown));
}

} // namespace

TOpticCalcForm::TOpticCalcForm(QWidget *parent, const QString &languageFile)
    : QMainWindow(parent),
      FLanguageFile(languageFile.isEmpty() ? DefaultLanguageFile() : languageFile)
{
    InstallFontSubstitutes();
    // Set before the controls exist, so each is created with it instead of
    // being told of a change afterwards.
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setupUi(this);
    WatchTimer = new QTimer(this);
    WatchTimer->setObjectName(QStringLiteral("WatchTimer"));
    WatchTimer->setInterval(50);
    SetUpLook();
    SetUpPictures();
    ConnectHandlers();

    // Numbers in the window always use "."; the user's own separator is kept
    // for the CSV file only.
    const QByteArray separator = QLocale::system().decimalPoint().toLatin1();
    FSavedDecimalSeparator = separator.isEmpty() ? '.' : separator.front();
    std::setlocale(LC_NUMERIC, "C");

    CallAndReport([this] { FormCreate(); });
    WatchTimer->start();
}

TOpticCalcForm::~TOpticCalcForm()
{
    CallAndReport([this] { FormDestroy(); });
}

void TOpticCalcForm::SetUpLook()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    AdvMainMenu1->setFont(font());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WindowColour);
    setPalette(palette);
    setAutoFillBackground(true);

    ClientArea->setFixedSize(ClientWidth, ClientHeight);
    setFixedSize(ClientWidth, ClientHeight + AdvMainMenu1->sizeHint().height());
    if (const QScreen *desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());

    // Label texts come from the language file and are shown as written.
    for (QLabel *label : findChildren<QLabel *>()) {
        if (qobject_cast<TPicture *>(label) == nullptr)
            label->setTextFormat(Qt::PlainText);
    }
    Line->setStyleSheet(QStringLiteral("background-color: red;"));
    for (QFrame *bevel : {Bevel1, Bevel3})
        bevel->setStyleSheet(
            QStringLiteral("border: none; border-top: 1px solid rgb(150,150,170);"));
    LineLabel->setStyleSheet(QStringLiteral("color: red;"));
    LineEdit->setStyleSheet(
        QStringLiteral("QLineEdit { border: none; color: red; background: rgb(231,231,247); }"));
    LineEdit->setTextMargins(0, 0, 0, 0);
    // The unit labels grow with their text like the design's labels, so no
    // font cuts "mm".
    for (QLabel *unit : {Label10, Label11, Label12, Label13, Label14})
        unit->resize(std::max(unit->width(), unit->fontMetrics().horizontalAdvance(unit->text())),
                     unit->height());

    BasicDataPanel->SetCaption(
        QStringLiteral("<B><P align=\"center\">Optische Daten Pyrometer</P></B>"));
    CalcValuesPanel->SetCaption(QStringLiteral("<B><P align=\"center\">Berechnete Werte</P></B>"));
    CalcTablePanel->SetCaption(QStringLiteral("<B>Berechnung</B>"));
    Image3->setCursor(Qt::PointingHandCursor);
    Image3->setToolTip(QStringLiteral("www.tavrel.example"));
    Image3->installEventFilter(this);

    LanguageGroup = new QActionGroup(this);
    LanguageGroup->setExclusive(true);
    LanguageGroup->addAction(Deutsch2);
    LanguageGroup->addAction(Deutsch1);

    const std::pair<QAbstractButton *, const char *> icons[] = {
        {CalcButton, "icon_calc"},       {PrintButton, "icon_print"},
        {ExportButton, "icon_export"},   {NewRowButton, "icon_newrow"},
        {GridClearButton, "icon_clear"}, {ToTableButton, "icon_totable"}};
    for (const auto &[button, name] : icons)
        button->setIcon(QIcon(QStringLiteral(":/images/%1.png").arg(QLatin1String(name))));
    Deutsch2->setIcon(CheckableMenuIcon(QStringLiteral(":/images/icon_deutsch.png")));
    Deutsch1->setIcon(CheckableMenuIcon(QStringLiteral(":/images/icon_english.png")));
    info1->setIcon(QIcon(QStringLiteral(":/images/icon_info.png")));

    // The whole window works from the keyboard: Tab leaves the table, F10
    // opens the menu.
    Grid->setTabKeyNavigation(false);
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this,
            [this] { AdvMainMenu1->setActiveAction(Sprache1->menuAction()); });
    MEdit->setFocus();
}

// On a high-density screen the doubled drawing keeps the pictures sharp; its
// device pixel ratio keeps the geometry in logical pixels unchanged.
QPixmap TOpticCalcForm::LoadPicture(const QString &name) const
{
    const QString path = QStringLiteral(":/images/%1.png").arg(name);
    const QString doubled = QStringLiteral(":/images/%1@2x.png").arg(name);
    if (devicePixelRatioF() > 1 && QFile::exists(doubled)) {
        QPixmap picture(doubled);
        picture.setDevicePixelRatio(2);
        return picture;
    }
    return QPixmap(path);
}

void TOpticCalcForm::SetUpPictures()
{
    Image_1->setPixmap(LoadPicture(QStringLiteral("beam_converging")));
    Image_1->Tag = 1;
    Image_2->Tag = 2;
    // The shown picture starts as the converging one but with tag 0, so the
    // first ReadBasicData always copies.
    Image1->setPixmap(Image_1->pixmap());
    Image1->Tag = 0;
    Image3->setPixmap(LoadPicture(QStringLiteral("logo")));
    Image3->setScaledContents(true);
    // What the first paint does not need is decoded once the window shows.
    QTimer::singleShot(0, this, [this] { LoadHiddenPictures(); });
}

// The diverging beam, the printed diagram and the window icon; whatever needs
// them before the window shows loads them first.
void TOpticCalcForm::LoadHiddenPictures()
{
    if (FHiddenPicturesLoaded)
        return;
    FHiddenPicturesLoaded = true;
    Image_2->setPixmap(LoadPicture(QStringLiteral("beam_diverging")));
    // Printed only: its pixel size sets the diagram's proportions on paper.
    Image2->setPixmap(QPixmap(QStringLiteral(":/images/diagram.png")));
    setWindowIcon(QIcon(QStringLiteral(":/images/opticcalc.png")));
}

void TOpticCalcForm::ConnectHandlers()
{
    // Signals of buttons, the timer and the menu run their handler guarded;
    // the signal's own arguments are not needed.
    const auto guarded = [](std::function<void()> handler) {
        return [handler = std::move(handler)](auto &&...) { CallAndReport(handler); };
    };
    connect(Slider, &QSlider::valueChanged, this, guarded([this] { SliderChange(Slider); }));
    connect(WatchTimer, &QTimer::timeout, this, guarded([this] { WatchTimerTimer(); }));
    connect(CalcButton, &QPushButton::clicked, this, guarded([this] { CalcButtonClick(); }));
    connect(PrintButton, &QPushButton::clicked, this, guarded([this] { PrintButtonClick(); }));
    connect(ExportButton, &QPushButton::clicked, this, guarded([this] { ExportButtonClick(); }));
    connect(NewRowButton, &QPushButton::clicked, this, guarded([this] { NewRowButtonClick(); }));
    connect(GridClearButton, &QPushButton::clicked, this,
            guarded([this] { GridClearButtonClick(); }));
    connect(ToTableButton, &QPushButton::clicked, this, guarded([this] { ToTableButtonClick(); }));
    connect(LanguageGroup, &QActionGroup::triggered, this,
            [this](QAction *action) { CallAndReport([this, action] { Deutsch2Click(action); }); });
    connect(info1, &QAction::triggered, this, guarded([this] { info1Click(); }));
    connect(PlannerItem, &QAction::triggered, this, guarded([this] { PlannerItemClick(); }));
    // The planner's first row follows every keystroke in the basic data.
    for (QLineEdit *edit : {MEdit, AEdit, DEdit})
        connect(edit, &QLineEdit::textChanged, this,
                [this] { emit BasicDataChanged(TypedBasicData()); });

    // Key events run inside the edit's event handling, which the application
    // object guards.
    MEdit->OnKeyPress = [this](char &key) { MEditKeyPress(key); };
    AEdit->OnKeyPress = [this](char &key) { AEditKeyPress(key); };
    DEdit->OnKeyPress = [this](char &key) { DEditKeyPress(key); };
    M2Edit->OnKeyPress = [this](char &key) { M2EditKeyPress(key); };
    A2Edit->OnKeyPress = [this](char &key) { A2EditKeyPress(key); };
    Grid->OnKeyPress = [this](char &key) { GridKeyPress(key); };
    Grid->OnGridHint = [this](int row, int column, QString &hint) {
        GridGridHint(row, column, hint);
    };
}

bool TOpticCalcForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image3 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        CallAndReport([this] { Image3Click(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- start, end

void TOpticCalcForm::FormCreate()
{
    {
        // Constructing the settings object makes its folders exist.
        TUserIniFile settings;
    }
    Line->move(294, Line->y());
    Slider->setMaximum(SliderPositions);
    Slider->setValue(0);

    FLanguage = DefaultLanguage();
    {
        TUserIniFile settings;
        const QString section = QStringLiteral("OpticCalc");
        FLanguage = settings.ReadSetting(section, QStringLiteral("Sprache"), FLanguage);
        MEdit->setText(settings.ReadSetting(section, QStringLiteral("BasicM90"), QString()));
        AEdit->setText(settings.ReadSetting(section, QStringLiteral("BasicA"), QString()));
        DEdit->setText(settings.ReadSetting(section, QStringLiteral("BasicApertur"), QString()));
    }
    for (QAction *item : Sprache1->actions()) {
        if (item->text() == FLanguage) {
            item->setChecked(true);
            break;
        }
    }
    ApplyLanguage(FLanguage);
}

void TOpticCalcForm::FormDestroy()
{
    TUserIniFile settings;
    const QString section = QStringLiteral("OpticCalc");
    settings.WriteSetting(section, QStringLiteral("Sprache"), FLanguage);
    settings.WriteSetting(section, QStringLiteral("BasicM90"), MEdit->text());
    settings.WriteSetting(section, QStringLiteral("BasicA"), AEdit->text());
    settings.WriteSetting(section, QStringLiteral("BasicApertur"), DEdit->text());
}

// ---------------------------------------------------------------- language

void TOpticCalcForm::Deutsch2Click(QAction *sender)
{
    ApplyLanguage(sender->text());
}

void TOpticCalcForm::ApplyLanguage(const QString &language)
{
    FLanguage = language;
    FLanguage.remove(u'&');
    // Dialogs opened from now on speak the window's language too.
    SetToolkitLanguage(FLanguage);
    // One read of the file for all the texts of the switch.
    const TIniSnapshot file(FLanguageFile);
    const auto read = [&](const char *key) {
        return file.ReadString(FLanguage, QString::fromUtf8(key), QString());
    };
    const auto bold = [](const QString &text) {
        return QStringLiteral("<B>") + text + QStringLiteral("</B>");
    };

    Label3->setText(read("MessFeld") + QStringLiteral(" M90"));
    Label6->setText(read("MessFeld") + QStringLiteral(" M90"));
    Label2->setText(read("MessAbstand"));
    Label5->setText(read("MessAbstand"));
    Label8->setText(read("MessAbstand"));
    // The slider's caption keeps its left edge and takes its width from its text.
    Label8->resize(Label8->fontMetrics().horizontalAdvance(
                       Label8->text().isEmpty() ? QStringLiteral(" ") : Label8->text()),
                   Label8->height());
    Label1->setText(read("Apertur") + QStringLiteral(" D"));
    const QString pyrometer = read("Pyrometer");
    FPrintHeading = read("OptischeBasisDaten") + u' ' + pyrometer;
    BasicDataPanel->SetCaption(bold(read("EingabeOptischeBasisdaten")));
    FCalcValuesHeading = read("BerechneteWerte");
    CalcValuesPanel->SetCaption(bold(FCalcValuesHeading));
    CalcTablePanel->SetCaption(bold(read("BerechnungMessfelder")));
    SetButtonText(PrintButton, read("Drucken"));
    SetButtonText(ExportButton, read("Export"));
    SetButtonText(NewRowButton, read("NeueZeile"));
    SetButtonText(GridClearButton, read("TabelleLöschen"));
    SetButtonText(ToTableButton, read("ZuTabelleHinzufügen"));
    SetButtonText(CalcButton, read("Berechnen"));
    Grid->SetGeneralHint(read("TabelleHint"));
    setWindowTitle(PlainWindowTitle(read("OptischerRechner") + QStringLiteral(" Spot")));
    Grid->SetCell(0, 0, read("MessAbstand") + QStringLiteral(" a [mm]"));
    Grid->SetCell(1, 0, read("MessFeld") + QStringLiteral(" M90 [mm]"));
    LayOutGrid();
    FHintDistance = read("EingabeMessabstand");
    FHintSpot = read("BerechnetesMessfeld");
    FInvalidValueText = read("UngültigerWert");
    // A language file older than the planner has no texts for its menu.
    const bool german = FLanguage == QStringLiteral("Deutsch");
    const auto readOr = [&](const char *key, const char *germanText, const char *englishText) {
        const QString text = read(key);
        return text.isEmpty() ? QString::fromUtf8(german ? germanText : englishText) : text;
    };
    PlannerMenu->setTitle(readOr("PlanerMenue", "Planer", "Planner"));
    PlannerItem->setText(readOr("PlanerOeffnen", "Messobjekt-Planer …", "Target planner …"));
    UpdateAccessibleTexts();
    emit LanguageChanged(FLanguage);
}

// Screen readers get the language's own texts; they follow every switch.
void TOpticCalcForm::UpdateAccessibleTexts()
{
    const auto plain = [](const TCaptionPanel *panel) {
        return ParseCaptionMarkup(panel->Caption()).Text;
    };
    const auto describe = [](QWidget *control, const QString &name, const QString &description) {
        control->setAccessibleName(name);
        control->setAccessibleDescription(description);
    };
    const QString basic = plain(BasicDataPanel);
    const QString computed = plain(CalcValuesPanel);
    const QString table = plain(CalcTablePanel);
    const QString millimetres = QStringLiteral(" [mm]");
    describe(BasicDataPanel, basic, basic);
    describe(CalcValuesPanel, computed, computed);
    describe(CalcTablePanel, table, Grid->GeneralHint());
    describe(MEdit, Label3->text() + millimetres, basic);
    describe(AEdit, Label2->text() + millimetres, basic);
    describe(DEdit, Label1->text() + millimetres, basic);
    describe(M2Edit, Label6->text() + millimetres, computed);
    describe(A2Edit, Label5->text() + millimetres, computed);
    describe(Slider, Label8->text(), computed);
    describe(Grid, table, Grid->GeneralHint());
    describe(LineEdit, Label6->text() + QStringLiteral(" @ ") + Label5->text(), computed);
    describe(Image1, Label8->text(), computed);
    describe(Line, Label8->text(), computed);
    describe(Image3, QStringLiteral("TAVREL"), Image3->toolTip());
    for (QPushButton *button :
         {ToTableButton, CalcButton, PrintButton, ExportButton, NewRowButton, GridClearButton}) {
        const QString text =
            button->text().replace(u'\n', u' ').replace(QStringLiteral("&&"), QStringLiteral("&"));
        describe(button, text, button == ToTableButton ? computed : table);
    }
    for (QLabel *label : findChildren<QLabel *>()) {
        if (qobject_cast<TPicture *>(label) == nullptr)
            describe(label, label->text(), label->parentWidget()->accessibleName());
    }
}

void TOpticCalcForm::LayOutGrid()
{
    // Both columns are measured in the first column's header font.
    QFont headerFont = Grid->horizontalHeader()->font();
    headerFont.setBold(true);
    const QFontMetrics metrics(headerFont);
    for (int column = 0; column < 2; ++column)
        Grid->setColumnWidth(column, metrics.horizontalAdvance(Grid->Cell(column, 0)) + 10);
    Grid->resize(Grid->columnWidth(0) + Grid->columnWidth(1) + 21, Grid->height());
    PrintButton->move(Grid->x() + Grid->width() + 20, PrintButton->y());
    for (QPushButton *button : {ExportButton, NewRowButton, GridClearButton, CalcButton})
        button->move(PrintButton->x(), button->y());
    CalcTablePanel->resize(PrintButton->x() + PrintButton->width() + 20, CalcTablePanel->height());
}

// ------------------------------------------------------------------- about

TInfoForm &TOpticCalcForm::About()
{
    // Built on first use: the start shows only the calculator.
    if (InfoForm == nullptr)
        InfoForm = new TInfoForm(this);
    return *InfoForm;
}

void TOpticCalcForm::info1Click()
{
    About().exec();
}

// The planner is built on first use; a new one learns the window's state
// from the same signals that keep it up to date.
void TOpticCalcForm::PlannerItemClick()
{
    emit PlannerRequested();
    emit LanguageChanged(FLanguage);
    emit BasicDataChanged(TypedBasicData());
}

// The basic data as they stand in the edits, by the window's rule that a
// text which is no number counts as 0.
SpotOptics TOpticCalcForm::TypedBasicData() const
{
    return {ParseNumber(AnsiText(MEdit->text())), ParseNumber(AnsiText(AEdit->text())),
            ParseNumber(AnsiText(DEdit->text()))};
}

// The logo opens the web address without showing the about window.
void TOpticCalcForm::Image3Click()
{
    About().UrlLabelClick();
}
