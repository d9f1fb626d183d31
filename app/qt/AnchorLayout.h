#pragma once

#include <QLayout>
#include <vector>

#include "app/MainWindowDesign.h"

namespace zav::qt {

// Places each control where the window's design puts it, scaled to the screen's resolution and
// moved or stretched with the edges it is anchored to; the same rule as on Windows.
class AnchorLayout final : public QLayout {
public:
    AnchorLayout(QWidget* parent, LayoutSize designedClient, int dpi);
    ~AnchorLayout() override;

    // A label keeps the size of its caption; anything added otherwise stays at the top left.
    void Add(QWidget* control, const design::Control& design);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        LayoutRect designed;
        Anchors anchors;
        bool sizedToContent;
    };

    LayoutSize designedClient_;
    int dpi_;
    std::vector<Entry> entries_;
};

}  // namespace zav::qt
