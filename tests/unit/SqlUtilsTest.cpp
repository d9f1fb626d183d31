#include <gtest/gtest.h>

#include <limits>

#include "ExpectError.h"
#include "db/values/DateTime.h"
#include "db/values/FormatSettings.h"
#include "db/values/SqlUtils.h"
#include "db/values/ValueErrors.h"
#include "support/FormatSamples.h"

namespace zav {
namespace {

using test::ThrowsWithMessage;

class SqlUtilsTest : public ::testing::Test {
protected:
    test::FormatSettingsRestorer restore_;
    void SetUp() override { CurrentFormatSettings() = test::GermanFormats(); }

    static std::string Inserted(const TSqlFieldValueList& list) {
        TSqlCommand command;
        return command.Insert("T", list).AsString();
    }
};

const double kMarch15At1430 = 43905.0 + 14.5 / 24.0;

TEST_F(SqlUtilsTest, WorkedExamples) {
    TSqlFieldValueList list;
    list.Add("ARTIKELID", 501);
    list.Add("ARTIKEL_NAME", "Zeitungen Corona Sondersteuersatz");
    list.Add("IS_WE", "T");
    list.Add("EINHEITID", Variant::Null());
    TSqlCommand command;
    EXPECT_EQ(command.Insert("ARTIKEL", list).AsString(),
              "insert into ARTIKEL (ARTIKELID, ARTIKEL_NAME, IS_WE, EINHEITID) values (501, "
              "'Zeitungen Corona Sondersteuersatz', 'T', null)");

    list.Clear();
    list.Add("POS", 3);
    EXPECT_EQ(command.Update("HGR_ARTIKEL", list).Where("HGR_ARTIKELID").EqualTo(57).AsString(),
              "update HGR_ARTIKEL set POS = 3 where HGR_ARTIKELID = 57");
}

TEST_F(SqlUtilsTest, StatementShapes) {
    TSqlFieldValueList list;
    TSqlCommand command;
    command.Add("old text");
    EXPECT_EQ(command.Insert("ARTIKEL", list).AsString(), "insert into ARTIKEL () values ()");
    EXPECT_EQ(command.Update("ARTIKEL", list).AsString(), "update ARTIKEL set ");

    list.Add("A", 1);
    EXPECT_EQ(command.Update("T", list).AsString(), "update T set A = 1");
    list.Add("A", 2);
    list.Add("b c", Variant::FromByte(0));  // names are pasted as given
    EXPECT_EQ(Inserted(list), "insert into T (A, A, b c) values (1, 2, 0)");
    EXPECT_EQ(command.Update("T", list).AsString(), "update T set A = 1, A = 2, b c = 0");

    TSqlCommand fresh;
    EXPECT_EQ(fresh.Where("HGR_ARTIKELID").AsString(), " where HGR_ARTIKELID");
    EXPECT_EQ(fresh.Clear().Where().EqualTo(-5).AsString(), " where = -5");
    TSqlCommand& same = fresh.Add("x");
    EXPECT_EQ(&same, &fresh);
}

TEST_F(SqlUtilsTest, ParamsAndGenerators) {
    TSqlFieldValueList list;
    list.AddParam("POS");
    TSqlCommand command;
    EXPECT_EQ(command.Insert("HGR_ARTIKEL", list).AsString(),
              "insert into HGR_ARTIKEL (POS) values (:POS)");
    EXPECT_EQ(SqlParam("X"), ":X");
    EXPECT_EQ(GetGenIdSql("GEN_HGR_ARTIKEL_ID", 1),
              "Select GEN_ID(GEN_HGR_ARTIKEL_ID,1) from RDB$database");
    EXPECT_EQ(GetGenIdSql("GEN_HGR_ARTIKEL_ID", -1),
              "Select GEN_ID(GEN_HGR_ARTIKEL_ID,-1) from RDB$database");
}

TEST_F(SqlUtilsTest, GetItemChecksTheIndex) {
    TSqlFieldValueList list;
    list.AddParam("A");
    list.AddNull("B");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetItem(1).Name, "B");
    EXPECT_EQ(list.GetItem(1).SqlValue(), "null");
    for (std::int32_t index : {-1, 2, std::numeric_limits<std::int32_t>::min()}) {
        EXPECT_TRUE(ThrowsWithMessage<ArgumentOutOfRangeError>([&] { list.GetItem(index); },
                                                               "Argument außerhalb des Bereichs"));
    }
}

TEST_F(SqlUtilsTest, TextLiterals) {
    EXPECT_EQ(SqlStr("O'Brien"), "'O''Brien'");
    EXPECT_EQ(SqlStr("''"), "''''''");
    EXPECT_EQ(SqlStr(""), "''");
    EXPECT_EQ(SqlStr(TNullableString()), "null");

    TSqlFieldValueList list;
    list.Add("A", Variant(""));
    list.Add("B", Variant("  abc "));
    list.Add("C", Variant("   "));
    list.Add("D", Variant::FromString("\tO'Brien\r\n"));
    EXPECT_EQ(Inserted(list), "insert into T (A, B, C, D) values (null, 'abc', '', 'O''Brien')");
}

TEST_F(SqlUtilsTest, VariantCodesChooseTheLiteral) {
    const struct {
        Variant value;
        const char* literal;
    } cases[] = {
        {Variant::Empty(), "null"},
        {Variant::Null(), "null"},
        {Variant::FromSmallint(-2), "-2"},
        {Variant(-5), "-5"},
        {Variant::FromSingle(0.1f), "0.100000001490116"},
        {Variant(1.5e20), "1.5E20"},
        {Variant(-0.0), "0"},
        {Variant::FromCurrency(Currency{125000}), "12.5"},
        {Variant::FromDate(kMarch15At1430), "'15.03.2020'"},
        {Variant::FromShortInt(-128), "-128"},
        {Variant::FromByte(255), "255"},
        {Variant::FromWord(65535), "65535"},
        {Variant::FromString("x"), "'x'"},
        {Variant("x"), "'x'"},
    };
    for (const auto& c : cases) {
        TSqlFieldValueList list;
        list.Add("F", c.value);
        EXPECT_EQ(list.GetItem(0).SqlValue(), c.literal) << c.value.TypeName();
    }
}

TEST_F(SqlUtilsTest, RefusedVariantCodesAddNothing) {
    const Variant target(1);
    const Variant refused[] = {
        Variant::FromBoolean(true),
        Variant::FromInt64(1),
        Variant::FromOleStr("x"),
        Variant::FromLongWord(1),
        Variant::FromUInt64(1),
        Variant::Array(VarType::Integer),
        Variant::ByRef(&target),  // not followed here
        Variant::WithTypeCode(0x4003),
        Variant::WithTypeCode(9),
        Variant::WithTypeCode(0x2000 | 258),
    };
    for (const Variant& value : refused) {
        TSqlFieldValueList list;
        list.Add("A", 1);
        EXPECT_TRUE(ThrowsWithMessage<VariantTypeError>(
            [&] { list.Add("MENGE", value); },
            "Der Datentype für Feldname 'MENGE' wird nicht unterstütz."))
            << value.TypeName();
        EXPECT_EQ(list.Count(), 1);
    }
}

TEST_F(SqlUtilsTest, DateLiteralsUseTheUserFormat) {
    EXPECT_EQ(SqlDate(kMarch15At1430), "'15.03.2020'");
    EXPECT_EQ(SqlDateTime(kMarch15At1430), "'15.03.2020 14:30:00'");
    EXPECT_EQ(SqlDateTime(43905.0), "'15.03.2020'");
    // Milliseconds alone do not make a time.
    EXPECT_EQ(SqlDateTime(43905.0 + EncodeTime(0, 0, 0, 999)), "'15.03.2020'");
    EXPECT_EQ(SqlDateTime(43905.0 + EncodeTime(0, 0, 1, 0)), "'15.03.2020 00:00:01'");
    TNullableDateTime dateTime;
    EXPECT_EQ(SqlDateTime(dateTime), "null");
    dateTime.FromVariant(Variant("15.03.2020"));
    EXPECT_EQ(SqlDateTime(dateTime), "'15.03.2020'");

    CurrentFormatSettings() = test::EnglishUSFormats();
    EXPECT_EQ(SqlDate(kMarch15At1430), "'3/15/2020'");
    EXPECT_EQ(SqlDateTime(kMarch15At1430), "'3/15/2020 2:30:00 PM'");
    EXPECT_THROW(SqlDate(1e7), ConvertError);
}

TEST_F(SqlUtilsTest, NumbersUseAPointAndLeaveTheSettingsAlone) {
    EXPECT_EQ(SqlFloat(0.1), "0.1");
    EXPECT_EQ(SqlCurr(Currency{125000}), "12.5");
    EXPECT_EQ(SqlCurr(Currency{std::numeric_limits<std::int64_t>::min()}), "-922337203685477.5808");
    EXPECT_EQ(SqlFloat(-1.25e-7), "-1.25E-7");
    EXPECT_EQ(CurrentFormatSettings().decimalSeparator, ',');

    TNullableCurrency currency;
    TNullableDouble number;
    TNullableInteger integer;
    EXPECT_EQ(SqlCurr(currency), "null");
    EXPECT_EQ(SqlFloat(number), "null");
    EXPECT_EQ(SqlInt(integer), "null");
    currency.FromVariant(Variant("-0,0001"));
    number.FromVariant(Variant("2,5"));
    integer.SetValue(std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(SqlCurr(currency), "-0.0001");
    EXPECT_EQ(SqlFloat(number), "2.5");
    EXPECT_EQ(SqlInt(integer), "-2147483648");
    EXPECT_EQ(CurrentFormatSettings().decimalSeparator, ',');
}

TEST_F(SqlUtilsTest, DecimalSeparatorComesBackWhenAConversionThrows) {
    try {
        const DecimalSeparatorGuard point('.');
        EXPECT_EQ(CurrentFormatSettings().decimalSeparator, '.');
        throw ConvertError("mid-conversion");
    } catch (const ConvertError&) {
    }
    EXPECT_EQ(CurrentFormatSettings().decimalSeparator, ',');
}

}  // namespace
}  // namespace zav
