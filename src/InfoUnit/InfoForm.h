#pragma once

#include "Fileinfo/FileInfo.h"
#include "ui_InfoForm.h"

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;

// The about window: program name, version line, copyright and the maker's
// mail and web links. Created once, hidden between showings.
class TInfoForm : public QDialog, private Ui::TInfoForm
{
    Q_OBJECT

public:
    // The window is centred over calculatorWindow and shows its caption as
    // the program name; fileInfo must outlive the window.
    explicit TInfoForm(QWidget *calculatorWindow, const TFileInfo &fileInfo = FileInfo);

    // Opens the web address; also the calculator's logo link, which calls it
    // while this window stays hidden.
    void UrlLabelClick();

    // How links reach the user's mail program and browser; tests replace it.
    // A failed open is ignored.
    static std::function<bool(const QUrl &)> OpenUrl;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void OKButtonClick();
    void MailLabelMouseEnter();
    void MailLabelMouseLeave();
    void UrlLabelMouseEnter();
    void UrlLabelMouseLeave();
    void MailLabelClick();

    const TFileInfo &FFileInfo;
};
