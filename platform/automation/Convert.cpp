#include "platform/automation/Convert.h"

#include "platform/automation/AutomationError.h"

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <cmath>
#include <limits>

namespace automation {

// A database NULL arrives as a typed variant without a value; in Qt 6 a
// variant holding an empty or null QString is not null.
bool isNull(const QVariant& v) { return v.isValid() && v.isNull(); }

namespace {

bool isNullValue(const QVariant& v) { return isNull(v); }

// The value as a number, or an error: ints stay exact, reals round half to even.
long double numericValue(const QVariant& v) {
    if (isNullValue(v)) raise(err::InvalidUseOfNull);
    if (!v.isValid()) return 0;  // Empty converts to 0
    switch (v.metaType().id()) {
    case QMetaType::Bool: return v.toBool() ? -1 : 0;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
    case QMetaType::Char: return static_cast<long double>(v.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar: return static_cast<long double>(v.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isnan(d) || std::isinf(d)) raise(err::Overflow);
        return std::nearbyint(d);  // default rounding mode: half to even
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = v.toString().trimmed();
        bool ok = false;
        qlonglong i = s.toLongLong(&ok);
        if (ok) return static_cast<long double>(i);
        double d = QLocale::c().toDouble(s, &ok);
        if (!ok) raise(err::TypeMismatch, QStringLiteral("'%1' is not a number").arg(s));
        if (std::isnan(d) || std::isinf(d)) raise(err::Overflow);
        return std::nearbyint(d);
    }
    default: {
        bool ok = false;
        double d = v.toDouble(&ok);
        if (!ok) raise(err::TypeMismatch, QString::fromLatin1(v.typeName()));
        return std::nearbyint(d);
    }
    }
}

// The integer a driver delivered, read as it is: no detour through text or
// double. False for any other kind of value (and for NULL).
bool exactInteger(const QVariant& v, qlonglong* n) {
    if (v.isNull()) return false;
    switch (v.metaType().id()) {
    case QMetaType::LongLong: *n = *static_cast<const qlonglong*>(v.constData()); return true;
    case QMetaType::Int: *n = *static_cast<const int*>(v.constData()); return true;
    case QMetaType::Short: *n = *static_cast<const short*>(v.constData()); return true;
    default: return false;
    }
}

template <typename T>
T checkedInteger(const QVariant& v) {
    if (qlonglong exact = 0; exactInteger(v, &exact)) {
        if constexpr (sizeof(T) < sizeof(qlonglong)) {
            if (exact < std::numeric_limits<T>::min() || exact > std::numeric_limits<T>::max()) raise(err::Overflow);
        }
        return static_cast<T>(exact);
    }
    const long double n = numericValue(v);
    if (n < static_cast<long double>(std::numeric_limits<T>::min()) ||
        n > static_cast<long double>(std::numeric_limits<T>::max()))
        raise(err::Overflow);
    return static_cast<T>(n);
}

}  // namespace

qint16 toInt16(const QVariant& v) { return checkedInteger<qint16>(v); }
quint8 toUInt8(const QVariant& v) { return checkedInteger<quint8>(v); }
qint32 toInt32(const QVariant& v) { return checkedInteger<qint32>(v); }
qint64 toInt64(const QVariant& v) { return checkedInteger<qint64>(v); }

double toDouble(const QVariant& v) {
    if (isNullValue(v)) raise(err::InvalidUseOfNull);
    if (!v.isValid()) return 0;
    switch (v.metaType().id()) {
    case QMetaType::Bool: return v.toBool() ? -1 : 0;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        bool ok = false;
        double d = QLocale::c().toDouble(v.toString().trimmed(), &ok);
        if (!ok) raise(err::TypeMismatch);
        return d;
    }
    default: {
        bool ok = false;
        double d = v.toDouble(&ok);
        if (!ok) raise(err::TypeMismatch);
        return d;
    }
    }
}

bool toBool(const QVariant& v) {
    // The common case first: a column the driver already gives as a Boolean.
    if (v.metaType().id() == QMetaType::Bool && !v.isNull()) return *static_cast<const bool*>(v.constData());
    if (qlonglong exact = 0; exactInteger(v, &exact)) return exact != 0;
    if (isNullValue(v)) raise(err::InvalidUseOfNull);
    if (!v.isValid()) return false;
    switch (v.metaType().id()) {
    case QMetaType::Bool: return v.toBool();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
        bool ok = false;
        double d = QLocale::c().toDouble(s, &ok);
        if (!ok) raise(err::TypeMismatch, QStringLiteral("'%1' is not a Boolean").arg(s));
        return d != 0;
    }
    default: return toDouble(v) != 0;
    }
}

QString toText(const QVariant& v) {
    if (isNullValue(v)) raise(err::InvalidUseOfNull);
    if (!v.isValid()) return QString(QLatin1String(""));
    switch (v.metaType().id()) {
    case QMetaType::Bool: return boolText(v.toBool());
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong: return QString::number(v.toLongLong());
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong: return QString::number(v.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::QString: return v.toString();
    case QMetaType::QByteArray: return QString::fromUtf8(v.toByteArray());
    default:
        if (v.canConvert<QString>()) return v.toString();
        raise(err::TypeMismatch, QString::fromLatin1(v.typeName()));
    }
}

qint64 leadingNumber(const QString& text) {
    qint64 n = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        // A number is a number however many digits it has: it saturates.
        if (n > (std::numeric_limits<qint64>::max() - 9) / 10) return std::numeric_limits<qint64>::max();
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

QString format00(qint64 n) {
    // The magnitude as unsigned: negating the most negative number overflows.
    const quint64 magnitude = n < 0 ? 0 - static_cast<quint64>(n) : static_cast<quint64>(n);
    QString s = QString::number(magnitude);
    if (s.size() < 2) s.prepend(QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + s : s;
}

QVariant convertTo(const QVariant& v, QMetaType target) {
    switch (target.id()) {
    case QMetaType::QVariant: return v;
    case QMetaType::Bool: return QVariant(toBool(v));
    case QMetaType::Short: return QVariant::fromValue(toInt16(v));
    case QMetaType::UShort: return QVariant::fromValue(checkedInteger<quint16>(v));
    case QMetaType::Int: return QVariant::fromValue(toInt32(v));
    case QMetaType::UInt: return QVariant::fromValue(checkedInteger<quint32>(v));
    case QMetaType::Long: return QVariant::fromValue(static_cast<long>(toInt64(v)));
    case QMetaType::LongLong: return QVariant::fromValue(toInt64(v));
    case QMetaType::ULongLong: return QVariant::fromValue(checkedInteger<quint64>(v));
    case QMetaType::UChar: return QVariant::fromValue(toUInt8(v));
    case QMetaType::SChar: return QVariant::fromValue(checkedInteger<qint8>(v));
    case QMetaType::Char: return QVariant::fromValue(static_cast<char>(checkedInteger<qint8>(v)));
    case QMetaType::Double: return QVariant(toDouble(v));
    case QMetaType::Float: return QVariant::fromValue(static_cast<float>(toDouble(v)));
    case QMetaType::QString: return QVariant(toText(v));
    default: break;
    }
    if (target.flags() & QMetaType::PointerToQObject) {
        QObject* o = nullptr;
        if (v.isValid() && !v.isNull()) {
            if (!(v.metaType().flags() & QMetaType::PointerToQObject)) raise(err::TypeMismatch, QStringLiteral("an object is required"));
            o = *static_cast<QObject* const*>(v.constData());
        }
        const QMetaObject* wanted = target.metaObject();
        if (o && wanted && !o->metaObject()->inherits(wanted)) raise(err::TypeMismatch, QStringLiteral("object of the wrong class"));
        return QVariant(target, &o);
    }
    if (v.metaType() == target) return v;
    if (!v.isValid()) return QVariant(target);
    QVariant copy = v;
    if (!copy.convert(target)) raise(err::TypeMismatch, QStringLiteral("cannot convert %1 to %2").arg(QString::fromLatin1(v.typeName()), QString::fromLatin1(target.name())));
    return copy;
}

}  // namespace automation
