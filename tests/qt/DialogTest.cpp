#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>

#include "QtTestSupport.h"
#include "app/qt/MessageDialogs.h"

namespace zav::qt {
namespace {

// What a message box looked like when it came up.
struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;  // left to right
    QString defaultButton;
    Qt::TextFormat format = Qt::AutoText;
};

Seen Inspect(QWidget* dialog) {
    Seen seen;
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (box == nullptr) {
        return seen;
    }
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.format = box->textFormat();
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(),
              [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
    for (QAbstractButton* button : buttons) {
        seen.buttons << button->text();
    }
    if (box->defaultButton() != nullptr) {
        seen.defaultButton = box->defaultButton()->text();
    }
    return seen;
}

// Shows a dialog and answers it with `answer` after recording how it looked.
int ShowAndAnswer(DialogKind kind, const QString& text, test::DialogScript::Step answer,
                  Seen& seen) {
    test::DialogScript script;
    script.Then([&](QWidget* dialog) {
        seen = Inspect(dialog);
        return answer(dialog);
    });
    const int result = ShowMessageDialog(nullptr, text, kind);
    EXPECT_TRUE(script.Done());
    EXPECT_FALSE(script.GaveUp());
    return result;
}

TEST(MessageDialogs, ConfirmationAsksJaOrNein) {
    test::TestApp();
    Seen seen;
    const QString question =
        "TRAFIK Update! Änderungen können nicht wieder rückgängig gemacht werden.\r\n\r\n"
        "Update starten? ";
    EXPECT_EQ(ShowAndAnswer(DialogKind::Confirmation, question, test::ClickButton("&Ja"), seen),
              kResultYes);
    EXPECT_EQ(seen.title, "Bestätigen");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QStringList({"&Ja", "&Nein"}));
    EXPECT_EQ(seen.defaultButton, "&Ja");
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text,
              "TRAFIK Update! Änderungen können nicht wieder rückgängig gemacht werden.\n\n"
              "Update starten? ");

    EXPECT_EQ(ShowAndAnswer(DialogKind::Confirmation, "?", test::ClickButton("&Nein"), seen),
              kResultNo);
    EXPECT_EQ(
        ShowAndAnswer(DialogKind::Confirmation, "?", test::PressKeyStep(Qt::Key_Return), seen),
        kResultYes);
    EXPECT_NE(
        ShowAndAnswer(DialogKind::Confirmation, "?", test::PressKeyStep(Qt::Key_Escape), seen),
        kResultYes);
    EXPECT_NE(ShowAndAnswer(
                  DialogKind::Confirmation, "?",
                  [](QWidget* dialog) {
                      dialog->close();
                      return true;
                  },
                  seen),
              kResultYes);
}

// A style that orders dialog buttons as a given desktop does (GNOME and XFCE: Nein | Ja).
class DesktopButtonOrder : public QProxyStyle {
public:
    explicit DesktopButtonOrder(QDialogButtonBox::ButtonLayout layout)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), layout_(layout) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        return hint == SH_DialogButtonLayout ? layout_
                                             : QProxyStyle::styleHint(hint, option, widget, answer);
    }

private:
    QDialogButtonBox::ButtonLayout layout_;
};

TEST(MessageDialogs, ConfirmationShowsJaLeftOfNeinOnEveryDesktop) {
    test::TestApp();
    const QString styleBefore = QApplication::style()->name();
    for (const auto layout : {QDialogButtonBox::GnomeLayout, QDialogButtonBox::KdeLayout,
                              QDialogButtonBox::MacLayout}) {
        QApplication::setStyle(new DesktopButtonOrder(layout));
        Seen seen;
        ShowAndAnswer(DialogKind::Confirmation, "?", test::ClickButton("&Nein"), seen);
        EXPECT_EQ(seen.buttons, QStringList({"&Ja", "&Nein"})) << "layout " << layout;
    }
    QApplication::setStyle(styleBefore);
}

TEST(MessageDialogs, InformationAndWarningHaveOneOkButton) {
    test::TestApp();
    struct Case {
        DialogKind kind;
        QString title;
        QMessageBox::Icon icon;
    };
    for (const Case& c : {Case{DialogKind::Information, "Informationen", QMessageBox::Information},
                          Case{DialogKind::Warning, "Warnung", QMessageBox::Warning}}) {
        Seen seen;
        EXPECT_EQ(ShowAndAnswer(c.kind, "Noch nicht implementiert.", test::ClickButton("OK"), seen),
                  kResultOk);
        EXPECT_EQ(seen.title, c.title);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, QStringList({"OK"}));
        EXPECT_EQ(seen.defaultButton, "OK");
        EXPECT_EQ(seen.text, "Noch nicht implementiert.");
        EXPECT_EQ(ShowAndAnswer(c.kind, "x", test::PressKeyStep(Qt::Key_Escape), seen), kResultOk);
        EXPECT_EQ(ShowAndAnswer(c.kind, "x", test::PressKeyStep(Qt::Key_Return), seen), kResultOk);
    }
}

TEST(MessageDialogs, ALineWiderThanQtWrapsAtStaysOneLine) {
    test::TestApp();
    const QString line =
        "Die Buchhaltungsdatei wurde aktualisiert, die Sätze der Gastronomie und des Verkehrs "
        "gelten ab dem ersten Juli.";
    int shownWidth = 0;
    int neededWidth = 0;
    test::DialogScript script;
    script.Then([&](QWidget* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text() == line) {
                shownWidth = label->width();
                neededWidth = label->fontMetrics().horizontalAdvance(line);
            }
        }
        return test::ClickButton("OK")(dialog);
    });
    ShowMessageDialog(nullptr, line, DialogKind::Information);
    EXPECT_GT(neededWidth, 500);
    EXPECT_GE(shownWidth, neededWidth);
}

TEST(MessageDialogs, ErrorBoxShowsTheStopIconAndTheApplicationTitle) {
    test::TestApp();
    Seen seen;
    test::DialogScript script;
    script.Then([&](QWidget* dialog) {
        seen = Inspect(dialog);
        return test::ClickButton("OK")(dialog);
    });
    ShowErrorBox(nullptr, "Zavcoronaupdate", "<b>Fehler</b> beim Lesen.");
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(seen.title, "Zavcoronaupdate");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList({"OK"}));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, "<b>Fehler</b> beim Lesen.");
}

}  // namespace
}  // namespace zav::qt
