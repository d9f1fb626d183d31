#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/RunLikeTheButton.h"
#include "support/TableContents.h"
#include "support/TestDatabase.h"

namespace zav::test {
namespace {

void ExpectSuccess(const TestDatabase& db) {
    EXPECT_EQ(RunUpdateLikeTheButton(db.Path()), "");
}

int32_t RateId(const TestDatabase& db, int prozent) {
    return db.QueryInt("select STEUERSATZID from STEUERSATZ where PROZENT = " +
                       std::to_string(prozent));
}

int32_t NewGroupId(const TestDatabase& db) {
    return db.QueryInt("select HGR_ARTIKELID from HGR_ARTIKEL where KTO_WE = '5503' and VSTID = " +
                       std::to_string(RateId(db, 5)));
}

int32_t NewGebindeId(const TestDatabase& db) {
    return db.QueryInt(
        "select g.ARTIKEL_GEBINDEID from ARTIKEL_GEBINDE g join ARTIKEL a on a.ARTIKELID = "
        "g.ARTIKELID where a.ARTIKEL_NAME = 'Zeitungen Corona Sondersteuersatz'");
}

// Group ids in the order of their positions; positions must be 1..n without gaps.
std::vector<std::string> GroupsByPosition(const TestDatabase& db) {
    const Rows rows = db.QueryRows("select HGR_ARTIKELID, POS from HGR_ARTIKEL order by POS");
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][1], std::to_string(i + 1)) << "group " << rows[i][0];
        ids.push_back(rows[i][0]);
    }
    return ids;
}

// A database with only the tables and the rows a test gives, plus the tax rates 10 and 20 % and
// the units 0 and 1 (an article modelled on nothing gets the unit 0); new ids start above the
// rows'.
TestDatabase ShapedDatabase(const std::string& rows) {
    return TestDatabase::WithSchema(
        "INSERT INTO STEUERSATZ (STEUERSATZID, PROZENT, INFO) VALUES (2, 10, 'Zehn');\n"
        "INSERT INTO STEUERSATZ (STEUERSATZID, PROZENT, INFO) VALUES (4, 20, 'Zwanzig');\n"
        "SET GENERATOR GEN_STEUERSATZ_ID TO 4;\n"
        "SET GENERATOR GEN_HGR_ARTIKEL_ID TO 100;\n"
        "SET GENERATOR GEN_ARTIKEL_ID TO 1000;\n"
        "SET GENERATOR GEN_ARTIKEL_GEBINDE_ID TO 2000;\n"
        "INSERT INTO EINHEIT (EINHEITID, BEZEICHNUNG) VALUES (0, 'ohne');\n"
        "INSERT INTO EINHEIT (EINHEITID, BEZEICHNUNG) VALUES (1, 'Stück');\n"
        "INSERT INTO LIEFERANT (LIEFERANTID, NAME) VALUES (1, 'Eins');\n"
        "INSERT INTO LIEFERANT (LIEFERANTID, NAME) VALUES (2, 'Zwei');\n"
        "INSERT INTO LIEFERANT (LIEFERANTID, NAME) VALUES (3, 'Drei');\n" +
        rows + "COMMIT;\n");
}

std::string Group(int id, const std::string& pos, const std::string& ktoWe, int vstId,
                  const std::string& deleted = "F") {
    return "INSERT INTO HGR_ARTIKEL (HGR_ARTIKELID, POS, BEZEICHNUNG, KTO_WE, VSTID, USTID, "
           "IS_DELETED) VALUES (" +
           std::to_string(id) + ", " + pos + ", 'G" + std::to_string(id) + "', '" + ktoWe + "', " +
           std::to_string(vstId) + ", " + std::to_string(vstId) + ", '" + deleted + "');\n";
}

std::string Betrieb(int id) {
    return "INSERT INTO BETRIEB (BETRIEBID, BEZEICHNUNG) VALUES (" + std::to_string(id) + ", 'B" +
           std::to_string(id) + "');\n";
}

std::string Artikel(int id, int groupId, int einheitId = 1) {
    return "INSERT INTO ARTIKEL (ARTIKELID, ARTIKEL_NAME, EINHEITID, HGR_ARTIKELID) VALUES (" +
           std::to_string(id) + ", 'A" + std::to_string(id) + "', " + std::to_string(einheitId) +
           ", " + std::to_string(groupId) + ");\n";
}

std::string Gebinde(int id, int artikelId, int menge = 1) {
    return "INSERT INTO ARTIKEL_GEBINDE (ARTIKEL_GEBINDEID, ARTIKELID, MENGE) VALUES (" +
           std::to_string(id) + ", " + std::to_string(artikelId) + ", " + std::to_string(menge) +
           ");\n";
}

std::string Link(int gebindeId, int lieferantId) {
    return "INSERT INTO LIEFERANT_ARTIKEL (ARTIKEL_GEBINDEID, LIEFERANTID) VALUES (" +
           std::to_string(gebindeId) + ", " + std::to_string(lieferantId) + ");\n";
}

TEST(TrafikUpdate, FullRunWritesGroupPositionsMonthsArticleAndLinks) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    const std::vector<std::string> oldOrder =
        db.QueryColumn("select HGR_ARTIKELID from HGR_ARTIKEL order by POS");
    const int32_t tenGroupId = 4;
    const auto nextId = [&](const char* generator) {
        return std::to_string(
            db.QueryInt(std::string("select gen_id(") + generator + ", 0) from RDB$DATABASE") + 1);
    };
    const std::string groupId = nextId("GEN_HGR_ARTIKEL_ID");
    const std::string artikelId = nextId("GEN_ARTIKEL_ID");
    const std::string gebindeId = nextId("GEN_ARTIKEL_GEBINDE_ID");
    // The model is whatever the unordered lookups deliver first, as the update reads them.
    const std::string modelArtikel =
        db.QueryColumn("select ARTIKELID from ARTIKEL where HGR_ARTIKELID = 4").at(0);
    const std::string modelEinheit =
        db.QueryColumn("select EINHEITID from ARTIKEL where HGR_ARTIKELID = 4").at(0);
    const std::string modelGebinde =
        db.QueryColumn("select ARTIKEL_GEBINDEID from ARTIKEL_GEBINDE where ARTIKELID = " +
                       modelArtikel)
            .at(0);
    std::vector<std::string> modelSuppliers = db.QueryColumn(
        "select LIEFERANTID from LIEFERANT_ARTIKEL where ARTIKEL_GEBINDEID = " + modelGebinde);
    ASSERT_FALSE(modelSuppliers.empty());

    ExpectSuccess(db);

    const int32_t rate5 = RateId(db, 5);
    EXPECT_EQ(db.QueryColumn("select INFO from STEUERSATZ where PROZENT = 5"),
              std::vector<std::string>{"Corona Sondersteuersatz"});

    const Rows group = db.QueryRows(
        "select HGR_ARTIKELID, BEZEICHNUNG, IS_WE, VSTID, KTO_WE, IS_WA, USTID, IS_ERLOSKALK, "
        "IS_ERLOSEINGABE_MANUELL, KTO_ERLOS, IS_ABSCHLAG, PAUSCHALBETRAG_ART, IS_ZIMMER, "
        "IS_DELETED "
        "from HGR_ARTIKEL where VSTID = " +
        std::to_string(rate5));
    ASSERT_EQ(group.size(), 1u);
    const std::string r5 = std::to_string(rate5);
    EXPECT_EQ(group[0],
              (std::vector<std::string>{groupId, "Zeitungen 5% Sondersteuersatz", "T", r5, "5503",
                                        "T", r5, "T", "F", "4003", "F", "B", "F", "F"}));

    // Positions 1..n in the old order, deleted groups included, the new group before the 10 % one.
    std::vector<std::string> expectedOrder = oldOrder;
    expectedOrder.insert(
        std::find(expectedOrder.begin(), expectedOrder.end(), std::to_string(tenGroupId)), groupId);
    EXPECT_EQ(GroupsByPosition(db), expectedOrder);

    const int32_t betriebe = db.QueryInt("select count(*) from BETRIEB");
    EXPECT_EQ(db.QueryInt("select count(*) from MONAT_ERLOS where HGR_ARTIKELID = " + groupId),
              12 * betriebe);
    EXPECT_EQ(db.QueryInt("select count(*) from MONAT_ERLOS where HGR_ARTIKELID = " + groupId +
                          " and RAS = 0 and EINGABEART = 'B' and MONAT between 1 and 12"),
              12 * betriebe);
    EXPECT_EQ(
        db.QueryInt("select count(distinct BETRIEBID) from MONAT_ERLOS where HGR_ARTIKELID = " +
                    groupId),
        betriebe);

    const Rows artikel = db.QueryRows(
        "select ARTIKELID, ARTIKEL_NAME, EINHEITID, IS_WE, IS_WA, IS_PRODUKT, IS_VKPREIS_SPERREN, "
        "IS_EKPREIS_MERKEN from ARTIKEL where HGR_ARTIKELID = " +
        groupId);
    ASSERT_EQ(artikel.size(), 1u);
    EXPECT_EQ(artikel[0], (std::vector<std::string>{artikelId, "Zeitungen Corona Sondersteuersatz",
                                                    modelEinheit, "T", "F", "F", "T", "F"}));

    const Rows gebinde = db.QueryRows(
        "select ARTIKEL_GEBINDEID, MENGE from ARTIKEL_GEBINDE where ARTIKELID = " + artikelId);
    ASSERT_EQ(gebinde.size(), 1u);
    EXPECT_EQ(gebinde[0], (std::vector<std::string>{gebindeId, "1"}));

    std::vector<std::string> newSuppliers = db.QueryColumn(
        "select LIEFERANTID from LIEFERANT_ARTIKEL where ARTIKEL_GEBINDEID = " + gebindeId);
    std::sort(newSuppliers.begin(), newSuppliers.end());
    std::sort(modelSuppliers.begin(), modelSuppliers.end());
    EXPECT_EQ(newSuppliers, modelSuppliers);
}

TEST(TrafikUpdate, SecondRunChangesNoTableAndNoGenerator) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    ExpectSuccess(db);
    const TableContents afterFirst = ReadTables(db.Path());
    ExpectSuccess(db);
    EXPECT_EQ(ReadTables(db.Path()), afterFirst);
}

TEST(TrafikUpdate, WithoutTenPercentGroupTheNewGroupComesLast) {
    const TestDatabase db = ShapedDatabase(Group(1, "3", "5000", 4) + Group(2, "8", "5100", 4) +
                                           Group(3, "5", "5503", 4) + Betrieb(1));
    ExpectSuccess(db);
    const int32_t newGroup = NewGroupId(db);
    EXPECT_EQ(GroupsByPosition(db),
              (std::vector<std::string>{"1", "3", "2", std::to_string(newGroup)}));
    // Modelled on nothing: unit 0, one packaging unit, no supplier link.
    EXPECT_EQ(db.QueryColumn("select EINHEITID from ARTIKEL where HGR_ARTIKELID = " +
                             std::to_string(newGroup)),
              std::vector<std::string>{"0"});
    EXPECT_EQ(db.QueryInt("select count(*) from ARTIKEL_GEBINDE"), 1);
    EXPECT_EQ(db.QueryInt("select count(*) from LIEFERANT_ARTIKEL"), 0);
}

TEST(TrafikUpdate, EmptyGroupTableGivesPositionOneAndNoBetriebNoMonths) {
    const TestDatabase db = ShapedDatabase("");
    ExpectSuccess(db);
    EXPECT_EQ(db.QueryRows("select POS from HGR_ARTIKEL"), (Rows{{"1"}}));
    EXPECT_EQ(db.QueryInt("select count(*) from MONAT_ERLOS"), 0);
}

TEST(TrafikUpdate, TiedAndNullPositionsEndAsOneToN) {
    // The group before the 10 % group already holds its position minus one; one group has none.
    const TestDatabase db =
        ShapedDatabase(Group(1, "1", "5000", 4) + Group(2, "4", "5100", 4) +
                       Group(3, "5", "5503", 2) + Group(4, "NULL", "5200", 4) +
                       Group(5, "5", "5300", 4, "T") + Artikel(10, 3) + Gebinde(100, 10));
    ExpectSuccess(db);
    const std::vector<std::string> order = GroupsByPosition(db);
    ASSERT_EQ(order.size(), 6u);
    const std::string newGroup = std::to_string(NewGroupId(db));
    const auto at = [&](const std::string& id) {
        return std::find(order.begin(), order.end(), id) - order.begin();
    };
    EXPECT_LT(at(newGroup), at("3"));
    EXPECT_LT(at("1"), at(newGroup));
    EXPECT_EQ(order.front(), "4");  // a null position sorts first
}

TEST(TrafikUpdate, NullPositionOfTenPercentGroupStillRenumbers) {
    const TestDatabase db =
        ShapedDatabase(Group(1, "2", "5000", 4) + Group(3, "NULL", "5503", 2) + Betrieb(7));
    ExpectSuccess(db);
    EXPECT_EQ(GroupsByPosition(db).size(), 3u);
}

TEST(TrafikUpdate, PositionsAtTheEdgesOfTheIntegerRangeStillRenumber) {
    const TestDatabase highest = ShapedDatabase(Group(1, "2147483647", "5000", 4) + Betrieb(1));
    ExpectSuccess(highest);
    EXPECT_EQ(GroupsByPosition(highest).size(), 2u);

    const TestDatabase lowest =
        ShapedDatabase(Group(1, "5", "5000", 4) + Group(3, "-2147483648", "5503", 2) + Betrieb(1));
    ExpectSuccess(lowest);
    const std::vector<std::string> order = GroupsByPosition(lowest);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order.back(), "1");
}

TEST(TrafikUpdate, DensePositionsPutTheNewGroupDirectlyBeforeTheTenPercentGroup) {
    // Positions 1, 2, 3, ...: the new group shares its position with the neighbour (group 3).
    const std::string groups = Group(1, "1", "5000", 4) + Group(3, "2", "5100", 4) +
                               Group(4, "3", "5503", 2) + Group(5, "4", "5200", 4);
    // Groups deleted before leave free space at the front, so the new group's record is stored
    // before its neighbour's instead of after it.
    std::string deletedFirst;
    for (int id = 200; id < 500; ++id) {
        deletedFirst += Group(id, "9", "5300", 4);
    }
    deletedFirst += groups +
                    "COMMIT;\nDELETE FROM HGR_ARTIKEL WHERE HGR_ARTIKELID >= 200;\nCOMMIT;\n"
                    "SELECT COUNT(*) FROM HGR_ARTIKEL;\n";
    for (const std::string& rows : {groups, deletedFirst}) {
        const TestDatabase db = ShapedDatabase(rows + Betrieb(1));
        ExpectSuccess(db);
        EXPECT_EQ(GroupsByPosition(db),
                  (std::vector<std::string>{"1", "3", std::to_string(NewGroupId(db)), "4", "5"}));
    }
}

TEST(TrafikUpdate, AccountsThatAreNoNumberDoNotStopTheNewspaperLookups) {
    // The lookups meet groups 1 and 2 (same rate, stored first) before the newspaper group.
    for (const std::string ktoWe : {" 5503 ", "05503"}) {
        const TestDatabase db = ShapedDatabase(Group(1, "1", "", 2) + Group(2, "2", "Kasse", 2) +
                                               Group(3, "3", ktoWe, 2) + Artikel(10, 3) +
                                               Gebinde(100, 10) + Betrieb(1));
        ExpectSuccess(db);
        const std::string newGroup = std::to_string(NewGroupId(db));
        EXPECT_EQ(GroupsByPosition(db), (std::vector<std::string>{"1", "2", newGroup, "3"}));
        EXPECT_EQ(db.QueryColumn("select EINHEITID from ARTIKEL where HGR_ARTIKELID = " + newGroup),
                  std::vector<std::string>{"1"})
            << "modelled on article 10";

        // The new group spelled the same way is found too: a second run adds nothing.
        db.Execute("update HGR_ARTIKEL set KTO_WE = '" + ktoWe +
                   "' where HGR_ARTIKELID = " + newGroup);
        const TableContents before = ReadTables(db.Path());
        ExpectSuccess(db);
        EXPECT_EQ(ReadTables(db.Path()), before) << "'" << ktoWe << "'";
    }
}

TEST(TrafikUpdate, MissingModelRowsCopyNoLinksOfAnUnrelatedPackagingUnit) {
    // Article 0 and packaging unit 0 exist and have suppliers; neither belongs to the model.
    const std::string zeroes = Group(9, "9", "5000", 4) + Artikel(0, 9) + Gebinde(0, 0) +
                               Link(0, 1) + Link(0, 2) + Betrieb(1);
    const std::string cases[] = {
        "",                                            // no 10 % group
        Group(3, "1", "5503", 2),                      // a 10 % group without an article
        Group(3, "1", "5503", 2) + Artikel(10, 3, 0),  // a model without a packaging unit
    };
    for (const std::string& model : cases) {
        const TestDatabase db = ShapedDatabase(zeroes + model);
        ExpectSuccess(db);
        const int32_t newGebinde = NewGebindeId(db);
        EXPECT_EQ(db.QueryInt("select count(*) from LIEFERANT_ARTIKEL where ARTIKEL_GEBINDEID = " +
                              std::to_string(newGebinde)),
                  0)
            << model;
        EXPECT_EQ(db.QueryColumn("select EINHEITID from ARTIKEL where ARTIKEL_NAME = "
                                 "'Zeitungen Corona Sondersteuersatz'"),
                  std::vector<std::string>{"0"});
    }
}

TEST(TrafikUpdate, ThreeBetriebeGetTwelveMonthsEach) {
    const TestDatabase db = ShapedDatabase(Group(3, "1", "5503", 2) + Betrieb(1) + Betrieb(5) +
                                           Betrieb(9) + Artikel(10, 3) + Gebinde(100, 10));
    ExpectSuccess(db);
    const std::string newGroup = std::to_string(NewGroupId(db));
    EXPECT_EQ(db.QueryRows("select BETRIEBID, count(*) from MONAT_ERLOS where HGR_ARTIKELID = " +
                           newGroup + " group by BETRIEBID order by BETRIEBID"),
              (Rows{{"1", "12"}, {"5", "12"}, {"9", "12"}}));
}

TEST(TrafikUpdate, OnlyTheFirstPackagingUnitOfTheModelSuppliesLinks) {
    const TestDatabase db = ShapedDatabase(Group(3, "1", "5503", 2) + Artikel(10, 3) +
                                           Gebinde(100, 10) + Gebinde(101, 10, 25) + Link(100, 1) +
                                           Link(100, 2) + Link(100, 3) + Link(101, 2) + Betrieb(1));
    const std::string firstGebinde =
        db.QueryColumn("select ARTIKEL_GEBINDEID from ARTIKEL_GEBINDE where ARTIKELID = 10").at(0);
    ExpectSuccess(db);
    const int32_t newGebinde = NewGebindeId(db);
    EXPECT_EQ(db.QueryRows("select MENGE from ARTIKEL_GEBINDE where ARTIKEL_GEBINDEID = " +
                           std::to_string(newGebinde)),
              (Rows{{"1"}}));
    EXPECT_EQ(db.QueryInt("select count(*) from LIEFERANT_ARTIKEL where ARTIKEL_GEBINDEID = " +
                          std::to_string(newGebinde)),
              db.QueryInt("select count(*) from LIEFERANT_ARTIKEL where ARTIKEL_GEBINDEID = " +
                          firstGebinde));
}

TEST(TrafikUpdate, ModelWithoutSupplierLinkGivesArticleAndPackagingOnly) {
    const TestDatabase db =
        ShapedDatabase(Group(3, "1", "5503", 2) + Artikel(10, 3) + Gebinde(100, 10) + Betrieb(1));
    ExpectSuccess(db);
    EXPECT_EQ(db.QueryInt("select count(*) from ARTIKEL"), 2);
    EXPECT_EQ(db.QueryInt("select count(*) from ARTIKEL_GEBINDE"), 2);
    EXPECT_EQ(db.QueryInt("select count(*) from LIEFERANT_ARTIKEL"), 0);
}

TEST(TrafikUpdate, FivePercentGroupWithAnArticleGetsNoNewArticle) {
    // A 5 % group that already exists, with an article of any name: neither step writes.
    const TestDatabase db = ShapedDatabase(
        "INSERT INTO STEUERSATZ (STEUERSATZID, PROZENT, INFO) VALUES (5, 5, 'Fünf');\n" +
        Group(3, "2", "5503", 2) + Group(6, "1", "5503", 5) + Artikel(10, 3) + Gebinde(100, 10) +
        Artikel(11, 6) + Betrieb(1));
    const TableContents before = ReadTables(db.Path());
    ExpectSuccess(db);
    EXPECT_EQ(ReadTables(db.Path()), before);
}

TEST(TrafikUpdate, MissingTenPercentRateStopsBeforeAnyWrite) {
    const TestDatabase db = TestDatabase::WithSchema(
        "INSERT INTO STEUERSATZ (PROZENT, INFO) VALUES (20, 'Zwanzig');\nCOMMIT;\n");
    EXPECT_EQ(RunUpdateLikeTheButton(db.Path()), "Steuersatz mit 10% wurde nicht gefunden.");
    EXPECT_EQ(db.QueryInt("select count(*) from HGR_ARTIKEL"), 0);
    // The 5 % rate is complete on its own and stays.
    EXPECT_EQ(db.QueryInt("select count(*) from STEUERSATZ where PROZENT = 5"), 1);
}

// A trigger that rejects one statement of the update part-way through.
struct Rejection {
    const char* step;
    const char* trigger;
};

class TrafikUpdateRejected : public ::testing::TestWithParam<Rejection> {};

TEST_P(TrafikUpdateRejected, LeavesTheDataAsBeforeAndReportsTheDatabaseText) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    db.Execute("CREATE EXCEPTION E_ABGELEHNT 'Abgelehnt im Test'");
    db.Execute(GetParam().trigger);
    const TableContents before = ReadTables(db.Path());

    const std::string errorBox = RunUpdateLikeTheButton(
        db.Path(), ClientLibrary::System(), [] { ADD_FAILURE() << "success reported"; });

    EXPECT_NE(errorBox.find("Abgelehnt im Test"), std::string::npos) << errorBox;
    // The 5 % rate is complete on its own and stays.
    EXPECT_EQ(db.QueryInt("select count(*) from STEUERSATZ where PROZENT = 5"), 1);
    EXPECT_EQ(DifferenceApartFromTheReducedRate(before, ReadTables(db.Path())), "");
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, TrafikUpdateRejected,
    ::testing::Values(Rejection{"GroupInsert",
                                "CREATE TRIGGER T_REJECT FOR HGR_ARTIKEL BEFORE INSERT AS "
                                "BEGIN EXCEPTION E_ABGELEHNT; END"},
                      Rejection{"Renumbering",
                                "CREATE TRIGGER T_REJECT FOR HGR_ARTIKEL BEFORE UPDATE AS "
                                "BEGIN IF (NEW.POS = 5) THEN EXCEPTION E_ABGELEHNT; END"},
                      Rejection{"SeventhMonth",
                                "CREATE TRIGGER T_REJECT FOR MONAT_ERLOS BEFORE INSERT AS "
                                "BEGIN IF (NEW.MONAT = 7) THEN EXCEPTION E_ABGELEHNT; END"},
                      Rejection{"Article",
                                "CREATE TRIGGER T_REJECT FOR ARTIKEL BEFORE INSERT AS "
                                "BEGIN EXCEPTION E_ABGELEHNT; END"},
                      Rejection{"SupplierLink",
                                "CREATE TRIGGER T_REJECT FOR LIEFERANT_ARTIKEL BEFORE INSERT AS "
                                "BEGIN EXCEPTION E_ABGELEHNT; END"}),
    [](const auto& info) { return std::string(info.param.step); });

TEST(TrafikUpdate, RunAfterARejectedRunCompletesTheUpdate) {
    const TestDatabase db = TestDatabase::FromFixture("trafik");
    db.Execute("CREATE EXCEPTION E_ABGELEHNT 'Abgelehnt im Test'");
    db.Execute(
        "CREATE TRIGGER T_REJECT FOR ARTIKEL BEFORE INSERT AS BEGIN EXCEPTION E_ABGELEHNT; END");
    ASSERT_NE(RunUpdateLikeTheButton(db.Path()), "");
    db.Execute("DROP TRIGGER T_REJECT");

    ExpectSuccess(db);
    const std::string newGroup = std::to_string(NewGroupId(db));
    EXPECT_EQ(db.QueryInt("select count(*) from MONAT_ERLOS where HGR_ARTIKELID = " + newGroup),
              12 * db.QueryInt("select count(*) from BETRIEB"));
    EXPECT_EQ(db.QueryInt("select count(*) from ARTIKEL where HGR_ARTIKELID = " + newGroup), 1);
}

}  // namespace
}  // namespace zav::test
