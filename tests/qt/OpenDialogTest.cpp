#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <utility>

#include "QtTestSupport.h"
#include "support/TempFolder.h"
#include "app/qt/OpenDialog.h"

namespace zav::qt {
namespace {

QFileDialog* AsFileDialog(QWidget* dialog) {
    return qobject_cast<QFileDialog*>(dialog);
}

// Presses the dialog's open button once the script's step has returned: QFileDialog's own
// accept() tests the typed name and may open a dialog of its own.
void Accept(QFileDialog* dialog) {
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
}

QLineEdit* FileNameField(QFileDialog* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// The names the dialog lists in its current folder, once the folder has been read.
std::optional<QStringList> ListedNames(QFileDialog* dialog) {
    auto* model = dialog->findChild<QFileSystemModel*>();
    if (model == nullptr) {
        return std::nullopt;
    }
    const QModelIndex folder = model->index(dialog->directory().absolutePath());
    if (model->canFetchMore(folder)) {
        model->fetchMore(folder);
        return std::nullopt;
    }
    QStringList names;
    for (int row = 0; row < model->rowCount(folder); ++row) {
        names << model->index(row, 0, folder).data().toString();
    }
    names.sort();
    return names;
}

class OpenDialogTest : public ::testing::Test {
protected:
    OpenDialogTest() {
        dir_.WriteFile("Daten/Firma2020.zqd");
        dir_.WriteFile("Daten/Alt2019.ZQD");
        dir_.WriteFile("Daten/settings.fdb");
        dir_.WriteFile("Daten/andere.fdb");
        dir_.WriteFile("Daten/notizen.txt");
        dir_.MakeDir("Daten/Unterordner");
        folder_ = QString::fromStdString((dir_.Path() / "Daten").string());
    }

    test::TempFolder dir_;
    QString folder_;
    OpenDialog dialog_;
};

TEST_F(OpenDialogTest, ListsAccountingFilesInTheInitialFolderAndGivesTheChosenOne) {
    QString filter;
    QString title;
    QStringList listed;
    test::DialogScript script;
    script.Then([&](QWidget* widget) {
        QFileDialog* dialog = AsFileDialog(widget);
        const std::optional<QStringList> names = ListedNames(dialog);
        // The folder is read in the background; the listing settles once it is complete.
        if (!names || !names->contains("Unterordner") || names->size() < 4) {
            return false;
        }
        listed = *names;
        title = dialog->windowTitle();
        filter = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
        FileNameField(dialog)->setText("Firma2020.zqd");
        Accept(dialog);
        return true;
    });
    const std::optional<QString> chosen = dialog_.Execute(nullptr, folder_);
    EXPECT_FALSE(script.GaveUp());
    EXPECT_EQ(chosen, folder_ + "/Firma2020.zqd");
    EXPECT_EQ(title, "Öffnen");
    EXPECT_EQ(filter, "Vorlix Buchhaltung (*.zqd, *.fdb)");
    EXPECT_EQ(listed, QStringList({"Alt2019.ZQD", "Firma2020.zqd", "Unterordner", "settings.fdb"}));
}

TEST_F(OpenDialogTest, CancelGivesNothingAndTheLastChoiceStandsInTheFileNameField) {
    {
        test::DialogScript first;
        first.Then([&](QWidget* widget) {
            FileNameField(AsFileDialog(widget))->setText(folder_ + "/settings.fdb");
            Accept(AsFileDialog(widget));
            return true;
        });
        EXPECT_EQ(dialog_.Execute(nullptr, QString()), folder_ + "/settings.fdb");
    }

    // In the file's own folder the field holds its name; elsewhere the path box's folder wins
    // and the field holds the whole path.
    const QString otherFolder = QString::fromStdString(dir_.Path().string());
    for (const auto& [initialFolder, expectedField] :
         {std::pair{folder_, QString("settings.fdb")},
          std::pair{otherFolder, folder_ + "/settings.fdb"}}) {
        QString fieldText;
        QString shownFolder;
        test::DialogScript second;
        second.Then([&](QWidget* widget) {
            fieldText = FileNameField(AsFileDialog(widget))->text();
            shownFolder = AsFileDialog(widget)->directory().absolutePath();
            AsFileDialog(widget)->reject();
            return true;
        });
        EXPECT_EQ(dialog_.Execute(nullptr, initialFolder), std::nullopt);
        EXPECT_FALSE(second.GaveUp());
        EXPECT_EQ(fieldText, expectedField);
        EXPECT_EQ(shownFolder, initialFolder);
    }
    EXPECT_EQ(dialog_.LastChosen(), folder_ + "/settings.fdb");
}

TEST_F(OpenDialogTest, AMissingFileIsRefusedAndTheDialogStaysOpen) {
    QString refusal;
    test::DialogScript script;
    script
        .Then([&](QWidget* widget) {
            FileNameField(AsFileDialog(widget))->setText("Fehlt2020.zqd");
            Accept(AsFileDialog(widget));
            return true;
        })
        .Then([&](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr) {
                return false;
            }
            refusal = box->text();
            box->accept();
            return true;
        })
        .Then([&](QWidget* widget) {
            if (AsFileDialog(widget) == nullptr) {
                return false;
            }
            AsFileDialog(widget)->reject();
            return true;
        });
    EXPECT_EQ(dialog_.Execute(nullptr, folder_), std::nullopt);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(refusal.contains("Fehlt2020.zqd"));
    EXPECT_TRUE(refusal.contains("Die Datei konnte nicht gefunden werden."))
        << refusal.toStdString();
}

}  // namespace
}  // namespace zav::qt
