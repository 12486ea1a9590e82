#pragma once
// List and combo boxes with the original platform's rule: selecting an entry
// from code raises the control's click exactly as the operator's pick does,
// also when the entry was already selected. Every entry carries a 32-bit item
// data value. Handlers connect to click() and read listIndex()/itemData().
#include <QAbstractListModel>
#include <QComboBox>
#include <QListView>
#include <utility>

namespace controls {

// The entries of a list or combo box: a text and an item data value each.
// Entries come only through append: filling appends every entry in one
// change, so a list of hundreds costs its views one update, not one per entry.
class EntryModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(texts_.size()); }
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    void append(const QList<std::pair<QString, qint32>>& entries);
    QString text(int row) const { return texts_.at(row); }
    qint32 itemData(int row) const { return data_.at(row); }

private:
    QList<QString> texts_;
    QList<qint32> data_;
};

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
    EntryModel* entries_;
    QString tag_;
};

class ListBox : public QListView {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    int listCount() const { return entries_->rowCount(); }
    int listIndex() const { return currentIndex().isValid() ? currentIndex().row() : -1; }
    void setListIndex(int index);
    void addEntry(const QString& text, qint32 itemData);
    void addEntries(const QList<std::pair<QString, qint32>>& entries);
    qint32 itemDataAt(int index) const;
    QString entryText(int index) const;
    void clearEntries();
    // Where entry `index` is drawn, in the viewport, once scrolled into view.
    QRect entryRect(int index);

signals:
    void click();

private:
    EntryModel* entries_;
};

}  // namespace controls
