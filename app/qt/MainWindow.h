#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>
#include <utility>

namespace zav::qt {

// What the window forwards to the form.
struct MainWindowEvents {
    std::function<void()> browseClick;
    std::function<void()> updateClick;
    std::function<void()> closeClick;
    // Before the window closes: false keeps it open.
    std::function<bool()> closeQuery;
};

// The main window as designed, scaled to the screen; an AnchorLayout keeps each control's
// anchored edges when the window is resized. It only shows and forwards; FrontEnd hands its
// events to TForm1. Tests find the controls by their object names.
class MainWindow : public QWidget {
public:
    MainWindow();

    void SetEvents(MainWindowEvents events) { events_ = std::move(events); }
    // The screen's resolution the window is scaled to.
    int Dpi() const { return dpi_; }

    // What the view reads from and writes to the controls.
    QString DatabasePath() const { return edtDatabasePath->text(); }
    void SetDatabasePath(const QString& path) { edtDatabasePath->setText(path); }
    bool CheckJahrChecked() const { return ckbCheckJahr->isChecked(); }
    bool TrafikSelected() const { return rbTrafik->isChecked(); }
    bool GastroSelected() const { return rbGastro->isChecked(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int dpi_;
    MainWindowEvents events_;
    QLabel* lblFilePath;
    QLineEdit* edtDatabasePath;
    QPushButton* btnBrowse;
    QRadioButton* rbTrafik;
    QRadioButton* rbGastro;
    QPushButton* btnUpdate;
    QPushButton* btnClose;
    QCheckBox* ckbCheckJahr;
};

}  // namespace zav::qt
