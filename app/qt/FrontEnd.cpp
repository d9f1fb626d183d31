#include "app/qt/FrontEnd.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/ErrorBox.h"
#include "app/qt/AppIcon.h"
#include "app/qt/MessageDialogs.h"

namespace zav::qt {

void InstallGermanTranslation(QCoreApplication& app) {
    // The file dialog names file types in German too.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_de"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

QString ApplicationTitleOf(const QString& executablePath) {
    return QString::fromStdString(
        ApplicationTitle(executablePath.toStdString(), [](const std::string& text) {
            return QString::fromStdString(text).toLower().toStdString();
        }));
}

FrontEnd::FrontEnd(ISettingsStore& settings, IFileSystem& files, const QString& applicationTitle)
    : applicationTitle_(applicationTitle), view_(window_), form_(view_, settings, files) {
    window_.setWindowIcon(CreateAppIcon());
    window_.SetEvents(
        {[this] { Run(&TForm1::btnBrowseClick); }, [this] { Run(&TForm1::btnUpdateClick); },
         [this] { Run(&TForm1::btnCloseClick); }, [this] { return form_.FormCloseQuery(); }});
}

void FrontEnd::Start() {
    Run(&TForm1::FormCreate);
    window_.show();
}

void FrontEnd::Run(void (TForm1::*handler)()) {
    form_.RunHandler(handler, [this](const std::string& text) {
        // Modal over the program's active window; before the window is shown there is none.
        QWidget* owner = QApplication::activeWindow();
        if (owner == nullptr && window_.isVisible()) {
            owner = &window_;
        }
        ShowErrorBox(owner, applicationTitle_, QString::fromStdString(text));
    });
}

}  // namespace zav::qt
