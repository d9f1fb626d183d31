#include "update/TrafikUpdateDM.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DatenbankDM.h"
#include "db/firebird/UnitOfWork.h"
#include "db/values/SqlUtils.h"
#include "db/values/Variant.h"

namespace zav {
namespace {

const char* const kHgrBezeichnung = "Zeitungen 5% Sondersteuersatz";
const char* const kArtikelName = "Zeitungen Corona Sondersteuersatz";
const char* const kKtoWe = "5503";
const char* const kKtoErlos = "4003";
constexpr int32_t kGeneratorStep = 1;
const char* const kPositionsChanged =
    "Ein anderes Programm hat während des Updates Warengruppen gespeichert, zum Beispiel die "
    "Buchhaltung; ihre Reihenfolge wäre nicht mehr eindeutig. Das Update wurde nicht gespeichert. "
    "Bitte starten Sie das Update erneut.";

// A position one step from a neighbour's; at the edge of the range it stays there, which the
// renumbering that follows resolves.
int32_t PositionBeside(int32_t neighbour, int32_t step) {
    const int64_t position = int64_t{neighbour} + step;
    return static_cast<int32_t>(std::clamp<int64_t>(position, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

TdmTrafikUpdate::TdmTrafikUpdate(TdmDatenbank& dmDatenbank)
    : dqQuery("dqQuery", dmDatenbank.dbMain, dmDatenbank.trMain),
      sqlScript(dmDatenbank.dbMain, dmDatenbank.trMain),
      dmDatenbank_(dmDatenbank) {}

void TdmTrafikUpdate::Update() {
    // The existence tests would make a half-done update unfinishable: it is durable whole, before
    // the caller reports success, or undone whole.
    // The 5 % rate before it is complete on its own: closing the query that holds its transaction
    // open lets the stop rule save it, as the update's first query always did.
    dmDatenbank_.dqQuery.Close();
    UnitOfWork work(dmDatenbank_.trMain);
    const bool renumbered = UpdateHgrArtikel();
    UpdateArtikel();
    if (renumbered) {
        // As late as possible: a group that another program saved meanwhile is seen here.
        CheckPositions();
    }
    work.Commit();
}

void TdmTrafikUpdate::CheckPositions() {
    OpenQuery("select count(*), count(distinct POS), min(POS), max(POS) from HGR_ARTIKEL");
    const int32_t groups = dqQuery.Field(0).AsInteger();
    if (dqQuery.Field(1).AsInteger() != groups ||
        (groups > 0 && (dqQuery.Field(2).AsInteger() != 1 || dqQuery.Field(3).AsInteger() != groups))) {
        throw DatabaseError(kPositionsChanged);
    }
}

void TdmTrafikUpdate::OpenQuery(const std::string& sql) {
    dqQuery.Close();
    dqQuery.SetSQL(sql);
    dqQuery.Open();
}

void TdmTrafikUpdate::Execute(const std::string& sql) {
    sqlScript.SetSQL(sql);
    sqlScript.ExecQuery();
}

std::optional<int32_t> TdmTrafikUpdate::FirstId(const std::string& sql, const std::string& column) {
    OpenQuery(sql);
    if (dqQuery.Eof()) {
        return std::nullopt;
    }
    return dqQuery.FieldByName(column).AsInteger();
}

int32_t TdmTrafikUpdate::NextGeneratorValue(const std::string& generator) {
    OpenQuery(GetGenIdSql(generator, kGeneratorStep));
    return dqQuery.Field(0).AsInteger();
}

// KTO_WE is text. Compared as text, since casting it fails on any group whose account is no
// number; blanks and leading zeros, which a numeric comparison ignores, are ignored here too.
std::string TdmTrafikUpdate::NewspaperGroupSql(int32_t steuersatzId) const {
    return std::string("select * from HGR_ARTIKEL where trim(leading '0' from trim(KTO_WE)) = '") +
           kKtoWe + "' and VSTID = " + std::to_string(steuersatzId);
}

bool TdmTrafikUpdate::UpdateHgrArtikel() {
    std::vector<int32_t> betriebIds;
    TSqlFieldValueList fields;
    TSqlCommand command;

    const int32_t steuersatz5Id = dmDatenbank_.GetSteuersatzId(5);
    const int32_t steuersatz10Id = dmDatenbank_.GetSteuersatzId(10);

    OpenQuery(NewspaperGroupSql(steuersatz5Id));
    if (!dqQuery.Eof()) {
        return false;
    }

    OpenQuery(NewspaperGroupSql(steuersatz10Id));
    int32_t pos = 0;
    if (!dqQuery.Eof()) {
        pos = PositionBeside(dqQuery.FieldByName("POS").AsInteger(), -1);
    } else {
        OpenQuery("select max(pos) from HGR_ARTIKEL");
        pos = PositionBeside(dqQuery.Field(0).AsInteger(), 1);
    }

    const int32_t hgrArtikelId = NextGeneratorValue("GEN_HGR_ARTIKEL_ID");

    fields.Clear();
    fields.Add("HGR_ARTIKELID", Variant(hgrArtikelId));
    fields.Add("POS", Variant(pos));
    fields.Add("BEZEICHNUNG", Variant(kHgrBezeichnung));
    fields.Add("IS_WE", Variant("T"));
    fields.Add("VSTID", Variant(steuersatz5Id));
    fields.Add("KTO_WE", Variant(kKtoWe));
    fields.Add("IS_WA", Variant("T"));
    fields.Add("USTID", Variant(steuersatz5Id));
    fields.Add("IS_ERLOSKALK", Variant("T"));
    fields.Add("IS_ERLOSEINGABE_MANUELL", Variant("F"));
    fields.Add("KTO_ERLOS", Variant(kKtoErlos));
    fields.Add("IS_ABSCHLAG", Variant("F"));
    fields.Add("PAUSCHALBETRAG_ART", Variant("B"));
    fields.Add("IS_ZIMMER", Variant("F"));
    fields.Add("IS_DELETED", Variant("F"));
    Execute(command.Insert("HGR_ARTIKEL", fields).AsString());

    // Renumber while the query is open; the group just inserted is among the rows. The id breaks
    // ties: the new group (the highest id) follows the neighbour that shares its position.
    OpenQuery("select * from HGR_ARTIKEL order by POS, HGR_ARTIKELID");
    int32_t runningPos = 1;
    while (!dqQuery.Eof()) {
        fields.Clear();
        fields.Add("POS", Variant(runningPos));
        ++runningPos;
        const int32_t id = dqQuery.FieldByName("HGR_ARTIKELID").AsInteger();
        Execute(
            command.Update("HGR_ARTIKEL", fields).Where("HGR_ARTIKELID").EqualTo(id).AsString());
        dqQuery.Next();
    }

    OpenQuery("select * from BETRIEB");
    while (!dqQuery.Eof()) {
        betriebIds.push_back(dqQuery.FieldByName("BETRIEBID").AsInteger());
        dqQuery.Next();
    }

    for (int32_t monat = 1; monat <= 12; ++monat) {
        for (const int32_t betriebId : betriebIds) {
            fields.Clear();
            fields.Add("BETRIEBID", Variant(betriebId));
            fields.Add("MONAT", Variant(monat));
            fields.Add("HGR_ARTIKELID", Variant(hgrArtikelId));
            fields.Add("RAS", Variant(int32_t{0}));
            fields.Add("EINGABEART", Variant("B"));
            Execute(command.Insert("MONAT_ERLOS", fields).AsString());
        }
    }
    return true;
}

void TdmTrafikUpdate::UpdateArtikel() {
    const int32_t steuersatz5Id = dmDatenbank_.GetSteuersatzId(5);
    const int32_t steuersatz10Id = dmDatenbank_.GetSteuersatzId(10);

    OpenQuery(NewspaperGroupSql(steuersatz5Id));
    const int32_t hgr5Id = dqQuery.FieldByName("HGR_ARTIKELID").AsInteger();

    OpenQuery("select * from ARTIKEL where HGR_ARTIKELID = " + std::to_string(hgr5Id));
    if (!dqQuery.Eof()) {
        return;
    }

    // Each lookup runs only on a row the one before found: an id made up from a missing row could
    // name an unrelated article or packaging unit.
    std::optional<int32_t> modelArtikelId;
    int32_t modelEinheitId = 0;
    if (const auto hgr10Id = FirstId(NewspaperGroupSql(steuersatz10Id), "HGR_ARTIKELID")) {
        OpenQuery("select * from ARTIKEL where HGR_ARTIKELID = " + std::to_string(*hgr10Id));
        if (!dqQuery.Eof()) {
            modelEinheitId = dqQuery.FieldByName("EINHEITID").AsInteger();
            modelArtikelId = dqQuery.FieldByName("ARTIKELID").AsInteger();
        }
    }

    const int32_t artikelId = NextGeneratorValue("GEN_ARTIKEL_ID");
    const int32_t gebindeId = NextGeneratorValue("GEN_ARTIKEL_GEBINDE_ID");

    TSqlFieldValueList fields;
    TSqlCommand command;

    fields.Add("ARTIKELID", Variant(artikelId));
    fields.Add("ARTIKEL_NAME", Variant(kArtikelName));
    fields.Add("EINHEITID", Variant(modelEinheitId));
    fields.Add("IS_WE", Variant("T"));
    fields.Add("IS_WA", Variant("F"));
    fields.Add("IS_PRODUKT", Variant("F"));
    fields.Add("HGR_ARTIKELID", Variant(hgr5Id));
    fields.Add("IS_VKPREIS_SPERREN", Variant("T"));
    fields.Add("IS_EKPREIS_MERKEN", Variant("F"));
    Execute(command.Insert("ARTIKEL", fields).AsString());

    fields.Clear();
    fields.Add("ARTIKEL_GEBINDEID", Variant(gebindeId));
    fields.Add("ARTIKELID", Variant(artikelId));
    fields.Add("MENGE", Variant(int32_t{1}));
    Execute(command.Insert("ARTIKEL_GEBINDE", fields).AsString());

    if (!modelArtikelId) {
        return;
    }
    const std::optional<int32_t> modelGebindeId = FirstId(
        "select * from ARTIKEL_GEBINDE where ARTIKELID = " + std::to_string(*modelArtikelId),
        "ARTIKEL_GEBINDEID");
    if (!modelGebindeId) {
        return;
    }
    // The new links carry the new packaging id, so they never match the open query.
    OpenQuery("select * from LIEFERANT_ARTIKEL where ARTIKEL_GEBINDEID = " +
              std::to_string(*modelGebindeId));
    while (!dqQuery.Eof()) {
        fields.Clear();
        fields.Add("ARTIKEL_GEBINDEID", Variant(gebindeId));
        fields.Add("LIEFERANTID", Variant(dqQuery.FieldByName("LieferantId").AsInteger()));
        Execute(command.Insert("LIEFERANT_ARTIKEL", fields).AsString());
        dqQuery.Next();
    }
}

}  // namespace zav
