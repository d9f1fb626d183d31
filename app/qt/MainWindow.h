#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <vector>

#include "app/qt/AnchorLayout.h"

namespace zav::qt {

// The main window as designed: its controls at their positions at 96 dpi, scaled to the screen,
// each keeping its anchored edges when the window is resized. It only shows; FrontEnd forwards
// its events to TForm1.
class MainWindow : public QWidget {
public:
    // The client area as designed, at 96 dpi.
    static constexpr int kDesignedWidth = 509;
    static constexpr int kDesignedHeight = 261;

    MainWindow();

    // Screen pixels per designed pixel.
    double Scale() const { return scale_; }

    QLabel* lblFilePath;
    QLineEdit* edtDatabasePath;
    QPushButton* btnBrowse;
    QRadioButton* rbTrafik;
    QRadioButton* rbGastro;
    QPushButton* btnUpdate;
    QPushButton* btnClose;
    QCheckBox* ckbCheckJahr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placement {
        QWidget* control;
        QRect designed;  // scaled to the screen
        Anchors anchors;
    };

    template <typename Control>
    Control* Add(const char* name, const QString& caption, QRect designed, Anchors anchors);

    double scale_;
    QSize designedClient_;
    std::vector<Placement> placements_;
};

}  // namespace zav::qt
