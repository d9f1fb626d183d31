#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ExpectError.h"
#include "db/values/FormatSettings.h"
#include "db/values/ValueErrors.h"
#include "db/values/Variant.h"
#include "support/FormatSamples.h"

namespace zav {
namespace {

using test::ThrowsWithMessage;

TEST(VariantTest, ConstructorsChooseTheTypeCode) {
    EXPECT_EQ(Variant().Type(), VarType::Empty);
    EXPECT_EQ(Variant(501).Type(), VarType::Integer);
    EXPECT_EQ(Variant(2.5).Type(), VarType::Double);
    EXPECT_EQ(Variant("T").Type(), VarType::UnicodeString);
    EXPECT_EQ(Variant(std::string("T")).Type(), VarType::UnicodeString);
    EXPECT_EQ(Variant::FromByte(1).Type(), VarType::Byte);
    EXPECT_EQ(Variant::Null().Type(), VarType::Null);
    EXPECT_EQ(Variant::FromString("a").Type(), VarType::String);
    EXPECT_EQ(Variant::FromOleStr("a").Type(), VarType::OleStr);
    EXPECT_EQ(Variant::Array(VarType::Integer).Type(), 0x2003);
    EXPECT_EQ(Variant::ByRef(nullptr).Type(), 0x400C);
}

TEST(VariantTest, TypeNamesIncludeFlags) {
    EXPECT_EQ(Variant::FromDouble(1).TypeName(), "Double");
    EXPECT_EQ(Variant::FromUInt64(1).TypeName(), "UInt64");
    EXPECT_EQ(Variant::Array(VarType::Integer).TypeName(), "Array Integer");
    EXPECT_EQ(Variant::WithTypeCode(0x4003).TypeName(), "ByRef Integer");
    EXPECT_EQ(Variant::WithTypeCode(0x0123).TypeName(), "$0123");
}

TEST(VariantTest, ReferencesAreFollowedAndBrokenChainsRefused) {
    const Variant target(42);
    const Variant first = Variant::ByRef(&target);
    const Variant second = Variant::ByRef(&first);
    EXPECT_EQ(second.Dereferenced(), &target);
    EXPECT_EQ(second.ToInteger(), 42);

    EXPECT_EQ(Variant::ByRef(nullptr).Dereferenced(), nullptr);
    Variant a = Variant::ByRef(nullptr);
    Variant b = Variant::ByRef(&a);
    a = Variant::ByRef(&b);  // a -> b -> a
    EXPECT_EQ(a.Dereferenced(), nullptr);
    EXPECT_THROW(a.ToDouble(), VariantTypeError);
}

struct CurrencyCase {
    Variant value;
    std::int64_t units;
};

TEST(VariantTest, ToCurrencyConvertsEveryNumericKind) {
    const CurrencyCase cases[] = {
        {Variant(7), 70000},
        {Variant::FromBoolean(true), -10000},
        {Variant::FromBoolean(false), 0},
        {Variant::FromShortInt(-128), -1280000},
        {Variant::FromWord(65535), 655350000},
        {Variant::FromInt64(922337203685477), 9223372036854770000},
        {Variant::FromInt64(-922337203685477), -9223372036854770000},
        {Variant::FromUInt64(922337203685477), 9223372036854770000},
        {Variant::FromCurrency(Currency{-5}), -5},
        {Variant(1.5), 15000},
        {Variant(0.1), 1000},
        // None of these is an exact half as a double; the exact value decides, where a product
        // rounded in floating point would give a half and round it to even.
        {Variant(-0.00005), -1},    // -0.50000000000000002 units
        {Variant(0.00015), 1},      // 1.49999999999999987 units
        {Variant(0.00025), 3},      // 2.50000000000000005 units
        {Variant(1.00005), 10001},  // 10000.500000000001 units
        {Variant::FromSingle(0.1f), 1000},
        {Variant(922337203685477.5), 9223372036854775000},
        {Variant(-922337203685477.5), -9223372036854775000},
        {Variant(std::ldexp(1.0, -1074)), 0},
    };
    for (const CurrencyCase& c : cases) {
        EXPECT_EQ(c.value.ToCurrency().units, c.units) << c.value.TypeName();
    }
}

TEST(VariantTest, ToCurrencyRoundsExactHalvesToEven) {
    // Binary fractions that are exact halves of a ten-thousandth.
    EXPECT_EQ(Variant(0.03125).ToCurrency().units, 312);  // 312.5
    EXPECT_EQ(Variant(0.09375).ToCurrency().units, 938);  // 937.5
    EXPECT_EQ(Variant(-0.03125).ToCurrency().units, -312);
    EXPECT_EQ(Variant(-0.09375).ToCurrency().units, -938);
    EXPECT_EQ(Variant(std::ldexp(1.0, -15)).ToCurrency().units, 0);  // 0.30517578125
}

TEST(VariantTest, ToCurrencyOverflowNamesBothTypes) {
    const std::string message =
        "Überlauf bei der Konvertierung einer Variante vom Typ (Double) "
        "in Typ (Currency)";
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([] { Variant(1e15).ToCurrency(); }, message));
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([] { Variant(922337203685477.625).ToCurrency(); },
                                                message));
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [] { Variant(-std::numeric_limits<double>::infinity()).ToCurrency(); }, message));
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [] { Variant(std::numeric_limits<double>::quiet_NaN()).ToCurrency(); }, message));
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [] { Variant::FromInt64(922337203685478).ToCurrency(); },
        "Überlauf bei der Konvertierung einer Variante vom Typ (Int64) in Typ (Currency)"));
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [] { Variant::FromUInt64(std::numeric_limits<std::uint64_t>::max()).ToCurrency(); },
        "Überlauf bei der Konvertierung einer Variante vom Typ (UInt64) in Typ (Currency)"));
}

TEST(VariantTest, ToIntegerRoundsHalvesToEvenAndChecksRange) {
    EXPECT_EQ(Variant(2.5).ToInteger(), 2);
    EXPECT_EQ(Variant(3.5).ToInteger(), 4);
    EXPECT_EQ(Variant(-2.5).ToInteger(), -2);
    EXPECT_EQ(Variant(2.5000001).ToInteger(), 3);
    EXPECT_EQ(Variant::FromCurrency(Currency{25000}).ToInteger(), 2);
    EXPECT_EQ(Variant::FromCurrency(Currency{35000}).ToInteger(), 4);
    EXPECT_EQ(Variant::FromCurrency(Currency{-35000}).ToInteger(), -4);
    EXPECT_EQ(Variant::FromCurrency(Currency{-25001}).ToInteger(), -3);
    EXPECT_EQ(Variant::FromBoolean(true).ToInteger(), -1);
    EXPECT_EQ(Variant::FromLongWord(2147483647u).ToInteger(), 2147483647);
    EXPECT_EQ(Variant(-2147483648.4).ToInteger(), std::numeric_limits<std::int32_t>::min());

    const std::string range = "Fehler bei Bereichsprüfung";
    EXPECT_TRUE(ThrowsWithMessage<RangeError>([] { Variant(2147483647.5).ToInteger(); }, range));
    EXPECT_TRUE(ThrowsWithMessage<RangeError>(
        [] { Variant::FromLongWord(2147483648u).ToInteger(); }, range));
    EXPECT_TRUE(ThrowsWithMessage<RangeError>([] { Variant::FromInt64(-2147483649LL).ToInteger(); },
                                              range));
    EXPECT_TRUE(ThrowsWithMessage<RangeError>(
        [] { Variant(std::numeric_limits<double>::quiet_NaN()).ToInteger(); }, range));
}

TEST(VariantTest, ToDoubleAndTextKinds) {
    test::FormatSettingsRestorer restore;
    CurrentFormatSettings() = test::GermanFormats();
    EXPECT_EQ(Variant::FromCurrency(Currency{15000}).ToDouble(), 1.5);
    EXPECT_EQ(Variant::FromSingle(0.1f).ToDouble(), static_cast<double>(0.1f));
    EXPECT_EQ(Variant::FromDate(43905.5).ToDouble(), 43905.5);
    EXPECT_EQ(Variant::FromBoolean(true).ToDouble(), -1.0);
    EXPECT_EQ(Variant("1,25").ToDouble(), 1.25);
    EXPECT_EQ(Variant(" 12").ToInteger(), 12);
    EXPECT_THROW(Variant::Null().ToDouble(), VariantTypeError);
    EXPECT_THROW(Variant().ToInteger(), VariantTypeError);
    EXPECT_THROW(Variant(1).Text(), VariantTypeError);
}

}  // namespace
}  // namespace zav
