// The calculator window's handlers, timed in-process on the offscreen
// platform with the window hidden, so no painting is counted: one slider
// step, one Enter in the spot edit, and the recalculation and the export of a
// large table. The table figures also tell how far the resident memory rises
// above where it stood before the handler ran.

#include "OpticCalcUnit/OpticCalcForm.h"
#include "OpticCalcUnit/ResultsGrid.h"
#include "SpotModel.h"
#include "main/Application.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

TOpticCalcForm *Form = nullptr;
QTemporaryDir *WorkDir = nullptr;

template <typename T> T *Child(const char *name)
{
    T *child = Form->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

void SetBasicData(const QString &m90, const QString &a, const QString &d)
{
    Child<QLineEdit>("MEdit")->setText(m90);
    Child<QLineEdit>("AEdit")->setText(a);
    Child<QLineEdit>("DEdit")->setText(d);
}

// Times one call; the rest of an iteration, preparing the next input, is not
// counted. Returns the seconds the call took.
template <typename F> double Timed(benchmark::State &state, F &&call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    const auto end = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - start).count();
    state.SetIterationTime(seconds);
    return seconds;
}

// The median of single calls, which an occasional slow call (a page fault, the
// scheduler) does not move as it moves the mean.
void ReportMedian(benchmark::State &state, std::vector<double> &seconds)
{
    if (seconds.empty())
        return;
    const auto middle = seconds.begin() + std::ptrdiff_t(seconds.size() / 2);
    std::nth_element(seconds.begin(), middle, seconds.end());
    state.counters["median_us"] = *middle * 1e6;
}

// ------------------------------------------------------------------ memory

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, field.size() + 1, field + ':') == 0)
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

// Lowers the peak resident size to the present one, so the peak read after a
// handler is the handler's own and not a leftover of filling the table.
bool ResetPeakRss()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

// ------------------------------------------------------------- interaction

void SliderStep(benchmark::State &state)
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *slider = Child<QSlider>("Slider");
    int position = slider->value();
    std::vector<double> seconds;
    seconds.reserve(std::size_t(state.max_iterations));
    for (auto _ : state) {
        // Position 0 is the lens front, where no spot exists; every other
        // position gives both results.
        position = position % SliderPositions + 1;
        seconds.push_back(Timed(state, [&] { slider->setValue(position); }));
    }
    ReportMedian(state, seconds);
    if (Child<QLineEdit>("A2Edit")->text().isEmpty())
        state.SkipWithError("the slider step gave no result");
}

void EnterInSpotEdit(benchmark::State &state)
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *spotEdit = Child<QLineEdit>("M2Edit");
    // Two reachable spots in turn, so each Enter moves the slider and changes
    // both results as a new entry would.
    const QString spots[] = {QStringLiteral("20.0"), QStringLiteral("25.0")};
    int turn = 0;
    std::vector<double> seconds;
    seconds.reserve(std::size_t(state.max_iterations));
    for (auto _ : state) {
        spotEdit->setText(spots[turn++ & 1]);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        seconds.push_back(Timed(state, [&] { QCoreApplication::sendEvent(spotEdit, &enter); }));
    }
    ReportMedian(state, seconds);
    if (Child<QLineEdit>("A2Edit")->text().isEmpty())
        state.SkipWithError("Enter gave no result");
}

// ------------------------------------------------------------------- table

// Distances of many magnitudes, near and beyond the focus.
QString DistanceText(int row)
{
    return QString::number(1 + (row * 37) % 2000) + QStringLiteral(".5");
}

// Fills the table once per size; reports what the rows cost in memory.
void FillTable(benchmark::State &state, int rows)
{
    static std::map<int, long> tableKb;
    auto *grid = Child<TResultsGrid>("Grid");
    if (grid->RowCount() != rows + 1) {
        Form->GridClearButtonClick();
        const long before = StatusKb("VmRSS");
        grid->InsertRows(1, rows);
        for (int row = 1; row <= rows; ++row)
            grid->SetCell(0, row, DistanceText(row));
        tableKb[rows] = StatusKb("VmRSS") - before;
        QCoreApplication::processEvents();
    }
    state.counters["table_rss_kB"] = double(tableKb[rows]);
}

// Runs one handler per iteration and records the highest rise of the
// resident memory above where it stood before the handler.
template <typename Prepare, typename Handler>
void TableHandler(benchmark::State &state, const char *key, Prepare &&prepare, Handler &&handler)
{
    static std::map<std::string, long> peakKb;
    const std::string name = key + std::to_string(state.range(0));
    for (auto _ : state) {
        prepare();
        const bool reset = ResetPeakRss();
        const long before = StatusKb("VmRSS");
        Timed(state, handler);
        if (reset)
            peakKb[name] = std::max(peakKb[name], StatusKb("VmHWM") - before);
    }
    state.counters["peak_rss_growth_kB"] = double(peakKb.count(name) ? peakKb[name] : -1);
}

void Recalculate(benchmark::State &state)
{
    const int rows = int(state.range(0));
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    FillTable(state, rows);
    auto *aperture = Child<QLineEdit>("DEdit");
    // A changed aperture gives every row a new spot, as a real recalculation.
    const QString apertures[] = {QStringLiteral("30"), QStringLiteral("20")};
    int turn = 0;
    TableHandler(
        state, "calc", [&] { aperture->setText(apertures[turn++ & 1]); },
        [] { Form->CalcButtonClick(); });
    if (Child<TResultsGrid>("Grid")->Cell(1, rows).isEmpty())
        state.SkipWithError("the last row got no spot");
}

void Export(benchmark::State &state)
{
    const int rows = int(state.range(0));
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    FillTable(state, rows);
    Form->CalcButtonClick();
    const QString path = WorkDir->filePath(QStringLiteral("export.csv"));
    Form->AskExportPath = [path] { return std::optional<QString>(path); };
    TableHandler(
        state, "export", [] {}, [] { Form->ExportButtonClick(); });
    Form->AskExportPath = nullptr;
    state.counters["file_kB"] = double(QFile(path).size()) / 1024;
}

} // namespace

BENCHMARK(SliderStep)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(EnterInSpotEdit)->UseManualTime()->Unit(benchmark::kMicrosecond);
// The smaller table runs more often, so its shorter time is as steady.
BENCHMARK(Recalculate)->UseManualTime()->Unit(benchmark::kMillisecond)->Arg(10000)->Iterations(20);
BENCHMARK(Recalculate)->UseManualTime()->Unit(benchmark::kMillisecond)->Arg(100000)->Iterations(5);
BENCHMARK(Export)->UseManualTime()->Unit(benchmark::kMillisecond)->Arg(10000)->Iterations(20);
BENCHMARK(Export)->UseManualTime()->Unit(benchmark::kMillisecond)->Arg(100000)->Iterations(5);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir workDir;
    WorkDir = &workDir;
    // The window reads and writes its settings; keep them away from the user's.
    qputenv("XDG_CONFIG_HOME", workDir.path().toLocal8Bit());

    TApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    {
        TOpticCalcForm form;
        Form = &form;
        benchmark::RunSpecifiedBenchmarks();
        Form = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
