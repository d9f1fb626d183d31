// Column values read as integers and as text, for every column type the server reports.

#include <gtest/gtest.h>

#include "Components.h"
#include "db/firebird/DatabaseErrors.h"
#include "db/values/ValueErrors.h"
#include "support/TestDatabase.h"
#include "unit/ExpectError.h"

namespace zav {
namespace {

using test::Components;
using test::TestDatabase;
using test::ThrowsWithMessage;

class FieldConversionTest : public ::testing::Test {
protected:
    // The one value of "select <expression> as X from RDB$DATABASE".
    TDbField Value(const std::string& expression) {
        c.OpenFirst("select " + expression + " as X from RDB$DATABASE");
        return c.first.FieldByName("X");
    }

    TestDatabase db = TestDatabase::FromScript(
        "CREATE TABLE WERTE (ID INTEGER NOT NULL PRIMARY KEY, S SMALLINT, I INTEGER, B BIGINT,\n"
        "  N NUMERIC(15,2), F FLOAT, D DOUBLE PRECISION, C CHAR(8), V VARCHAR(20), T DATE);\n"
        "INSERT INTO WERTE (ID) VALUES (1);\n"
        "INSERT INTO WERTE VALUES (2, -7, 123456, 1000, 99.50, 0.5, 1.5, '17', '-4', "
        "'2020-03-01');\n");
    Components c{db.Path()};
};

TEST_F(FieldConversionTest, NumbersRoundHalfToEven) {
    struct Case {
        std::string expression;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"cast(-32768 as smallint)", -32768},
        {"cast(2147483647 as integer)", 2147483647},
        {"cast(-2147483648 as bigint)", -2147483647 - 1},
        {"gen_id(GEN_TEST, 0)", 0},
        {"cast(12.5 as numeric(4,1))", 12},
        {"cast(13.5 as numeric(4,1))", 14},
        {"cast(-12.5 as numeric(9,2))", -12},
        {"cast(-13.5 as numeric(9,2))", -14},
        {"cast(2.51 as numeric(9,2))", 3},
        {"cast(-2.49 as numeric(15,2))", -2},
        {"cast(0.5 as decimal(18,4))", 0},
        {"cast(1.5 as decimal(18,4))", 2},
        {"cast(2147483646.5 as numeric(18,1))", 2147483646},
        {"cast(2.5 as float)", 2},
        {"cast(3.5 as float)", 4},
        {"cast(-2.5 as double precision)", -2},
        {"cast(2.500001 as double precision)", 3},
        {"cast(' 42' as char(10))", 42},
        {"cast('-17' as varchar(20))", -17},
        {"cast(null as integer)", 0},
        {"cast(null as bigint)", 0},
        {"cast(null as numeric(15,2))", 0},
        {"cast(null as double precision)", 0},
    };
    db.Execute("create sequence GEN_TEST");
    for (const Case& test : cases) {
        EXPECT_EQ(Value(test.expression).AsInteger(), test.expected) << test.expression;
    }
}

TEST_F(FieldConversionTest, ValuesOutsideTheIntegerRangeRaise) {
    const std::string text =
        "dqQuery: Der Wert des Feldes 'X' liegt außerhalb des Bereichs für Integer";
    for (const std::string expression :
         {"cast(2147483648 as bigint)", "cast(-2147483649 as bigint)",
          "cast(2147483647.5 as numeric(18,1))", "cast(-3000000000.00 as numeric(18,2))",
          "cast(1e10 as double precision)", "cast(-1e10 as float)",
          "cast('2147483648' as char(12))", "cast('-99999999999999999999' as varchar(30))"}) {
        EXPECT_TRUE(ThrowsWithMessage<DatabaseError>([&] { Value(expression).AsInteger(); }, text))
            << expression;
    }
}

TEST_F(FieldConversionTest, TextMustBeAnIntegerAsItStands) {
    struct Case {
        std::string expression;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"cast('42 ' as varchar(5))", "''42 '' ist kein gültiger Integer-Wert"},
        {"cast('abc' as char(5))", "''abc'' ist kein gültiger Integer-Wert"},
        {"cast(null as varchar(5))", "'''' ist kein gültiger Integer-Wert"},
        {"cast('' as char(3))", "'''' ist kein gültiger Integer-Wert"},
        // The database holds decimal integers; hexadecimal is the program's own input syntax.
        {"cast('$7E4' as varchar(5))", "''$7E4'' ist kein gültiger Integer-Wert"},
        {"cast('0x7E4' as varchar(5))", "''0x7E4'' ist kein gültiger Integer-Wert"},
        {"cast('+-5' as varchar(5))", "''+-5'' ist kein gültiger Integer-Wert"},
    };
    for (const Case& test : cases) {
        EXPECT_TRUE(
            ThrowsWithMessage<ConvertError>([&] { Value(test.expression).AsInteger(); }, test.text))
            << test.expression;
    }
}

TEST_F(FieldConversionTest, OtherTypesAreNoIntegers) {
    EXPECT_TRUE(ThrowsWithMessage<DatabaseError>(
        [&] { Value("cast('2020-03-01' as date)").AsInteger(); },
        "dqQuery: Das Feld 'X' kann nicht als Integer gelesen werden"));
}

TEST_F(FieldConversionTest, StoredColumnsAndNulls) {
    const std::vector<std::string> columns = {"S", "I", "B", "N", "F", "D", "C", "V"};
    c.OpenFirst("select * from WERTE where ID = 2");
    std::vector<std::int32_t> values;
    for (const std::string& column : columns) {
        values.push_back(c.first.FieldByName(column).AsInteger());
    }
    EXPECT_EQ(values, (std::vector<std::int32_t>{-7, 123456, 1000, 100, 0, 2, 17, -4}));

    c.OpenFirst("select * from WERTE where ID = 1");
    for (const char* column : {"S", "I", "B", "N", "F", "D", "T"}) {
        EXPECT_TRUE(c.first.FieldByName(column).IsNull()) << column;
        EXPECT_EQ(c.first.FieldByName(column).AsInteger(), 0) << column;
    }
    EXPECT_THROW(c.first.FieldByName("C").AsInteger(), ConvertError);

    c.OpenFirst("select * from WERTE where ID = 3");  // no row
    EXPECT_EQ(c.first.FieldByName("B").AsInteger(), 0);
    EXPECT_EQ(c.first.FieldByName("N").AsInteger(), 0);
    EXPECT_THROW(c.first.FieldByName("V").AsInteger(), ConvertError);
}

TEST_F(FieldConversionTest, ValuesAsText) {
    struct Case {
        std::string expression;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"cast(-7 as smallint)", "-7"},
        {"cast(12.5 as numeric(4,1))", "12.5"},
        {"cast(-0.05 as numeric(9,2))", "-0.05"},
        {"cast(1234.5678 as decimal(18,4))", "1234.5678"},
        {"cast(2.5 as double precision)", "2.5"},
        {"cast('ab  ' as char(6))", "ab"},
        {"cast('ab  ' as varchar(6))", "ab  "},
        {"cast('2020-03-01' as date)", "2020-03-01"},
        {"cast('1899-12-30 13:45:10' as timestamp)", "1899-12-30 13:45:10"},
        {"cast('07:05:00' as time)", "07:05:00"},
        {"true", "true"},
        {"cast(null as varchar(5))", ""},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Value(test.expression).AsString(), test.text) << test.expression;
    }
}

// Text goes to the server as Windows-1252 bytes and comes back as UTF-8.
TEST_F(FieldConversionTest, TextIsStoredAsWindows1252) {
    c.OpenFirst("select * from RDB$DATABASE");
    c.Execute("insert into WERTE (ID, V) values (10, 'Größe: 5 € – „neu“')");
    c.first.Close();
    EXPECT_EQ(db.QueryRows("select V, octet_length(V), char_length(V) from WERTE where ID = 10"),
              (std::vector<std::vector<std::string>>{{"Größe: 5 € – „neu“", "18", "18"}}));

    c.OpenFirst("select * from RDB$DATABASE");
    c.statement.SetSQL("insert into WERTE (ID, V) values (11, 'Łódź')");
    EXPECT_TRUE(ThrowsWithMessage<ConvertError>(
        [&] { c.statement.ExecQuery(); },
        "Das Zeichen U+0141 kann in der Datenbank nicht gespeichert werden (Windows-1252)"));
}

}  // namespace
}  // namespace zav
