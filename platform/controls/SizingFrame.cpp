#include "platform/controls/SizingFrame.h"

#include "platform/controls/Twips.h"

#include <QMouseEvent>
#include <QPainter>

namespace controls {

namespace {
constexpr int kMargin = 3;   // the frame's border around the control
constexpr int kGrip = 7;     // the lower right corner that resizes
}  // namespace

SizingFrame::SizingFrame(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setCursor(Qt::SizeAllCursor);
    hide();
}

void SizingFrame::attach(QWidget* target) {
    target_ = target;
    if (!target) return detach();
    setParent(target->parentWidget());
    cover();
    raise();
    show();
}

void SizingFrame::detach() {
    target_.clear();
    dragging_ = resizing_ = false;
    hide();
    setTwipsLeft(this, -700000);
}

void SizingFrame::cover() {
    if (target_) setGeometry(target_->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin));
}

void SizingFrame::mousePressEvent(QMouseEvent* e) {
    if (!target_ || e->button() != Qt::LeftButton) return;
    pressedAt_ = e->globalPosition().toPoint();
    startGeometry_ = target_->geometry();
    resizing_ = e->position().x() >= width() - kGrip && e->position().y() >= height() - kGrip;
    dragging_ = true;
}

void SizingFrame::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_ || !target_) return;
    const QPoint delta = e->globalPosition().toPoint() - pressedAt_;
    QRect g = startGeometry_;
    if (resizing_) g.setSize(QSize(std::max(8, g.width() + delta.x()), std::max(8, g.height() + delta.y())));
    else g.moveTopLeft(g.topLeft() + delta);
    target_->setGeometry(g);
    cover();
}

void SizingFrame::mouseReleaseEvent(QMouseEvent* e) {
    if (!dragging_ || e->button() != Qt::LeftButton) return;
    dragging_ = resizing_ = false;
    if (target_ && target_->geometry() != startGeometry_) emit changed();
}

void SizingFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(palette().highlight().color(), 1, Qt::DashLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.fillRect(QRect(width() - kGrip, height() - kGrip, kGrip, kGrip), palette().highlight());
}

}  // namespace controls
