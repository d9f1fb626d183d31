#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPushButton>
#include <QRadioButton>

#include "QtTestSupport.h"
#include "app/MainWindowDesign.h"
#include "app/qt/AppIcon.h"
#include "app/qt/MainWindow.h"

namespace zav::qt {
namespace {

using namespace design;
using test::Find;

QRect Scaled(const LayoutRect& rect, int dpi) {
    return QRect(ScaleToDpi(rect.left, dpi), ScaleToDpi(rect.top, dpi), ScaleToDpi(rect.width, dpi),
                 ScaleToDpi(rect.height, dpi));
}

QString CaptionOf(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
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
    QApplication& app_ = test::TestApp();  // before any widget
    MainWindow window_;
};

TEST_F(MainWindowTest, ControlsCaptionsAndStartState) {
    EXPECT_EQ(window_.windowTitle(), "ZAV - Corona Update");
    EXPECT_EQ(Find<QLabel>(&window_, "lblFilePath")->text(), "Datei Pfad");
    for (const design::Control& d : kControls) {
        EXPECT_EQ(CaptionOf(Find(&window_, d.name)), QString::fromUtf8(d.caption)) << d.name;
    }
    EXPECT_TRUE(Find<QRadioButton>(&window_, "rbTrafik")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(&window_, "rbGastro")->isChecked());
    EXPECT_TRUE(Find(&window_, "rbGastro")->isHidden());
    EXPECT_TRUE(Find<QCheckBox>(&window_, "ckbCheckJahr")->isChecked());
    EXPECT_EQ(Find(&window_, "rbTrafik")->parent(), Find(&window_, "rbGastro")->parent());
    for (QPushButton* button : window_.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, DesignedGeometryScaledToTheScreen) {
    window_.show();
    const int dpi = window_.Dpi();
    EXPECT_EQ(window_.size(), QSize(ScaleToDpi(509, dpi), ScaleToDpi(261, dpi)));
    for (const design::Control& d : kControls) {
        if (d.kind != Kind::Label) {
            EXPECT_EQ(Find(&window_, d.name)->geometry(), Scaled(d.rect, dpi)) << d.name;
        }
    }
    EXPECT_EQ(Find(&window_, "lblFilePath")->pos(),
              QPoint(ScaleToDpi(10, dpi), ScaleToDpi(26, dpi)));
    EXPECT_EQ(Find(&window_, "lblFilePath")->size(), Find(&window_, "lblFilePath")->sizeHint());
}

TEST_F(MainWindowTest, ArialSixteenPixelsOrItsMetricTwin) {
    const QFont font = Find(&window_, "edtDatabasePath")->font();
    EXPECT_EQ(font.pixelSize(), ScaleToDpi(16, window_.Dpi()));
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
    EXPECT_EQ(Find(&window_, "btnClose")->font(), font);
}

TEST_F(MainWindowTest, TabOrderAndFocusOnThePathBox) {
    std::vector<QWidget*> expected;
    for (const char* name : {"edtDatabasePath", "btnBrowse", "rbTrafik", "rbGastro", "btnUpdate",
                             "btnClose", "ckbCheckJahr"}) {
        expected.push_back(Find(&window_, name));
    }
    std::vector<QWidget*> chain;
    QWidget* widget = expected.front();
    do {
        if (std::find(expected.begin(), expected.end(), widget) != expected.end()) {
            chain.push_back(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != expected.front());
    EXPECT_EQ(chain, expected);
    for (QWidget* control : expected) {
        EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus) << control->objectName().toStdString();
    }

    window_.show();
    EXPECT_EQ(window_.focusWidget(), expected.front());
}

TEST_F(MainWindowTest, ResizeKeepsEachControlsAnchoredEdges) {
    window_.show();
    const int dpi = window_.Dpi();
    const QSize designed(ScaleToDpi(509, dpi), ScaleToDpi(261, dpi));
    for (const QSize& grown : {QSize(120, 50), QSize(-60, -20)}) {
        window_.resize(designed + grown);
        for (const design::Control& d : kControls) {
            if (d.kind == Kind::Label) {
                continue;
            }
            QRect expected = Scaled(d.rect, dpi);
            if (d.anchors.left && d.anchors.right) {
                expected.setWidth(expected.width() + grown.width());
            } else if (d.anchors.right) {
                expected.translate(grown.width(), 0);
            }
            if (d.anchors.bottom) {
                expected.translate(0, grown.height());
            }
            EXPECT_EQ(Find(&window_, d.name)->geometry(), expected) << d.name;
        }
    }
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
