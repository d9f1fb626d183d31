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
    window_.closeQuery = [this] { return form_.FormCloseQuery(); };
    QObject::connect(window_.btnUpdate, &QPushButton::clicked,
                     [this] { Run([this] { form_.btnUpdateClick(); }); });
    QObject::connect(window_.btnBrowse, &QPushButton::clicked,
                     [this] { Run([this] { form_.btnBrowseClick(); }); });
    QObject::connect(window_.btnClose, &QPushButton::clicked,
                     [this] { Run([this] { form_.btnCloseClick(); }); });
}

void FrontEnd::Start() {
    Run([this] { form_.FormCreate(); });
    window_.show();
}

void FrontEnd::Run(const std::function<void()>& handler) {
    RunEventHandler(handler, [this](const std::string& text) {
        // Modal over the program's active window; before the window is shown there is none.
        QWidget* owner = QApplication::activeWindow();
        if (owner == nullptr && window_.isVisible()) {
            owner = &window_;
        }
        ShowErrorBox(owner, applicationTitle_, QString::fromStdString(text));
    });
    form_.EventHandlerEnded();
}

}  // namespace zav::qt
