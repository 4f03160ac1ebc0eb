#include "PlannerUnit/InputLines.h"

#include "PlannerUnit/PlannerFormat.h"
#include "shared/Cp1252.h"
#include "shared/CsvWriter.h"

QList<InputLine> InputLines(const PlannerInput &input, const TPlannerTexts &texts)
{
    const auto length = [&](const std::optional<double> &value) {
        return value ? FormatTypedLength(*value, input.Unit) : QString();
    };
    const auto number = [](const std::optional<double> &value) {
        return value ? QString::number(*value, 'g', 6) : QString();
    };
    const QString unit = UnitName(input.Unit);
    return {{texts[PlannerText::Target], length(input.Target), unit},
            {texts[PlannerText::Distance], length(input.Distance), unit},
            {texts[PlannerText::Margin], number(input.Margin), {}},
            {texts[PlannerText::Tilt], number(input.Tilt), QStringLiteral("°")},
            {texts[PlannerText::Unit], unit, {}}};
}

QByteArray InputLinesCsv(const PlannerInput &input, const TPlannerTexts &texts,
                         char decimalSeparator)
{
    const QList<InputLine> lines = InputLines(input, texts);
    const QString separator = FromCp1252(QByteArray(1, decimalSeparator));
    const auto cell = [&](int column, int row) -> QString {
        const InputLine &line = lines[row];
        if (column == 0)
            return line.Unit.isEmpty() ? line.Label
                                       : line.Label + QStringLiteral(" [") + line.Unit + u']';
        return QString(line.Value).replace(u'.', separator);
    };
    return BuildCsv(2, int(lines.size()), cell, ';', nullptr) + "\r\n";
}
