#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>

namespace zav::qt {

// The main window as designed, scaled to the screen; an AnchorLayout keeps each control's
// anchored edges when the window is resized. It only shows; FrontEnd forwards its events to
// TForm1.
class MainWindow : public QWidget {
public:
    MainWindow();

    // The screen's resolution the window is scaled to.
    int Dpi() const { return dpi_; }

    QLabel* lblFilePath;
    QLineEdit* edtDatabasePath;
    QPushButton* btnBrowse;
    QRadioButton* rbTrafik;
    QRadioButton* rbGastro;
    QPushButton* btnUpdate;
    QPushButton* btnClose;
    QCheckBox* ckbCheckJahr;

    // Asked before the window closes; false keeps it open.
    std::function<bool()> closeQuery;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int dpi_;
};

}  // namespace zav::qt
