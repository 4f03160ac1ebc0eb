#include "PlannerUnit/PlannerTexts.h"

#include "PlannerUnit/PlannerFormat.h"
#include "Settingfiles/IniFile.h"
#include "Settingfiles/LanguageFile.h"

#include <cmath>

namespace {

struct Entry
{
    const char *Key;
    const char *German; // UTF-8
    const char *English;
};

// In the order of PlannerText.
constexpr Entry Entries[] = {
    {"PlanerTitel", "Messobjekt-Planer", "Target planner"},
    {"PlanerMenue", "Planer", "Planner"},
    {"PlanerOeffnen", "Messobjekt-Planer …", "Target planner …"},
    {"PlanerOptiken", "Optiken", "Optics"},
    {"PlanerName", "Name", "Name"},
    {"PlanerFarbe", "Farbe", "Colour"},
    {"PlanerHinzufuegen", "Hinzufügen", "Add"},
    {"PlanerDuplizieren", "Duplizieren", "Duplicate"},
    {"PlanerEntfernen", "Entfernen", "Remove"},
    {"PlanerFarbeWaehlen", "Farbe …", "Colour …"},
    {"PlanerRechnerOptik", "Rechner", "Calculator"},
    {"PlanerNeueOptik", "Optik", "Optics"},
    {"PlanerOptikenHinweis", "Zeile 1 folgt den optischen Daten des Rechners.",
     "Row 1 follows the calculator's optical data."},
    {"PlanerMessobjekt", "Messobjekt", "Target"},
    {"PlanerDurchmesser", "Messobjekt-Durchmesser", "Target diameter"},
    {"PlanerArbeitsabstand", "Arbeitsabstand", "Working distance"},
    {"PlanerReserve", "Reserve", "Margin"},
    {"PlanerNeigung", "Neigung", "Tilt"},
    {"PlanerEinheit", "Einheit", "Unit"},
    {"PlanerReserveHinweis",
     "Der Messfleck enthält etwa 90 % der Energie, die das Gerät sieht; ein Messobjekt nur so groß "
     "wie der Messfleck misst falsch, sobald seine Umgebung eine andere Temperatur hat.",
     "The spot holds about 90 % of the energy the instrument sees; a target only as large as the "
     "spot reads wrong whenever its surroundings are at another temperature."},
    {"PlanerNeigungHinweis",
     "Bei Neigung gilt die lange Achse der Ellipse, Messfleck / cos(Neigung): eine Näherung erster "
     "Ordnung.",
     "With tilt, the ellipse's long axis counts, spot / cos(tilt): a first-order figure."},
    {"PlanerVergleich", "Vergleich", "Comparison"},
    {"PlanerSpalteOptik", "Optik", "Optics"},
    {"PlanerSpalteMessfleck", "Messfleck", "Spot"},
    {"PlanerSpalteAufFlaeche", "Auf der Fläche", "On surface"},
    {"PlanerSpalteDS", "D:S", "D:S"},
    {"PlanerSpalteDSFokus", "D:S Fokus", "D:S focus"},
    {"PlanerSpalteDSFern", "D:S Fernfeld", "D:S far field"},
    {"PlanerSpaltePasst", "Passt", "Fits"},
    {"PlanerSpalteKennzahl", "Kennzahl", "Figure"},
    {"PlanerSpalteBereich", "Bereich", "Range"},
    {"PlanerSpalteVon", "Bereich von", "Range from"},
    {"PlanerSpalteBis", "Bereich bis", "Range to"},
    {"PlanerSpalteBeste", "Beste", "Best"},
    {"PlanerBeste", "beste", "best"},
    {"PlanerJa", "ja", "yes"},
    {"PlanerNein", "nein", "no"},
    {"PlanerKeiner", "keiner", "none"},
    {"PlanerDiagramm", "Diagramm", "Chart"},
    {"PlanerAchseAbstand", "Abstand", "Distance"},
    {"PlanerAchseMessfleck", "Messfleck auf der Fläche", "Spot on surface"},
    {"PlanerGroessterMessfleck", "größter passender Messfleck", "largest fitting spot"},
    {"PlanerDiagrammHinweis", "Maus oder Pfeiltasten bewegen den Cursor",
     "Mouse or arrow keys move the cursor"},
    {"PlanerExportCsv", "Export CSV", "Export CSV"},
    {"PlanerSpeichernPng", "Als PNG", "Save PNG"},
    {"PlanerSpeichernSvg", "Als SVG", "Save SVG"},
    {"PlanerFehlerZahl", "keine Zahl", "no number"},
    {"PlanerFehlerPositiv", "muss größer als 0 sein", "must be greater than 0"},
    {"PlanerFehlerNeigung", "0 bis 85 Grad", "0 to 85 degrees"},
    {"PlanerFehlerLeer", "Wert eingeben", "enter a value"},
    {"PlanerFehlerBereich", "außerhalb %1 bis %2", "outside %1 to %2"},
    {"PlanerFazitPasst", "Messobjekt %1 bei %2: %3 passt (%4), von %5 bis %6.",
     "Target %1 at %2: %3 fits (%4), from %5 to %6."},
    {"PlanerFazitNaechste", "Messobjekt %1 bei %2: keine passt bei %2; %3 passt von %4 bis %5.",
     "Target %1 at %2: none fits at %2; %3 fits from %4 to %5."},
    {"PlanerFazitKeine",
     "Messobjekt %1 bei %2: keine passt bei %2, auch bei keinem anderen Abstand.",
     "Target %1 at %2: none fits at %2, nor at any other distance."},
    {"PlanerFazitFehlt",
     "Messobjekt, Arbeitsabstand, Reserve und Neigung eingeben, um zu sehen, welche Optik passt.",
     "Enter the target, the working distance, the margin and the tilt to see which optics fits."},
    {"PlanerFazitKeineOptik",
     "Keine Optik hat gültige Daten: M90, a und D für mindestens eine Optik eingeben.",
     "No optics holds valid data: enter M90, a and D of at least one optics."},
    {"PlanerCursorBei", "Cursor bei", "Cursor at"},
    {"PlanerPasstHier", "passt", "fits"},
    {"PlanerZoomHinweis", "Mausrad zoomt den Abstand, Doppelklick setzt zurück",
     "wheel zooms the distance, double-click resets"},
    {"PlanerDatenblatt", "Aus Datenblatt …", "From data sheet …"},
    {"PlanerDatenblattTitel", "Optik aus dem Datenblatt", "Optics from a data sheet"},
    {"PlanerFormVerhaeltnisse", "Fokusabstand, D:S im Fokus, D:S im Fernfeld",
     "Focus distance, D:S at the focus, D:S in the far field"},
    {"PlanerFormFokusMessfleck", "Fokusabstand, Messfleck im Fokus, D:S im Fernfeld",
     "Focus distance, spot at the focus, D:S in the far field"},
    {"PlanerFormPunkte", "Messfleck-Diagramm: bis 8 Punkte", "Spot-size diagram: up to 8 points"},
    {"PlanerFokusabstand", "Fokusabstand a", "Focus distance a"},
    {"PlanerDSImFokus", "D:S im Fokus", "D:S at the focus"},
    {"PlanerDSImFernfeld", "D:S im Fernfeld", "D:S in the far field"},
    {"PlanerMessfleckImFokus", "Messfleck im Fokus", "Spot at the focus"},
    {"PlanerAbweichung", "Abweichung [%]", "Deviation [%]"},
    {"PlanerGroessteAbweichung", "Größte Abweichung: %1 %", "Largest deviation: %1 %"},
    {"PlanerPunkteEinfuegen", "Einfügen", "Paste"},
    {"PlanerErgebnis", "Ergebnis", "Result"},
    {"PlanerFehlerDNichtPositiv", "D wäre nicht größer als 0", "D would not be greater than 0"},
    {"PlanerFehlerWenigePunkte", "mindestens 3 Punkte nötig", "at least 3 points needed"},
    {"PlanerFehlerEineSeite", "die Punkte zeigen nur eine Seite des Fokus",
     "the points show one side of the focus only"},
    {"PlanerFehlerNegativ", "darf nicht kleiner als 0 sein", "must not be below 0"},
    {"PlanerFehlerMehrdeutig", "%1: %2 oder %3? %2 oder %3 schreiben",
     "%1: %2 or %3? Write %2 or %3"},
    {"PlanerFehlerEinheit", "keine Längeneinheit", "no length unit"},
    {"PlanerFehlerVerhaeltnis", "Verhältnis als 75:1 schreiben", "write the ratio as 75:1"},
    {"PlanerImport", "Import …", "Import …"},
    {"PlanerExport", "Export …", "Export …"},
    {"PlanerDrucken", "Drucken …", "Print …"},
    {"PlanerImportNichtGelesen", "Nicht eingelesen:", "Not imported:"},
    {"PlanerImportZeile", "Zeile %1: %2", "Line %1: %2"},
    {"PlanerImportKeinPlatz", "%1 Optiken passten nicht mehr in die Liste (höchstens %2).",
     "%1 optics did not fit into the list (at most %2)."},
    {"PlanerImportKeineEinheit", "Die Kopfzeile nennt für M90, a und D nicht mm oder inch.",
     "The header names neither mm nor inch for M90, a and D."},
    {"PlanerImportLeer", "Die Datei enthält keine Optiken.", "The file holds no optics."},
    {"PlanerImportWenigeZellen", "zu wenige Zellen", "too few cells"},
    {"PlanerImportKeinName", "kein Name", "no name"},
    {"PlanerImportFarbe", "keine Farbe #RRGGBB", "no colour #RRGGBB"},
    {"PlanerImportDezimalpunkt", "Dezimaltrennzeichen: Punkt (.).", "Decimal mark: point (.)."},
    {"PlanerImportDezimalkomma", "Dezimaltrennzeichen: Komma (,).", "Decimal mark: comma (,)."},
    {"PlanerBlattTitel", "Messobjekt-Planer: Entscheidung", "Target planner: decision"},
    {"PlanerBlattEingaben", "Eingaben", "Inputs"},
    {"PlanerDsEinheit", "Einheit", "Unit"},
    {"PlanerFernfeldBei", "D:S im Fernfeld gilt bei", "Far-field D:S printed at"},
    {"PlanerFernfeldHinweis",
     "D:S im Fernfeld gilt als a / (M90 + D), das Verhältnis weit hinter dem Fokus. Nennt das "
     "Datenblatt einen Abstand dafür (oft das Zehnfache des Fokusabstands), diesen oben eingeben.",
     "D:S in the far field is read as a / (M90 + D), the ratio far beyond the focus. Where the "
     "sheet names a distance for it (often ten times the focus distance), enter that distance "
     "above."},
    {"PlanerFehlt",
     "Für diese Form fehlt: %1. Ein Datenblatt mit nur einem Verhältnis (12:1) oder mit Fokus im "
     "Unendlichen passt zu keiner der drei Formen.",
     "Missing for this form: %1. A sheet with one ratio only (12:1) or a focus at infinity fits "
     "none of the three forms."},
    {"PlanerFehlerFernKleiner", "D:S im Fernfeld muss kleiner sein als D:S im Fokus",
     "the far-field D:S must be smaller than the D:S at the focus"},
    {"PlanerFehlerHinterFokus", "muss hinter dem Fokus liegen", "must lie beyond the focus"},
    {"PlanerFehlerZweiFoki", "nennt einen anderen Fokusabstand als a",
     "names another focus distance than a"},
    {"PlanerFehlerGleitkomma", "die Daten liegen außerhalb des Rechenbereichs",
     "the data lie outside the range the model computes in"},
    {"PlanerBestimmt",
     "Drei Punkte bestimmen M90, a und D: der Verlauf geht durch jeden von ihnen, geprüft ist "
     "nichts. Ein vierter Punkt prüft ihn.",
     "Three points determine M90, a and D: the beam passes through each of them, nothing is "
     "checked. A fourth point checks it."},
    {"PlanerGedruckterFokus", "Gedruckter Fokusabstand a", "Printed focus distance a"},
    {"PlanerFokusBehalten", "beibehalten", "keep it"},
    {"PlanerBeideAbweichungen", "Größte Abweichung: %1 mit freiem Fokus, %2 mit a = %3.",
     "Largest deviation: %1 with a free focus, %2 with a = %3."},
    {"PlanerBestimmtKurz", "bestimmt, nicht geprüft", "determined, not checked"},
    {"PlanerFreierFokus", "freier Fokus", "free focus"},
    {"PlanerFesterFokus", "a = %1", "a = %1"},
    {"PlanerGedruckteWerte", "Datenblatt", "data sheet"},
    {"PlanerPunkteAusgelassen", "%1 Zeilen ausgelassen: das Diagramm nimmt höchstens %2 Punkte.",
     "%1 lines left out: the diagram takes at most %2 points."},
    {"PlanerPunkteNichtUebernommen", "Nicht übernommen:", "Not taken:"},
    {"PlanerPunktOhneMessfleck", "kein Messfleck", "no spot"},
    {"PlanerListeVoll",
     "Die Liste hat %1 Optiken und fasst höchstens %2; eine entfernen, um eine weitere "
     "hinzuzufügen.",
     "The list holds %1 optics and takes at most %2; remove one to add another."},
};

static_assert(std::size(Entries) == std::size_t(PlannerText::Count));

// A limit as a person would write it: three significant digits, no
// trailing zeros, never in exponent form.
QString LimitText(double millimetres, LengthUnit unit)
{
    return FixedSignificant(ToUnit(millimetres, unit), 3);
}

} // namespace

TPlannerTexts::TPlannerTexts(const QString &language)
    : FGerman(language == QStringLiteral("Deutsch"))
{
    for (std::size_t i = 0; i < FTexts.size(); ++i)
        FTexts[i] = QString::fromUtf8(FGerman ? Entries[i].German : Entries[i].English);
}

TPlannerTexts TPlannerTexts::Load(const QString &language, const QString &fileName)
{
    TPlannerTexts texts(language);
    // One read of the file for all the texts.
    const TIniSnapshot file(fileName.isEmpty() ? DefaultLanguageFile() : fileName);
    for (std::size_t i = 0; i < texts.FTexts.size(); ++i) {
        const QString text =
            file.ReadString(language, QString::fromLatin1(Entries[i].Key), QString());
        if (!text.isEmpty())
            texts.FTexts[i] = text;
    }
    return texts;
}

QString PlannerTextKey(PlannerText id)
{
    return QString::fromLatin1(Entries[std::size_t(id)].Key);
}

QString FieldProblemText(const TPlannerTexts &texts, FieldProblem problem, LengthUnit unit)
{
    switch (problem) {
    case FieldProblem::Empty:
        return texts[PlannerText::ErrEmpty];
    case FieldProblem::NoNumber:
        return texts[PlannerText::ErrNumber];
    case FieldProblem::NotPositive:
        return texts[PlannerText::ErrPositive];
    case FieldProblem::Tilt:
        return texts[PlannerText::ErrTilt];
    case FieldProblem::Ambiguous:
        return texts[PlannerText::ErrAmbiguous];
    case FieldProblem::NoLength:
        return texts[PlannerText::ErrNoLength];
    case FieldProblem::BadRatio:
        return texts[PlannerText::ErrRatio];
    case FieldProblem::Negative:
        return texts[PlannerText::ErrNegative];
    case FieldProblem::OutOfRange:
        break;
    }
    return texts[PlannerText::ErrRange].arg(LimitText(MinPlausibleLength, unit),
                                            LimitText(MaxPlausibleLength, unit) + u' ' +
                                                UnitName(unit));
}

QString FieldProblemText(const TPlannerTexts &texts, const FieldReading &reading, LengthUnit unit)
{
    if (!reading.Problem)
        return {};
    if (*reading.Problem == FieldProblem::Ambiguous)
        return texts[PlannerText::ErrAmbiguous].arg(QString::fromStdString(reading.Typed),
                                                    QString::fromStdString(reading.AsDecimal),
                                                    QString::fromStdString(reading.AsGrouped));
    return FieldProblemText(texts, *reading.Problem, unit);
}
