// The target planner on the offscreen platform, shown: one change of an input
// recomputes the comparison of eight optics and repaints the chart. The
// repaint is forced at once, so the time holds the whole painting; Qt paints
// the comparison table, changed by the same input, in the same pass, so its
// repaint is counted too.

#include "PlannerUnit/PlannerForm.h"
#include "main/Application.h"

#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

TPlannerForm *Form = nullptr;

template <typename T> T *Child(const char *name)
{
    T *child = Form->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

// Eight optics of both shapes, a target that fits some of them, and a tilt,
// so every column and every chart element is drawn.
void FillEightOptics()
{
    Form->SetCalculatorOptics({10, 500, 30});
    auto *table = Child<QTableWidget>("OpticsTable");
    for (int n = 1; n < 8; ++n) {
        Form->AddButtonClick();
        const bool diverging = n % 3 == 0;
        table->item(n, 1)->setText(QString::number(diverging ? 40 + n : 4 + n));
        table->item(n, 2)->setText(QString::number(200 + 100 * n));
        table->item(n, 3)->setText(QString::number(diverging ? 20 : 20 + 2 * n));
    }
    Child<QLineEdit>("TargetEdit")->setText(QStringLiteral("20"));
    Child<QLineEdit>("DistanceEdit")->setText(QStringLiteral("450"));
    Child<QLineEdit>("TiltEdit")->setText(QStringLiteral("10"));
}

void ChangeRecomputesAndRepaints(benchmark::State &state)
{
    auto *target = Child<QLineEdit>("TargetEdit");
    auto *chart = Child<QWidget>("Chart");
    const QString targets[] = {QStringLiteral("20"), QStringLiteral("25")};
    int turn = 0;
    std::vector<double> seconds;
    seconds.reserve(std::size_t(state.max_iterations));
    for (auto _ : state) {
        // Events left over from the previous change are not counted.
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        target->setText(targets[turn++ & 1]);
        chart->repaint();
        const auto end = std::chrono::steady_clock::now();
        const double time = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(time);
        seconds.push_back(time);
    }
    if (!seconds.empty()) {
        const auto middle = seconds.begin() + std::ptrdiff_t(seconds.size() / 2);
        std::nth_element(seconds.begin(), middle, seconds.end());
        state.counters["median_us"] = *middle * 1e6;
    }
    if (Form->Results().Rows.size() != 8 || Form->Results().Best < 0)
        state.SkipWithError("the comparison does not hold eight optics with a best fit");
}

} // namespace

BENCHMARK(ChangeRecomputesAndRepaints)->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir workDir;
    // The planner reads and writes its settings; keep them away from the user's.
    qputenv("XDG_CONFIG_HOME", workDir.path().toLocal8Bit());

    TApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    {
        TPlannerForm form;
        Form = &form;
        form.ApplyLanguage(QStringLiteral("English"));
        FillEightOptics();
        form.show();
        QCoreApplication::processEvents();
        benchmark::RunSpecifiedBenchmarks();
        Form = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
