#include "app/qt/AnchorLayout.h"

#include <QWidget>

namespace zav::qt {

AnchorLayout::AnchorLayout(QWidget* parent, LayoutSize designedClient, int dpi)
    : QLayout(parent), designedClient_(designedClient), dpi_(dpi) {
    setContentsMargins(0, 0, 0, 0);
}

AnchorLayout::~AnchorLayout() {
    while (QLayoutItem* item = takeAt(0)) {
        delete item;
    }
}

void AnchorLayout::Add(QWidget* control, const design::Control& design) {
    addChildWidget(control);
    entries_.push_back({new QWidgetItem(control), design.rect, design.anchors,
                        design.kind == design::Kind::Label});
    invalidate();
}

void AnchorLayout::addItem(QLayoutItem* item) {
    entries_.push_back({item, {}, {}, true});
}

QLayoutItem* AnchorLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? entries_[index].item : nullptr;
}

QLayoutItem* AnchorLayout::takeAt(int index) {
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    QLayoutItem* item = entries_[index].item;
    entries_.erase(entries_.begin() + index);
    return item;
}

int AnchorLayout::count() const {
    return static_cast<int>(entries_.size());
}

QSize AnchorLayout::sizeHint() const {
    return {ScaleToDpi(designedClient_.width, dpi_), ScaleToDpi(designedClient_.height, dpi_)};
}

void AnchorLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    for (const Entry& entry : entries_) {
        const LayoutRect placed = PlaceAnchored(entry.designed, entry.anchors, designedClient_,
                                                {rect.width(), rect.height()}, dpi_);
        QRect geometry(rect.left() + placed.left, rect.top() + placed.top, placed.width,
                       placed.height);
        if (entry.sizedToContent) {
            geometry.setSize(entry.item->sizeHint());
        }
        // The widget itself: its layout item leaves a hidden widget where it was.
        if (QWidget* widget = entry.item->widget()) {
            widget->setGeometry(geometry);
        } else {
            entry.item->setGeometry(geometry);
        }
    }
}

}  // namespace zav::qt
