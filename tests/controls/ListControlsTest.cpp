#include "platform/controls/ListControls.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

using controls::ComboBox;

// A fill must not run the handlers of a selection nobody made: Qt's own
// selection of a combo's first entry would, for an editable one, also through
// its text.
TEST(ListControls, FillingAComboSelectsNothingAndRaisesNothing) {
    for (const auto& [editable, batch] : {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
        ComboBox combo;
        combo.setEditable(editable);
        QSignalSpy clicks(&combo, &ComboBox::click), texts(&combo, &QComboBox::editTextChanged), index(&combo, &QComboBox::currentIndexChanged);
        if (batch) combo.addEntries({{"0", 0}, {"1", 1}, {"2", 2}});
        else for (int n = 0; n < 3; ++n) combo.addEntry(QString::number(n), n);
        combo.setEntry(3, QStringLiteral("3"), 3);
        EXPECT_EQ(combo.listIndex(), -1) << editable;
        EXPECT_EQ(combo.currentText(), QString()) << editable;
        EXPECT_EQ(clicks.count() + texts.count() + index.count(), 0) << editable;

        combo.setListIndex(2);
        combo.setListIndex(2);
        EXPECT_EQ(clicks.count(), 2) << "selecting from code raises click, also for the same entry";
        if (batch) combo.addEntries({{"4", 4}, {"5", 5}});
        else combo.addEntry(QStringLiteral("4"), 4);
        EXPECT_EQ(combo.listIndex(), 2) << "a later entry leaves the selection";
        EXPECT_EQ(combo.itemDataAt(4), 4);
        EXPECT_EQ(combo.itemText(4), QStringLiteral("4"));
    }
}
