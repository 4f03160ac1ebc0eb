#include "PlannerUnit/PlannerTexts.h"

#include "Settingfiles/IniFile.h"
#include "Settingfiles/LanguageFile.h"

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
};

static_assert(std::size(Entries) == std::size_t(PlannerText::Count));

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
