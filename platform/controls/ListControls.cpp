#include "platform/controls/ListControls.h"

#include "platform/automation/AutomationError.h"

#include <QSignalBlocker>
#include <QStandardItemModel>

namespace controls {

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
    // The operator's pick raises click like a selection from code.
    connect(this, &QComboBox::activated, this, [this](int) { emit click(); });
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= count()) automation::raise(automation::err::InvalidCall, QStringLiteral("list index %1").arg(index));
    setCurrentIndex(index);
    emit click();
}

void ComboBox::addEntry(const QString& text, qint32 itemData) {
    if (count() > 0) {
        addItem(text, QVariant::fromValue(itemData));
        return;
    }
    // Qt selects the first entry a combo gets and raises its change events
    // (an editable combo's text changes too); this control selects nothing
    // until told to, so a fill never runs the selection's handlers.
    const QSignalBlocker quiet(this);
    addItem(text, QVariant::fromValue(itemData));
    setCurrentIndex(-1);
}

void ComboBox::addEntries(const QList<std::pair<QString, qint32>>& entries) {
    auto* items = qobject_cast<QStandardItemModel*>(model());
    if (!items || entries.isEmpty()) {
        for (const auto& [text, itemData] : entries) addEntry(text, itemData);
        return;
    }
    QList<QStandardItem*> rows;
    rows.reserve(entries.size());
    for (const auto& [text, itemData] : entries) {
        auto* item = new QStandardItem(text);
        item->setData(QVariant::fromValue(itemData), Qt::UserRole);
        rows << item;
    }
    const bool wasEmpty = count() == 0;
    const QSignalBlocker quiet(wasEmpty ? this : nullptr);
    items->invisibleRootItem()->appendRows(rows);
    if (wasEmpty) setCurrentIndex(-1);
}

void ComboBox::setEntry(int index, const QString& text, qint32 itemData) {
    if (index == count()) {
        addEntry(text, itemData);
        return;
    }
    if (index < 0 || index > count()) automation::raise(automation::err::InvalidCall, QStringLiteral("list index %1").arg(index));
    setItemText(index, text);
    setItemData(index, QVariant::fromValue(itemData));
}

qint32 ComboBox::itemDataAt(int index) const {
    if (index < 0 || index >= count()) automation::raise(automation::err::InvalidCall, QStringLiteral("list index %1").arg(index));
    return itemData(index).toInt();
}

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) { emit click(); });
}

void ListBox::setListIndex(int index) {
    if (index < -1 || index >= count()) automation::raise(automation::err::InvalidCall, QStringLiteral("list index %1").arg(index));
    setCurrentRow(index);
    emit click();
}

void ListBox::addEntry(const QString& text, qint32 itemData) {
    auto* item = new QListWidgetItem(text, this);
    item->setData(Qt::UserRole, QVariant::fromValue(itemData));
}

qint32 ListBox::itemDataAt(int index) const {
    if (index < 0 || index >= count()) automation::raise(automation::err::InvalidCall, QStringLiteral("list index %1").arg(index));
    return item(index)->data(Qt::UserRole).toInt();
}

QString ListBox::entryText(int index) const {
    if (index < 0 || index >= count()) automation::raise(automation::err::InvalidCall, QStringLiteral("list index %1").arg(index));
    return item(index)->text();
}

}  // namespace controls
