#pragma once

// Helpers shared by the tests that drive the calculator window.

#include "OpticCalcUnit/OpticCalcForm.h"
#include "SettingsRedirect.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// A message box that was shown and closed by the watcher.
struct SeenBox
{
    QString Title;
    QString Text;
    Qt::TextFormat Format;
};

// Closes every modal message box shortly after it opens and records it;
// `whileOpen` runs once inside each box's nested loop before it is closed.
class BoxWatcher : public QObject
{
public:
    explicit BoxWatcher(std::function<void()> whileOpen = {}) : FWhileOpen(std::move(whileOpen))
    {
        FTimer.setInterval(10);
        QObject::connect(&FTimer, &QTimer::timeout, this, [this] { Poll(); });
        FTimer.start();
    }
    QList<SeenBox> Boxes;

private:
    void Poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || FClosing)
            return;
        FClosing = true;
        Boxes.append({box->windowTitle(), box->text(), box->textFormat()});
        if (FWhileOpen)
            FWhileOpen();
        box->accept();
        FClosing = false;
    }
    std::function<void()> FWhileOpen;
    QTimer FTimer;
    bool FClosing = false;
};

// Points the settings folder at a fresh temporary folder for one test.
class TemporarySettings
{
public:
    TemporarySettings() { UseSettingsFolder(FDir.path()); }
    QString Path() const { return FDir.path(); }
    QString UserIni() const { return FDir.path() + QStringLiteral("/TAVREL/Lunavue/User.ini"); }

private:
    QTemporaryDir FDir;
};

template <typename T> T *Child(QWidget &form, const char *name)
{
    T *child = form.findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

// Waits until the watch has set the controls' states once more: its next
// tick, however long a busy machine delays it.
inline bool WaitForWatch(QWidget &form)
{
    QSignalSpy ticks(Child<QTimer>(form, "WatchTimer"), &QTimer::timeout);
    return ticks.wait(30000);
}

// Types a text into an edit key by key, as a user would.
inline void Type(QWidget *edit, const QString &text)
{
    edit->setFocus();
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(edit, c.toLatin1());
        else // keyClick takes ASCII only
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

inline void Enter(QWidget *edit)
{
    QTest::keyClick(edit, Qt::Key_Return);
}
