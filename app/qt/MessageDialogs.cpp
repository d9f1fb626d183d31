#include "app/qt/MessageDialogs.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>

namespace zav::qt {
namespace {

// A message box that stands in the middle of the screen rather than over its parent.
class ScreenCentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);  // settles the box's size
        const QScreen* screen =
            parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
};

// Message texts come from the program and from the database: never read them as markup, and
// show a Windows line break as one line break.
void SetPlainText(QMessageBox& box, const QString& text) {
    box.setTextFormat(Qt::PlainText);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
}

}  // namespace

QString DialogTitle(DialogKind kind) {
    switch (kind) {
        case DialogKind::Confirmation:
            return QStringLiteral("Bestätigen");
        case DialogKind::Information:
            return QStringLiteral("Informationen");
        case DialogKind::Warning:
            return QStringLiteral("Warnung");
    }
    return {};
}

int ShowMessageDialog(QWidget* parent, const QString& text, DialogKind kind) {
    ScreenCentredMessageBox box(parent);
    box.setWindowTitle(DialogTitle(kind));
    SetPlainText(box, text);
    // The program's own short texts keep their lines, as the Windows dialogs show them; Qt would
    // wrap anything wider than 500 pixels. The label is the one that shows the text.
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text() == box.text()) {
            constexpr int kWidestLine = 900;
            label->setMinimumWidth(
                std::min(label->fontMetrics().size(0, label->text()).width(), kWidestLine));
        }
    }
    if (kind == DialogKind::Confirmation) {
        box.setIcon(QMessageBox::Question);
        QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        // Ja left of Nein on every desktop: the Windows order of the roles, where GNOME, XFCE and
        // macOS would put Nein first.
        box.setStyleSheet(QStringLiteral("QDialogButtonBox { button-layout: %1; }")
                              .arg(QDialogButtonBox::WinLayout));
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? kResultYes : kResultNo;
    }
    box.setIcon(kind == DialogKind::Information ? QMessageBox::Information : QMessageBox::Warning);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return kResultOk;
}

void ShowErrorBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setIcon(QMessageBox::Critical);
    SetPlainText(box, text);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

}  // namespace zav::qt
