#include "PlannerUnit/PlannerAccessible.h"

#include <QAccessibleWidget>
#include <QComboBox>

namespace {

class TNamedComboBox : public QAccessibleWidget
{
public:
    explicit TNamedComboBox(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override
    {
        const auto *combo = static_cast<const QComboBox *>(widget());
        if (kind == QAccessible::Name)
            return combo->accessibleName();
        if (kind == QAccessible::Value)
            return combo->currentText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *NamedComboFactory(const QString & /*className*/, QObject *object)
{
    // A top-level QWidget would be announced as a filler, not as a window.
    if (auto *widget = qobject_cast<QWidget *>(object);
        widget && widget->isWindow() && widget->inherits("TPlannerForm"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    auto *combo = qobject_cast<QComboBox *>(object);
    if (combo && combo->window()->inherits("TPlannerForm"))
        return new TNamedComboBox(combo);
    return nullptr;
}

} // namespace

void InstallPlannerAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(NamedComboFactory);
        return true;
    }();
    (void)installed;
}
