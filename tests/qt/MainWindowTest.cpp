#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPushButton>
#include <QRadioButton>

#include "QtTestSupport.h"
#include "app/qt/AnchorLayout.h"
#include "app/qt/AppIcon.h"
#include "app/qt/MainWindow.h"

namespace zav::qt {
namespace {

struct Designed {
    const char* name;
    QString caption;
    QRect rect;
    Anchors anchors;
};

const Designed kControls[] = {
    {"edtDatabasePath", "", QRect(8, 45, 458, 26), {true, true, true, false}},
    {"btnBrowse", "...", QRect(475, 45, 26, 25), {false, true, true, false}},
    {"rbTrafik", "Update Trafik Daten", QRect(27, 134, 174, 17), {true, true, false, false}},
    {"rbGastro", "Update Gastro Daten", QRect(27, 168, 174, 17), {true, true, false, false}},
    {"btnUpdate", "Update", QRect(8, 223, 85, 30), {true, false, false, true}},
    {"btnClose", "Schließen", QRect(416, 223, 85, 30), {false, false, true, true}},
    {"ckbCheckJahr",
     "Überprüfe ob BH Jahr 2020 ist",
     QRect(27, 90, 261, 17),
     {true, true, false, false}},
};

QString CaptionOf(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        return edit->text();
    }
    return {};
}

class MainWindowTest : public ::testing::Test {
protected:
    QWidget* Control(const char* name) {
        return window_.findChild<QWidget*>(QString::fromLatin1(name));
    }

    QApplication& app_ = test::TestApp();  // before any widget
    MainWindow window_;
};

TEST_F(MainWindowTest, ControlsCaptionsAndStartState) {
    EXPECT_EQ(window_.windowTitle(), "ZAV - Corona Update");
    EXPECT_EQ(window_.lblFilePath->text(), "Datei Pfad");
    for (const Designed& d : kControls) {
        QWidget* control = Control(d.name);
        ASSERT_NE(control, nullptr) << d.name;
        EXPECT_EQ(CaptionOf(control), d.caption) << d.name;
    }
    EXPECT_TRUE(window_.rbTrafik->isChecked());
    EXPECT_FALSE(window_.rbGastro->isChecked());
    EXPECT_TRUE(window_.rbGastro->isHidden());
    EXPECT_TRUE(window_.ckbCheckJahr->isChecked());
    EXPECT_EQ(window_.rbTrafik->parentWidget(), window_.rbGastro->parentWidget());
    for (QPushButton* button : window_.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, DesignedGeometryScaledToTheScreen) {
    window_.show();
    const double scale = window_.Scale();
    EXPECT_EQ(window_.size(), QSize(Scaled(509, scale), Scaled(261, scale)));
    for (const Designed& d : kControls) {
        EXPECT_EQ(Control(d.name)->geometry(), Scaled(d.rect, scale)) << d.name;
    }
    EXPECT_EQ(window_.lblFilePath->pos(), QPoint(Scaled(10, scale), Scaled(26, scale)));
    EXPECT_EQ(window_.lblFilePath->size(), window_.lblFilePath->sizeHint());
}

TEST_F(MainWindowTest, ArialSixteenPixelsOrItsMetricTwin) {
    const QFont font = window_.edtDatabasePath->font();
    EXPECT_EQ(font.pixelSize(), Scaled(16, window_.Scale()));
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
    EXPECT_EQ(window_.btnClose->font(), font);
}

TEST_F(MainWindowTest, TabOrderAndFocusOnThePathBox) {
    const std::vector<QWidget*> expected = {
        window_.edtDatabasePath, window_.btnBrowse, window_.rbTrafik,     window_.rbGastro,
        window_.btnUpdate,       window_.btnClose,  window_.ckbCheckJahr,
    };
    std::vector<QWidget*> chain;
    QWidget* widget = window_.edtDatabasePath;
    do {
        if (std::find(expected.begin(), expected.end(), widget) != expected.end()) {
            chain.push_back(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != window_.edtDatabasePath);
    EXPECT_EQ(chain, expected);
    for (QWidget* control : expected) {
        EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus) << control->objectName().toStdString();
    }

    window_.show();
    EXPECT_EQ(window_.focusWidget(), window_.edtDatabasePath);
}

TEST_F(MainWindowTest, ResizeKeepsEachControlsAnchoredEdges) {
    window_.show();
    const double scale = window_.Scale();
    const QSize designed(Scaled(509, scale), Scaled(261, scale));
    for (const QSize& grown : {QSize(120, 50), QSize(-60, -20)}) {
        window_.resize(designed + grown);
        for (const Designed& d : kControls) {
            QRect expected = Scaled(d.rect, scale);
            if (d.anchors.left && d.anchors.right) {
                expected.setWidth(expected.width() + grown.width());
            } else if (d.anchors.right) {
                expected.translate(grown.width(), 0);
            }
            if (d.anchors.bottom) {
                expected.translate(0, grown.height());
            }
            EXPECT_EQ(Control(d.name)->geometry(), expected) << d.name;
        }
    }
}

TEST(AnchoredRect, StretchMoveOrStay) {
    const QSize designed(509, 261);
    const QSize client(609, 311);
    const QRect rect(10, 20, 30, 40);
    EXPECT_EQ(AnchoredRect(rect, {true, true, false, false}, designed, client), rect);
    EXPECT_EQ(AnchoredRect(rect, {true, true, true, false}, designed, client),
              QRect(10, 20, 130, 40));
    EXPECT_EQ(AnchoredRect(rect, {false, true, true, false}, designed, client),
              QRect(110, 20, 30, 40));
    EXPECT_EQ(AnchoredRect(rect, {true, false, false, true}, designed, client),
              QRect(10, 70, 30, 40));
    EXPECT_EQ(AnchoredRect(rect, {true, true, true, true}, designed, client),
              QRect(10, 20, 130, 90));
    // A stretched control never gets a negative size.
    EXPECT_EQ(AnchoredRect(rect, {true, true, true, false}, designed, QSize(400, 261)).width(), 0);
    EXPECT_EQ(Scaled(QRect(8, 45, 458, 26), 1.25), QRect(10, 56, 573, 33));
}

TEST(AppIcon, HasEveryDesignedSize) {
    test::TestApp();
    const QIcon icon = CreateAppIcon();
    for (int size : {16, 24, 32, 48, 256}) {
        EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size)) << size;
    }
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_EQ(sizes.size(), 5);
}

}  // namespace
}  // namespace zav::qt
