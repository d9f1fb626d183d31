#include "app/qt/QtMainView.h"

#include "app/qt/MessageDialogs.h"

namespace zav::qt {

std::string QtMainView::DatabasePath() const {
    return window_.DatabasePath().toStdString();
}

void QtMainView::SetDatabasePath(const std::string& path) {
    window_.SetDatabasePath(QString::fromStdString(path));
}

bool QtMainView::CheckJahrChecked() const {
    return window_.CheckJahrChecked();
}

bool QtMainView::TrafikSelected() const {
    return window_.TrafikSelected();
}

bool QtMainView::GastroSelected() const {
    return window_.GastroSelected();
}

int QtMainView::ShowMessage(const std::string& text, DialogKind kind) {
    return ShowMessageDialog(&window_, QString::fromStdString(text), kind);
}

std::optional<std::string> QtMainView::ExecuteOpenDialog(const std::string& initialFolder) {
    const std::optional<QString> chosen =
        openDialog_.Execute(&window_, QString::fromStdString(initialFolder));
    if (!chosen) {
        return std::nullopt;
    }
    return chosen->toStdString();
}

void QtMainView::CloseWindow() {
    window_.close();
}

}  // namespace zav::qt
