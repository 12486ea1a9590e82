#pragma once
// List and combo boxes with the original platform's rule: selecting an entry
// from code raises the control's click exactly as the operator's pick does,
// also when the entry was already selected. Every entry carries a 32-bit item
// data value. Handlers connect to click() and read listIndex()/itemData().
#include <QComboBox>
#include <QListWidget>
#include <utility>

namespace controls {

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

    int listCount() const { return count(); }
    int listIndex() const { return currentIndex(); }
    // Selects the entry (-1: none) and raises click.
    void setListIndex(int index);
    // Appends an entry; the selection stays as it was (none in an empty combo).
    void addEntry(const QString& text, qint32 itemData);
    // The same for many entries at once (one change for the list's view).
    void addEntries(const QList<std::pair<QString, qint32>>& entries);
    // Sets entry `index` (appending when index == count) like the platform's List(i).
    void setEntry(int index, const QString& text, qint32 itemData);
    qint32 itemDataAt(int index) const;
    void clearEntries() { clear(); }

    // The string the platform kept in a control's Tag.
    QString tag() const { return tag_; }
    void setTag(const QString& t) { tag_ = t; }

signals:
    void click();

private:
    QString tag_;
};

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    int listCount() const { return count(); }
    int listIndex() const { return currentRow(); }
    void setListIndex(int index);
    void addEntry(const QString& text, qint32 itemData);
    qint32 itemDataAt(int index) const;
    QString entryText(int index) const;
    void clearEntries() { clear(); }

signals:
    void click();
};

}  // namespace controls
