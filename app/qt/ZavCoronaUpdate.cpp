#include <QApplication>

#include "app/ErrorBox.h"
#include "app/qt/AppIcon.h"
#include "app/qt/FrontEnd.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zav::qt::InstallGermanTranslation(app);
    QApplication::setWindowIcon(zav::qt::CreateAppIcon());

    const std::unique_ptr<zav::ISettingsStore> settings = zav::CreatePlatformSettingsStore();
    const std::unique_ptr<zav::IFileSystem> files = zav::CreatePlatformFileSystem();
    const QString title = QString::fromStdString(
        zav::ApplicationTitle(QCoreApplication::applicationFilePath().toStdString()));

    zav::qt::FrontEnd frontEnd(*settings, *files, title);
    frontEnd.Start();
    QApplication::exec();
    return 0;
}
