#pragma once
// The sizing frame of customize mode: a frame laid over one control of a
// form; dragging it moves the control, dragging its lower right corner
// resizes it, and every finished drag reports a change.
#include <QFrame>
#include <QPointer>

namespace controls {

class SizingFrame : public QFrame {
    Q_OBJECT
public:
    explicit SizingFrame(QWidget* parent = nullptr);

    // Moves into the target's container and covers it.
    void attach(QWidget* target);
    // Switched off, hidden and parked out of sight.
    void detach();
    QWidget* target() const { return target_; }

signals:
    void changed();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void cover();
    QPointer<QWidget> target_;
    QPoint pressedAt_;
    QRect startGeometry_;
    bool resizing_ = false;
    bool dragging_ = false;
};

}  // namespace controls
