#include "platform/automation/Convert.h"
#include "tests/support/Errors.h"

#include <functional>
#include <limits>

using namespace automation;
using testsupport::errorNumber;

// NULL, out-of-range values and text that is no number are errors, never a
// silent 0, wrap-around or "no" read as true.
TEST(Conversions, BadValuesRaiseTheirErrorInsteadOfConverting) {
    const QVariant null = QVariant(QMetaType::fromType<int>());
    const std::pair<int, std::function<void()>> cases[] = {
        {err::InvalidUseOfNull, [&] { toInt16(null); }},
        {err::InvalidUseOfNull, [&] { toUInt8(null); }},
        {err::InvalidUseOfNull, [&] { toBool(null); }},
        {err::InvalidUseOfNull, [] { toText(QVariant(QMetaType::fromType<QString>())); }},
        {err::InvalidUseOfNull, [] { toInt16(QVariant(QMetaType::fromType<qlonglong>())); }},
        {err::Overflow, [] { toInt16(QVariant::fromValue<qlonglong>(-32769)); }},
        {err::Overflow, [] { toUInt8(QVariant::fromValue<short>(256)); }},
        {err::Overflow, [] { toUInt8(300); }},
        {err::Overflow, [] { toUInt8(-1); }},
        {err::Overflow, [] { toInt16(70000); }},
        {err::Overflow, [] { toInt32(QVariant::fromValue<qlonglong>(1LL << 40)); }},
        {err::TypeMismatch, [] { toInt16(QStringLiteral("4x")); }},
        {err::TypeMismatch, [] { toInt32(QString()); }},
        {err::TypeMismatch, [] { toBool(QStringLiteral("no")); }},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(errorNumber(cases[i].second), cases[i].first) << "case " << i;
}

TEST(Conversions, GoodValuesFollowThePlatformsRules) {
    EXPECT_EQ(toText(QVariant(QString())), QString()) << "an empty string is a value, not NULL";
    EXPECT_EQ(toUInt8(255), 255);
    EXPECT_EQ(toInt16(-32768), -32768);
    // Integers as the drivers deliver them (SQLite: 64-bit, PostgreSQL: 16/32-bit).
    EXPECT_EQ(toInt64(QVariant::fromValue<qlonglong>(std::numeric_limits<qlonglong>::min())), std::numeric_limits<qlonglong>::min());
    EXPECT_EQ((QList<bool>{toBool(QVariant::fromValue<qlonglong>(2)), toBool(QVariant::fromValue<short>(-1)), toBool(QVariant::fromValue<qlonglong>(0))}),
              (QList<bool>{true, true, false}));
    EXPECT_EQ(toInt16(QStringLiteral(" 42 ")), 42);
    // Fractions round half to even.
    EXPECT_EQ((QList<int>{toInt16(2.5), toInt16(3.5), toInt16(-2.5), toUInt8(QStringLiteral("254.5"))}), (QList<int>{2, 4, -2, 254}));
    EXPECT_EQ((QList<bool>{toBool(7), toBool(-1), toBool(0), toBool(QStringLiteral("TRUE"))}), (QList<bool>{true, true, false, true}));
    EXPECT_EQ(toInt16(true), -1);
    EXPECT_EQ(flagNumber(true), 1);
    // Bytes become numbers, not characters.
    EXPECT_EQ((QStringList{toText(true), toText(false), toText(QVariant::fromValue<uchar>(65)), toText(QVariant::fromValue<qint16>(-3))}),
              (QStringList{"True", "False", "65", "-3"}));
    EXPECT_EQ((QList<qlonglong>{leadingNumber(QStringLiteral("300")), leadingNumber(QStringLiteral("12ab5")), leadingNumber(QStringLiteral("x1")),
                                leadingNumber(QString())}),
              (QList<qlonglong>{300, 12, 0, 0}));
    EXPECT_EQ((QStringList{format00(7), format00(120), format00(-7), format00(std::numeric_limits<qint64>::min()),
                           format00(std::numeric_limits<qint64>::max())}),
              (QStringList{"07", "120", "-07", "-9223372036854775808", "9223372036854775807"}));
}
