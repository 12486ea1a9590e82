#pragma once
// Checked conversions with the platform's semantics. QVariant's own conversions
// never range-check (300 becomes 44 in a byte, "no" becomes true); these do:
// NULL is error 94, out of range is 6, text that is no number is 13, and a
// fractional number rounds half to even.
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <cstdint>

namespace automation {

// Empty: no value at all (a missing argument). Null: a database NULL.
inline bool isEmpty(const QVariant& v) { return !v.isValid(); }
bool isNull(const QVariant& v);

qint16 toInt16(const QVariant& v);
quint8 toUInt8(const QVariant& v);
qint32 toInt32(const QVariant& v);
qint64 toInt64(const QVariant& v);
double toDouble(const QVariant& v);
bool toBool(const QVariant& v);
QString toText(const QVariant& v);

// "True" / "False", the text form of a Boolean.
inline QString boolText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }
// Absolute value of a flag: 1 for True, 0 for False.
inline qint16 flagNumber(bool b) { return b ? 1 : 0; }
// The numeric value of a text: its leading digits, 0 when it has none.
qint64 leadingNumber(const QString& text);
// Number formatted with "00": at least two digits.
QString format00(qint64 n);

// Converts an argument or property value to the declared type of a member.
// Handles every type a late-bound member of ours may declare; anything else
// falls back to QVariant's conversion and fails with 13 when there is none.
QVariant convertTo(const QVariant& v, QMetaType target);

}  // namespace automation
