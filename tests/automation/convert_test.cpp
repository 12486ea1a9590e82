#include "platform/automation/Convert.h"
#include "tests/support/Errors.h"
#include "tests/support/QtPrinters.h"

#include <limits>

using namespace automation;
using testsupport::errorNumber;

namespace {
const QVariant Null = QVariant(QMetaType::fromType<int>());
const QVariant NullText = QVariant(QMetaType::fromType<QString>());
}  // namespace

TEST(Conversions, NullIsAnErrorForEveryType) {
    EXPECT_EQ(errorNumber([] { toInt16(Null); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorNumber([] { toUInt8(Null); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorNumber([] { toBool(Null); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorNumber([] { toText(NullText); }), err::InvalidUseOfNull);
    // An empty string is a value, not NULL.
    EXPECT_EQ(toText(QVariant(QString())), QString());
}

TEST(Conversions, OutOfRangeOverflowsInsteadOfWrapping) {
    EXPECT_EQ(errorNumber([] { toUInt8(300); }), err::Overflow);
    EXPECT_EQ(errorNumber([] { toUInt8(-1); }), err::Overflow);
    EXPECT_EQ(errorNumber([] { toInt16(70000); }), err::Overflow);
    EXPECT_EQ(errorNumber([] { toInt32(QVariant::fromValue<qlonglong>(1LL << 40)); }), err::Overflow);
    EXPECT_EQ(toUInt8(255), 255);
    EXPECT_EQ(toInt16(-32768), -32768);
    // Integers as the drivers deliver them (SQLite: 64-bit, PostgreSQL: 16/32-bit).
    EXPECT_EQ(errorNumber([] { toInt16(QVariant::fromValue<qlonglong>(-32769)); }), err::Overflow);
    EXPECT_EQ(errorNumber([] { toUInt8(QVariant::fromValue<short>(256)); }), err::Overflow);
    EXPECT_EQ(toInt64(QVariant::fromValue<qlonglong>(std::numeric_limits<qlonglong>::min())), std::numeric_limits<qlonglong>::min());
    EXPECT_EQ(errorNumber([] { toInt16(QVariant(QMetaType::fromType<qlonglong>())); }), err::InvalidUseOfNull);
    EXPECT_TRUE(toBool(QVariant::fromValue<qlonglong>(2)));
    EXPECT_TRUE(toBool(QVariant::fromValue<short>(-1)));
    EXPECT_FALSE(toBool(QVariant::fromValue<qlonglong>(0)));
}

TEST(Conversions, TextMustBeANumber) {
    EXPECT_EQ(toInt16(QStringLiteral(" 42 ")), 42);
    EXPECT_EQ(errorNumber([] { toInt16(QStringLiteral("4x")); }), err::TypeMismatch);
    EXPECT_EQ(errorNumber([] { toInt32(QString()); }), err::TypeMismatch);
    EXPECT_EQ(errorNumber([] { toBool(QStringLiteral("no")); }), err::TypeMismatch);
}

TEST(Conversions, FractionsRoundHalfToEven) {
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toUInt8(QStringLiteral("254.5")), 254);
}

TEST(Conversions, BooleansAndBytesFollowThePlatform) {
    EXPECT_TRUE(toBool(7));
    EXPECT_TRUE(toBool(-1));
    EXPECT_FALSE(toBool(0));
    EXPECT_TRUE(toBool(QStringLiteral("TRUE")));
    EXPECT_EQ(toInt16(true), -1);
    EXPECT_EQ(toText(true), QStringLiteral("True"));
    EXPECT_EQ(toText(false), QStringLiteral("False"));
    EXPECT_EQ(flagNumber(true), 1);
    // Bytes become numbers, not characters.
    EXPECT_EQ(toText(QVariant::fromValue<uchar>(65)), QStringLiteral("65"));
    EXPECT_EQ(toText(QVariant::fromValue<qint16>(-3)), QStringLiteral("-3"));
}

TEST(Conversions, NumericValueOfTextAndTwoDigitFormat) {
    EXPECT_EQ(leadingNumber(QStringLiteral("300")), 300);
    EXPECT_EQ(leadingNumber(QStringLiteral("12ab5")), 12);
    EXPECT_EQ(leadingNumber(QStringLiteral("x1")), 0);
    EXPECT_EQ(leadingNumber(QString()), 0);
    EXPECT_EQ(format00(7), QStringLiteral("07"));
    EXPECT_EQ(format00(120), QStringLiteral("120"));
    EXPECT_EQ(format00(-7), QStringLiteral("-07"));
    EXPECT_EQ(format00(std::numeric_limits<qint64>::min()), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(format00(std::numeric_limits<qint64>::max()), QStringLiteral("9223372036854775807"));
}
