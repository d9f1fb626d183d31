#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ExpectError.h"
#include "db/values/DateTime.h"
#include "db/values/FormatSettings.h"
#include "db/values/NullableTypes.h"
#include "db/values/ValueErrors.h"
#include "support/FormatSamples.h"

namespace zav {
namespace {

using test::ThrowsWithMessage;

class NullableTypesTest : public ::testing::Test {
protected:
    test::FormatSettingsRestorer restore_;
    void SetUp() override { CurrentFormatSettings() = test::GermanFormats(); }
};

// One variant of every kind, holding a value that each accepting record can convert; the text
// kinds hold a text that the record under test can parse.
std::vector<Variant> EveryKind(const std::string& text) {
    return {
        Variant::Empty(),
        Variant::Null(),
        Variant::FromSmallint(-2),
        Variant(3),
        Variant::FromSingle(1.5f),
        Variant(2.5),
        Variant::FromCurrency(Currency{12500}),
        Variant::FromDate(43905.5),
        Variant::FromOleStr(text),
        Variant::FromBoolean(true),
        Variant::FromShortInt(-16),
        Variant::FromByte(17),
        Variant::FromWord(18),
        Variant::FromLongWord(19),
        Variant::FromInt64(20),
        Variant::FromUInt64(21),
        Variant::FromString(text),
        Variant(text),
        Variant::WithTypeCode(9),
        Variant::WithTypeCode(12),
        Variant::WithTypeCode(14),
        Variant::Array(VarType::Integer),
        Variant::Array(VarType::UnicodeString),
        Variant::WithTypeCode(VarType::ByRefFlag | VarType::Integer),
        Variant::WithTypeCode(VarType::ByRefFlag | VarType::Null),
        Variant::ByRef(nullptr),
    };
}

const std::set<std::uint16_t> kNumeric = {2, 3, 4, 5, 6, 11, 16, 17, 18, 19, 20, 21};
const std::set<std::uint16_t> kText = {8, 256, 258};

std::set<std::uint16_t> Join(std::set<std::uint16_t> a, const std::set<std::uint16_t>& b) {
    a.insert(b.begin(), b.end());
    a.insert(VarType::Null);
    return a;
}

// Every kind is either taken (the record then holds a value, or none for null) or refused with the
// record's type error and the record left exactly as it was.
template <typename Record, typename V>
void CheckKinds(const std::set<std::uint16_t>& accepted, const char* typeName,
                const std::string& text, const V& previous) {
    for (const Variant& kind : EveryKind(text)) {
        Record record;
        record.SetValue(previous);
        SCOPED_TRACE(kind.TypeName());
        if (accepted.count(kind.Type()) != 0) {
            record.FromVariant(kind);
            EXPECT_EQ(record.HasValue(), kind.Type() != VarType::Null);
        } else {
            EXPECT_TRUE(ThrowsWithMessage<VariantTypeError>(
                [&] { record.FromVariant(kind); },
                std::string("Der zugewiesen Wert ist nicht vom Typ '") + typeName + "'."));
            EXPECT_TRUE(record.HasValue());
            EXPECT_EQ(record.GetValue(), previous);
        }
    }
}

TEST_F(NullableTypesTest, EachRecordTakesExactlyItsKinds) {
    CheckKinds<TNullableCurrency>(Join(kNumeric, kText), "Currency", "1,5", Currency{7});
    CheckKinds<TNullableInteger>(Join(kNumeric, kText), "Integer", "12", 7);
    CheckKinds<TNullableDouble>(Join(kNumeric, kText), "Double", "1,5", 7.0);
    CheckKinds<TNullableDate>(Join({4, 5, 6, 7}, kText), "Date", "15.03.2020", 7.0);
    CheckKinds<TNullableDateTime>(Join({4, 5, 6, 7}, kText), "Date", "15.03.2020", 7.0);
    CheckKinds<TNullableString>(Join({}, kText), "String", "abc", std::string("x"));
}

TEST_F(NullableTypesTest, NewAndClearedRecordsHoldNothing) {
    TNullableInteger integer;
    TNullableString text;
    TNullableCurrency currency;
    EXPECT_TRUE(integer.IsNull());
    EXPECT_FALSE(integer.HasValue());
    EXPECT_EQ(integer.GetValue(), 0);
    EXPECT_EQ(text.GetValue(), "");
    EXPECT_EQ(currency.GetValue(), Currency{0});

    integer.SetValue(42);
    integer.FromVariant(Variant::Null());
    EXPECT_TRUE(integer.IsNull());
    EXPECT_EQ(integer.GetValue(), 0);

    text.SetValue("abc");
    const TNullableString copy = text;
    text.Clear();
    EXPECT_EQ(copy.GetValue(), "abc");
    EXPECT_TRUE(text.IsNull());
}

TEST_F(NullableTypesTest, ReferencesAreFollowedToTheirTarget) {
    const Variant target(42);
    const Variant inner = Variant::ByRef(&target);
    TNullableInteger integer;
    integer.FromVariant(Variant::ByRef(&inner));
    EXPECT_EQ(integer.GetValue(), 42);

    const Variant null = Variant::Null();
    integer.FromVariant(Variant::ByRef(&null));
    EXPECT_TRUE(integer.IsNull());

    const Variant date = Variant::FromDate(1.5);
    TNullableDouble number;
    EXPECT_THROW(number.FromVariant(Variant::ByRef(&date)), VariantTypeError);
}

TEST_F(NullableTypesTest, StringIsTrimmedAfterTheEmptinessTest) {
    TNullableString text;
    text.FromVariant(Variant("  abc  "));
    EXPECT_EQ(text.GetValue(), "abc");
    text.FromVariant(Variant("\t\r\n abc\x01\x1f"));
    EXPECT_EQ(text.GetValue(), "abc");
    text.FromVariant(Variant("   "));
    EXPECT_TRUE(text.HasValue());
    EXPECT_EQ(text.GetValue(), "");
    text.FromVariant(Variant(""));
    EXPECT_TRUE(text.IsNull());
    text.FromVariant(Variant::FromString(" Grüße\xc2\xa0"));  // a no-break space is kept
    EXPECT_EQ(text.GetValue(), "Grüße\xc2\xa0");
}

TEST_F(NullableTypesTest, IntegerConversions) {
    TNullableInteger integer;
    const struct {
        Variant value;
        std::int32_t expected;
    } cases[] = {
        {Variant("12"), 12},
        {Variant(2.5), 2},
        {Variant(3.5), 4},
        {Variant::FromBoolean(true), -1},
        {Variant::FromSingle(-0.5f), 0},
        {Variant::FromCurrency(Currency{15000}), 2},
        {Variant::FromOleStr("$10"), 16},
    };
    for (const auto& c : cases) {
        integer.FromVariant(c.value);
        EXPECT_EQ(integer.GetValue(), c.expected) << c.value.TypeName();
    }
    integer.SetValue(5);
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([&] { integer.FromVariant(Variant("12.5")); },
                                                "''12.5'' ist kein gültiger Integer-Wert"));
    EXPECT_TRUE(ThrowsWithMessage<RangeError>(
        [&] { integer.FromVariant(Variant::FromInt64(1LL << 31)); }, "Fehler bei Bereichsprüfung"));
    EXPECT_TRUE(ThrowsWithMessage<RangeError>([&] { integer.FromVariant(Variant("3000000000")); },
                                              "Fehler bei Bereichsprüfung"));
    EXPECT_EQ(integer.GetValue(), 5);
}

TEST_F(NullableTypesTest, CurrencyFollowsTheDecimalSeparator) {
    TNullableCurrency currency;
    currency.FromVariant(Variant("1,5"));
    EXPECT_EQ(currency.GetValue(), Currency{15000});
    currency.FromVariant(Variant::FromBoolean(true));
    EXPECT_EQ(currency.GetValue(), Currency{-10000});
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [&] { currency.FromVariant(Variant(1e16)); },
        "Überlauf bei der Konvertierung einer Variante vom Typ (Double) in Typ (Currency)"));
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [&] { currency.FromVariant(Variant::FromString("1e16")); },
        "Überlauf bei der Konvertierung einer Variante vom Typ (String) in Typ (Currency)"));
    EXPECT_EQ(currency.GetValue(), Currency{-10000});

    CurrentFormatSettings() = test::EnglishUSFormats();
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([&] { currency.FromVariant(Variant("1,5")); },
                                                "'1,5' ist kein gültiger Gleitkommawert"));
    EXPECT_EQ(currency.GetValue(), Currency{-10000});
}

TEST_F(NullableTypesTest, DateAndDoubleConversions) {
    TNullableDate date;
    date.FromVariant(Variant(1.5));
    const DateTimeParts parts = DecodeDateTime(date.GetValue());
    EXPECT_EQ(parts.year * 10000 + parts.month * 100 + parts.day, 18991231);
    EXPECT_EQ(parts.hour, 12);
    date.FromVariant(Variant("15.03.2020"));
    EXPECT_EQ(date.GetValue(), 43905.0);
    date.FromVariant(Variant::FromCurrency(Currency{439055000}));
    EXPECT_EQ(date.GetValue(), 43905.5);
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([&] { date.FromVariant(Variant("2020-03-15")); },
                                                "'2020-03-15' ist kein gültiges Datum"));
    EXPECT_EQ(date.GetValue(), 43905.5);

    TNullableDouble number;
    number.FromVariant(Variant::FromCurrency(Currency{12345}));
    EXPECT_EQ(number.GetValue(), 1.2345);
    number.FromVariant(Variant::FromInt64(-7));
    EXPECT_EQ(number.GetValue(), -7.0);
    number.FromVariant(Variant(" -1,5e2 "));
    EXPECT_EQ(number.GetValue(), -150.0);
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>([&] { number.FromVariant(Variant("1.5")); },
                                                "'1.5' ist kein gültiger Gleitkommawert"));
}

}  // namespace
}  // namespace zav
