#include "platform/controls/ListControls.h"

#include "platform/automation/AutomationError.h"

#include <QSignalBlocker>

namespace controls {

namespace {
void checkIndex(int index, int count) {
    if (index < 0 || index >= count) automation::raise(automation::err::InvalidCall, QStringLiteral("list index %1").arg(index));
}
}  // namespace

QVariant EntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= texts_.size()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return texts_.at(index.row());
    if (role == Qt::UserRole) return QVariant::fromValue(data_.at(index.row()));
    return {};
}

bool EntryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= texts_.size()) return false;
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        texts_[index.row()] = value.toString();
    else if (role == Qt::UserRole)
        data_[index.row()] = value.toInt();
    else
        return false;
    emit dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags EntryModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

bool EntryModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > texts_.size()) return false;
    beginRemoveRows({}, row, row + count - 1);
    texts_.remove(row, count);
    data_.remove(row, count);
    endRemoveRows();
    return true;
}

void EntryModel::append(const QList<std::pair<QString, qint32>>& entries) {
    if (entries.isEmpty()) return;
    const int first = int(texts_.size());
    beginInsertRows({}, first, first + int(entries.size()) - 1);
    texts_.reserve(first + entries.size());
    data_.reserve(first + entries.size());
    for (const auto& [text, itemData] : entries) {
        texts_.append(text);
        data_.append(itemData);
    }
    endInsertRows();
}

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent), entries_(new EntryModel(this)) {
    setModel(entries_);
    // The operator's pick raises click like a selection from code.
    connect(this, &QComboBox::activated, this, [this](int) { emit click(); });
}

void ComboBox::setListIndex(int index) {
    if (index != -1) checkIndex(index, count());
    setCurrentIndex(index);
    emit click();
}

void ComboBox::addEntry(const QString& text, qint32 itemData) { addEntries({{text, itemData}}); }

void ComboBox::addEntries(const QList<std::pair<QString, qint32>>& entries) {
    if (entries.isEmpty()) return;
    // Qt selects the first entry a combo gets and raises its change events
    // (an editable combo's text changes too); this control selects nothing
    // until told to, so a fill never runs the selection's handlers.
    const bool wasEmpty = count() == 0;
    const QSignalBlocker quiet(wasEmpty ? this : nullptr);
    entries_->append(entries);
    if (wasEmpty) setCurrentIndex(-1);
}

void ComboBox::setEntry(int index, const QString& text, qint32 itemData) {
    if (index == count()) {
        addEntry(text, itemData);
        return;
    }
    checkIndex(index, count());
    setItemText(index, text);
    setItemData(index, QVariant::fromValue(itemData));
}

qint32 ComboBox::itemDataAt(int index) const {
    checkIndex(index, count());
    return entries_->itemData(index);
}

ListBox::ListBox(QWidget* parent) : QListView(parent), entries_(new EntryModel(this)) {
    setModel(entries_);
    setUniformItemSizes(true);
    connect(this, &QListView::clicked, this, [this](const QModelIndex&) { emit click(); });
}

void ListBox::setListIndex(int index) {
    if (index != -1) checkIndex(index, listCount());
    setCurrentIndex(entries_->index(index, 0));
    emit click();
}

void ListBox::addEntry(const QString& text, qint32 itemData) { entries_->append({{text, itemData}}); }

void ListBox::addEntries(const QList<std::pair<QString, qint32>>& entries) { entries_->append(entries); }

qint32 ListBox::itemDataAt(int index) const {
    checkIndex(index, listCount());
    return entries_->itemData(index);
}

QString ListBox::entryText(int index) const {
    checkIndex(index, listCount());
    return entries_->text(index);
}

void ListBox::clearEntries() { entries_->removeRows(0, listCount()); }

QRect ListBox::entryRect(int index) {
    checkIndex(index, listCount());
    scrollTo(entries_->index(index, 0));
    return visualRect(entries_->index(index, 0));
}

}  // namespace controls
