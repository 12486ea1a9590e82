#include "platform/controls/TabControl.h"

#include "platform/automation/AutomationError.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace controls {

namespace {
void checkIndex(int index, int count) {
    if (index < 0 || index >= count) automation::raise(automation::err::InvalidCall, QStringLiteral("tab %1").arg(index));
}
}  // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->move(0, 0);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (index < 0 || index == current_) return;
        const int previous = current_;
        current_ = index;
        applyVisibility();
        emit click(previous);
    });
}

void TabControl::setTabCaptions(const QStringList& captions) {
    const QSignalBlocker block(bar_);
    while (bar_->count()) bar_->removeTab(0);
    for (const QString& c : captions) bar_->addTab(c);
    children_.resize(captions.size());
    current_ = 0;
    bar_->setCurrentIndex(current_);
    bar_->resize(bar_->sizeHint().width(), bar_->sizeHint().height());
    applyVisibility();
}

int TabControl::tabs() const { return bar_->count(); }

QString TabControl::tabCaption(int index) const {
    checkIndex(index, tabs());
    return bar_->tabText(index);
}

void TabControl::setTabCaption(int index, const QString& caption) {
    checkIndex(index, tabs());
    bar_->setTabText(index, caption);
    bar_->resize(bar_->sizeHint());
}

int TabControl::tab() const { return current_; }

void TabControl::setTab(int index) {
    checkIndex(index, tabs());
    if (!bar_->isTabEnabled(index)) automation::raise(automation::err::InvalidCall, QStringLiteral("tab %1 is not available").arg(index));
    bar_->setCurrentIndex(index);  // raises click through currentChanged when it changes
}

bool TabControl::tabEnabled(int index) const {
    checkIndex(index, tabs());
    return bar_->isTabEnabled(index);
}

void TabControl::setTabEnabled(int index, bool enabled) {
    checkIndex(index, tabs());
    // QTabBar moves off a disabled current tab by itself; that move is not the operator's click.
    const QSignalBlocker block(bar_);
    bar_->setTabEnabled(index, enabled);
    if (bar_->currentIndex() != current_ && bar_->currentIndex() >= 0) {
        current_ = bar_->currentIndex();
        applyVisibility();
    }
}

int TabControl::tabHeightPixels() const { return bar_->sizeHint().height(); }

void TabControl::addToTab(int index, QWidget* child) {
    checkIndex(index, tabs());
    if (child->parentWidget() != this) child->setParent(this);
    children_[index].append(child);
    child->setVisible(index == current_);
    bar_->raise();
}

void TabControl::applyVisibility() {
    for (int i = 0; i < children_.size(); ++i)
        for (const QPointer<QWidget>& w : children_[i])
            if (w) w->setVisible(i == current_);
}

void TabControl::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    bar_->resize(qMin(width(), bar_->sizeHint().width()), bar_->sizeHint().height());
}

void TabControl::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = QRect(0, tabHeightPixels() - 1, width(), height() - tabHeightPixels() + 1);
    opt.shape = QTabBar::RoundedNorth;
    opt.tabBarSize = bar_->sizeHint();
    opt.tabBarRect = QRect(QPoint(0, 0), bar_->sizeHint());
    p.drawPrimitive(QStyle::PE_FrameTabWidget, opt);
}

}  // namespace controls
