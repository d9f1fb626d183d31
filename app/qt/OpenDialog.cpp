#include "app/qt/OpenDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLineEdit>

namespace zav::qt {

const QString kAccountingFilter = QStringLiteral("Vorlix Buchhaltung (*.zqd, *.fdb)");
const QStringList kAccountingPatterns = {QStringLiteral("*.zqd"), QStringLiteral("settings.fdb")};

namespace {

// Qt reads the patterns out of the shown entry, which names *.fdb but lists only settings.fdb;
// the dialog's file system model, the source of the proxy the dialog is given, gets the patterns
// the entry stands for instead.
void ApplyAccountingPatterns(const QAbstractProxyModel& proxy) {
    if (auto* model = qobject_cast<QFileSystemModel*>(proxy.sourceModel())) {
        model->setNameFilters(kAccountingPatterns);
    }
}

}  // namespace

std::optional<QString> OpenDialog::Execute(QWidget* parent, const QString& initialFolder) {
    QFileDialog dialog(parent);
    // Qt's own dialog everywhere, so the filter above and the German labels hold.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QFileDialog::tr("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(kAccountingFilter);
    auto* proxy = new QIdentityProxyModel;  // the dialog takes it over
    dialog.setProxyModel(proxy);
    ApplyAccountingPatterns(*proxy);
    QObject::connect(&dialog, &QFileDialog::filterSelected,
                     [proxy](const QString&) { ApplyAccountingPatterns(*proxy); });

    const bool startsInInitialFolder = !initialFolder.isEmpty() && QFileInfo(initialFolder).isDir();
    if (startsInInitialFolder) {
        dialog.setDirectory(initialFolder);
    }
    if (!lastChosen_.isEmpty()) {
        const QFileInfo last(lastChosen_);
        if (!startsInInitialFolder || last.absoluteDir() == dialog.directory()) {
            dialog.selectFile(lastChosen_);
        } else if (auto* fileName = dialog.findChild<QLineEdit*>()) {
            // selectFile would move the dialog to the file's folder: the path box's folder wins,
            // and the file-name field, the dialog's only line edit, holds the whole path.
            fileName->setText(lastChosen_);
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    lastChosen_ = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    return lastChosen_;
}

}  // namespace zav::qt
