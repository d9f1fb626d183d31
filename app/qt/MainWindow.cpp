#include "app/qt/MainWindow.h"

#include <QFont>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

namespace zav::qt {
namespace {

constexpr double kDesignedDpi = 96.0;
constexpr int kFontPixels = 16;

// With high-DPI scaling active Qt already scales logical pixels and reports the base DPI here;
// without it, the screen's DPI tells how much larger everything has to be.
double ScreenScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return 1.0;
    }
    const double dpi = screen->logicalDotsPerInch();
    return dpi > 0 ? dpi / kDesignedDpi : 1.0;
}

// Arial at 16 pixels; Liberation Sans has Arial's metrics where Arial is not installed.
QFont WindowFont(double scale) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(Scaled(kFontPixels, scale));
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

constexpr Anchors kLeftTop{true, true, false, false};
constexpr Anchors kLeftTopRight{true, true, true, false};
constexpr Anchors kTopRight{false, true, true, false};
constexpr Anchors kLeftBottom{true, false, false, true};
constexpr Anchors kRightBottom{false, false, true, true};

}  // namespace

template <typename Control>
Control* MainWindow::Add(const char* name, const QString& caption, QRect designed,
                         Anchors anchors) {
    auto* control = new Control(caption, this);
    control->setObjectName(QString::fromLatin1(name));
    placements_.push_back({control, Scaled(designed, scale_), anchors});
    return control;
}

MainWindow::MainWindow()
    : scale_(ScreenScale()),
      designedClient_(Scaled(kDesignedWidth, scale_), Scaled(kDesignedHeight, scale_)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ZAV - Corona Update"));
    setFont(WindowFont(scale_));

    // Creation order as designed.
    lblFilePath =
        Add<QLabel>("lblFilePath", QStringLiteral("Datei Pfad"), QRect(10, 26, 75, 18), kLeftTop);
    edtDatabasePath =
        Add<QLineEdit>("edtDatabasePath", QString(), QRect(8, 45, 458, 26), kLeftTopRight);
    btnBrowse =
        Add<QPushButton>("btnBrowse", QStringLiteral("..."), QRect(475, 45, 26, 25), kTopRight);
    rbTrafik = Add<QRadioButton>("rbTrafik", QStringLiteral("Update Trafik Daten"),
                                 QRect(27, 134, 174, 17), kLeftTop);
    rbGastro = Add<QRadioButton>("rbGastro", QStringLiteral("Update Gastro Daten"),
                                 QRect(27, 168, 174, 17), kLeftTop);
    btnUpdate =
        Add<QPushButton>("btnUpdate", QStringLiteral("Update"), QRect(8, 223, 85, 30), kLeftBottom);
    btnClose = Add<QPushButton>("btnClose", QStringLiteral("Schließen"), QRect(416, 223, 85, 30),
                                kRightBottom);
    ckbCheckJahr = Add<QCheckBox>("ckbCheckJahr", QStringLiteral("Überprüfe ob BH Jahr 2020 ist"),
                                  QRect(27, 90, 261, 17), kLeftTop);

    // The label is sized to its caption.
    lblFilePath->adjustSize();
    placements_.front().designed.setSize(lblFilePath->size());

    rbTrafik->setChecked(true);
    rbGastro->setChecked(false);
    rbGastro->hide();
    ckbCheckJahr->setChecked(true);

    // Enter and Escape do nothing at window level: no button is a default one.
    for (QPushButton* button : {btnBrowse, btnUpdate, btnClose}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // The check box comes last although it sits above the radio buttons.
    setTabOrder(edtDatabasePath, btnBrowse);
    setTabOrder(btnBrowse, rbTrafik);
    setTabOrder(rbTrafik, rbGastro);
    setTabOrder(rbGastro, btnUpdate);
    setTabOrder(btnUpdate, btnClose);
    setTabOrder(btnClose, ckbCheckJahr);
    edtDatabasePath->setFocus();

    resize(designedClient_);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const Placement& placement : placements_) {
        placement.control->setGeometry(
            AnchoredRect(placement.designed, placement.anchors, designedClient_, event->size()));
    }
}

}  // namespace zav::qt
