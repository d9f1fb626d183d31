#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace zav::qt {

// The shown filter entry and the files it lists.
extern const QString kAccountingFilter;
extern const QStringList kAccountingPatterns;

// The file-open dialog of the main window: one filter entry for accounting files, only an
// existing file can be chosen, and the file chosen last stands in the file-name field at the next
// opening.
class OpenDialog {
public:
    // Opens the dialog modal over parent, in initialFolder when that folder can be opened.
    // Gives the chosen file's full path, or nothing on cancel.
    std::optional<QString> Execute(QWidget* parent, const QString& initialFolder);

    const QString& LastChosen() const { return lastChosen_; }

private:
    QString lastChosen_;
};

}  // namespace zav::qt
