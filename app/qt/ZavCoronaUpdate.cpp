#include <QApplication>

#include "app/qt/AppIcon.h"
#include "app/qt/FrontEnd.h"
#include "app/qt/TerminationSignals.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

int main(int argc, char* argv[]) {
    zav::qt::TerminationSignals termination;
    QApplication app(argc, argv);
    termination.EndApplicationOnSignal(app);
    zav::qt::InstallGermanTranslation(app);
    QApplication::setWindowIcon(zav::qt::CreateAppIcon());

    const std::unique_ptr<zav::ISettingsStore> settings = zav::CreatePlatformSettingsStore();
    const std::unique_ptr<zav::IFileSystem> files = zav::CreatePlatformFileSystem();
    const QString title = zav::qt::ApplicationTitleOf(QCoreApplication::applicationFilePath());

    zav::qt::FrontEnd frontEnd(*settings, *files, title);
    frontEnd.Start();
    if (const std::optional<int> code = termination.ExitCode()) {
        return *code;
    }
    return QApplication::exec();
}
