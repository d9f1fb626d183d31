#include "app/qt/MainWindow.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <array>

#include "app/qt/AnchorLayout.h"

namespace zav::qt {
namespace {

using namespace design;

// With high-DPI scaling active Qt already scales logical pixels and reports the base DPI here;
// without it, the screen's DPI tells how much larger everything has to be.
int ScreenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 0;
    return dpi > 0 ? dpi : kDesignDpi;
}

// Arial; Liberation Sans has Arial's metrics where Arial is not installed.
QFont WindowFont(int dpi) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(ScaleToDpi(kFontPixels, dpi));
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

// A click before FrontEnd has set the events does nothing.
void Forward(const std::function<void()>& event) {
    if (event) {
        event();
    }
}

// Outside a dialog no push button is a default one: Enter and Escape do nothing at window level.
QWidget* CreateControl(const Control& design, QWidget* parent) {
    const QString caption = QString::fromUtf8(design.caption);
    switch (design.kind) {
        case Kind::Label:
            return new QLabel(caption, parent);
        case Kind::Edit:
            return new QLineEdit(caption, parent);
        case Kind::PushButton:
            return new QPushButton(caption, parent);
        case Kind::RadioButton:
            return new QRadioButton(caption, parent);
        case Kind::CheckBox:
            return new QCheckBox(caption, parent);
    }
    return nullptr;
}

}  // namespace

MainWindow::MainWindow() : dpi_(ScreenDpi()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setFont(WindowFont(dpi_));

    // Creation order is the focus chain's order.
    auto* layout = new AnchorLayout(this, kClient, dpi_);
    std::array<QWidget*, kCount> controls{};
    for (int i = 0; i < kCount; ++i) {
        controls[i] = CreateControl(kControls[i], this);
        controls[i]->setObjectName(QString::fromLatin1(kControls[i].name));
        controls[i]->setHidden(!kControls[i].shown);
        layout->Add(controls[i], kControls[i]);
    }
    lblFilePath = static_cast<QLabel*>(controls[kLabel]);
    edtDatabasePath = static_cast<QLineEdit*>(controls[kPath]);
    btnBrowse = static_cast<QPushButton*>(controls[kBrowse]);
    rbTrafik = static_cast<QRadioButton*>(controls[kTrafik]);
    rbGastro = static_cast<QRadioButton*>(controls[kGastro]);
    btnUpdate = static_cast<QPushButton*>(controls[kUpdate]);
    btnClose = static_cast<QPushButton*>(controls[kClose]);
    ckbCheckJahr = static_cast<QCheckBox*>(controls[kCheckJahr]);
    connect(btnBrowse, &QPushButton::clicked, this, [this] { Forward(events_.browseClick); });
    connect(btnUpdate, &QPushButton::clicked, this, [this] { Forward(events_.updateClick); });
    connect(btnClose, &QPushButton::clicked, this, [this] { Forward(events_.closeClick); });

    rbTrafik->setChecked(true);
    ckbCheckJahr->setChecked(true);
    edtDatabasePath->setFocus();
    resize(layout->sizeHint());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (events_.closeQuery && !events_.closeQuery()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace zav::qt
