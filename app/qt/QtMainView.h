#pragma once

#include "app/MainView.h"
#include "app/qt/MainWindow.h"
#include "app/qt/OpenDialog.h"

namespace zav::qt {

// IMainView over the Qt window's controls and dialogs.
class QtMainView final : public IMainView {
public:
    explicit QtMainView(MainWindow& window) : window_(window) {}

    std::string DatabasePath() const override;
    void SetDatabasePath(const std::string& path) override;
    bool CheckJahrChecked() const override;
    bool TrafikSelected() const override;
    bool GastroSelected() const override;
    int ShowMessage(const std::string& text, DialogKind kind) override;
    std::optional<std::string> ExecuteOpenDialog(const std::string& initialFolder) override;
    void CloseWindow() override;

private:
    MainWindow& window_;
    OpenDialog openDialog_;
};

}  // namespace zav::qt
