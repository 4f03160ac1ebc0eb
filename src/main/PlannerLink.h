#pragma once

#include <QObject>
#include <QString>

#include <memory>

class TOpticCalcForm;
class TPlannerForm;

// Builds the target planner when the calculator first asks for it, shows it,
// and passes on the calculator's basic data and language. The planner itself
// holds nothing of the calculator.
class TPlannerLink : public QObject
{
    Q_OBJECT
public:
    explicit TPlannerLink(TOpticCalcForm &calculator);
    ~TPlannerLink() override;

    // Null until the first request.
    TPlannerForm *Form() const { return FForm.get(); }

private:
    void Open();

    std::unique_ptr<TPlannerForm> FForm;
    // The planner reads the calculator's language file.
    QString FLanguageFile;
};
