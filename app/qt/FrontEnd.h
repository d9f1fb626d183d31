#pragma once

#include <QString>

#include "app/MainForm.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtMainView.h"

class QCoreApplication;

namespace zav::qt {

// Puts Qt's German texts (the file dialog's labels and messages) and German number and date
// formats in place.
void InstallGermanTranslation(QCoreApplication& app);

// The application title of the executable at this path, lower-cased by Qt's Unicode rules.
QString ApplicationTitleOf(const QString& executablePath);

// The Qt front end: the main window, its view and TForm1, with the window's events forwarded to
// the form's handlers and every error that escapes one shown in the error box.
class FrontEnd {
public:
    FrontEnd(ISettingsStore& settings, IFileSystem& files, const QString& applicationTitle);

    // Runs FormCreate, whose error is shown before the window, then shows the window.
    void Start();

    MainWindow& Window() { return window_; }
    TForm1& Form() { return form_; }

private:
    void Run(void (TForm1::*handler)());

    QString applicationTitle_;
    MainWindow window_;
    QtMainView view_;
    // Declared last, so the data modules go before the window they belong to.
    TForm1 form_;
};

}  // namespace zav::qt
