#include "main/PlannerLink.h"

#include "OpticCalcUnit/OpticCalcForm.h"
#include "PlannerUnit/PlannerForm.h"

TPlannerLink::TPlannerLink(TOpticCalcForm &calculator) : FLanguageFile(calculator.LanguageFile())
{
    connect(&calculator, &TOpticCalcForm::PlannerRequested, this, [this] { Open(); });
    // Until the planner exists there is nothing to follow; the request
    // sends the current state after it.
    connect(&calculator, &TOpticCalcForm::BasicDataChanged, this, [this](const SpotOptics &optics) {
        if (FForm)
            FForm->SetCalculatorOptics(optics);
    });
    connect(&calculator, &TOpticCalcForm::LanguageChanged, this, [this](const QString &language) {
        if (FForm)
            FForm->ApplyLanguage(language);
    });
}

TPlannerLink::~TPlannerLink() = default;

void TPlannerLink::Open()
{
    if (!FForm)
        FForm = std::make_unique<TPlannerForm>(nullptr, FLanguageFile);
    FForm->show();
    FForm->raise();
    FForm->activateWindow();
}
