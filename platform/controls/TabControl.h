#pragma once
// A tabbed container in the original tab control's manner: the tab strip is
// part of the control, and the children of every tab are positioned in the
// control's own coordinates, strip included. A tab switch shows the children
// of the new tab and hides those of the others, then raises click with the
// previous tab's index.
#include <QList>
#include <QPointer>
#include <QWidget>

class QTabBar;

namespace controls {

class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    void setTabCaptions(const QStringList& captions);
    int tabs() const;
    QString tabCaption(int index) const;
    void setTabCaption(int index, const QString& caption);

    int tab() const;
    // Makes a tab active (raises click when it changes); a disabled tab cannot become active.
    void setTab(int index);

    bool tabEnabled(int index) const;
    // Disabling the active tab activates another one without raising click.
    void setTabEnabled(int index, bool enabled);

    // Height of the tab strip, in pixels.
    int tabHeightPixels() const;

    // Puts a child widget (of this control) on a tab: it is visible only while that tab is active.
    void addToTab(int index, QWidget* child);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

signals:
    void click(int previousTab);

private:
    void applyVisibility();

    QTabBar* bar_;
    QList<QList<QPointer<QWidget>>> children_;
    int current_ = 0;
};

}  // namespace controls
