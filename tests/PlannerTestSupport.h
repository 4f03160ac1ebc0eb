#pragma once

// The target planner's window as the planner's window tests start it: fresh
// settings, English texts, shown; and what they type into it.

#include "FormTestSupport.h"
#include "TestFiles.h"

#include "PlannerUnit/PlannerForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include <memory>

class PlannerFixture
{
protected:
    void SetUp()
    {
        FSettings = std::make_unique<TemporarySettings>();
        FForm = std::make_unique<TPlannerForm>();
        FForm->ApplyLanguage(QStringLiteral("English"));
        FForm->show();
        QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    }

    void TearDown()
    {
        FForm.reset();
        FSettings.reset();
    }

    void Retype(const char *edit, const QString &text)
    {
        auto *field = Child<QLineEdit>(*FForm, edit);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        Type(field, text);
    }

    void SwitchUnit(int unit) { Child<QComboBox>(*FForm, "UnitCombo")->setCurrentIndex(unit); }

    void Reopen()
    {
        FForm.reset();
        FForm = std::make_unique<TPlannerForm>();
        FForm->ApplyLanguage(QStringLiteral("English"));
    }

    // The worked example: the calculator's 10/500/30 and a second optics
    // 5/300/20; margin 1.5, working distance 450, target 20.
    void EnterWorkedExample()
    {
        FForm->SetCalculatorOptics({10, 500, 30});
        FForm->AddButtonClick();
        auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
        for (const auto &[column, text] : {std::pair{1, "5"}, {2, "300"}, {3, "20"}})
            table->item(1, column)->setText(QString::fromLatin1(text));
        Retype("TargetEdit", QStringLiteral("20"));
        Retype("DistanceEdit", QStringLiteral("450"));
    }

    std::unique_ptr<TemporarySettings> FSettings;
    std::unique_ptr<TPlannerForm> FForm;
    QTemporaryDir FDir;
};
