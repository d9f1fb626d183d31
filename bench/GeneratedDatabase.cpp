#include "bench/GeneratedDatabase.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "db/values/SqlUtils.h"
#include "support/FileText.h"
#include "support/IsqlProcess.h"

namespace zav::bench {
namespace fs = std::filesystem;
namespace {

constexpr int kRevenueGroupsWithHistory = 10;

}  // namespace

std::string GeneratedRowsScript(DatabaseSize size) {
    const int newspaperGroup = (size.groups + 1) / 2;
    std::ostringstream sql;
    sql << "INSERT INTO EINSTELLUNGEN (NAMEID, WERT) VALUES ('Datum.AnfangsJahr', '2020');\n"
        // Ids from the trigger: 1 = 0 %, 2 = 10 %, 3 = 13 %, 4 = 20 %.
        << "INSERT INTO STEUERSATZ (PROZENT, INFO) VALUES (0, 'Steuerfrei');\n"
        << "INSERT INTO STEUERSATZ (PROZENT, INFO) VALUES (10, 'Ermaessigt');\n"
        << "INSERT INTO STEUERSATZ (PROZENT, INFO) VALUES (13, 'Ermaessigt 13');\n"
        << "INSERT INTO STEUERSATZ (PROZENT, INFO) VALUES (20, 'Normal');\n"
        << "INSERT INTO EINHEIT (EINHEITID, BEZEICHNUNG) VALUES (1, 'Stueck');\n"
        << "INSERT INTO EINHEIT (EINHEITID, BEZEICHNUNG) VALUES (3, 'Exemplar');\n"
        << "INSERT INTO LIEFERANT (LIEFERANTID, NAME) VALUES (1, 'Grosso Ost');\n"
        << "INSERT INTO LIEFERANT (LIEFERANTID, NAME) VALUES (2, 'Grosso Nord');\n"
        << "SET TERM ^ ;\n"
        << "EXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n"
        << "  WHILE (i <= " << size.units << ") DO BEGIN\n"
        << "    INSERT INTO BETRIEB (BETRIEBID, BEZEICHNUNG) VALUES (:i, 'Betrieb ' || :i);\n"
        << "    i = i + 1;\n"
        << "  END\n"
        << "END^\n"
        // Positions with gaps, as years of editing leave them.
        << "EXECUTE BLOCK AS DECLARE i INTEGER = 1; DECLARE rate INTEGER; BEGIN\n"
        << "  WHILE (i <= " << size.groups << ") DO BEGIN\n"
        << "    rate = IIF(i = " << newspaperGroup << ", 2, 4);\n"
        << "    INSERT INTO HGR_ARTIKEL (HGR_ARTIKELID, POS, BEZEICHNUNG, KTO_WE, KTO_ERLOS, "
           "VSTID,\n"
        << "        USTID, IS_WE, IS_WA, IS_ERLOSKALK) VALUES (:i, 2 * :i, 'Gruppe ' || :i,\n"
        << "        IIF(:i = " << newspaperGroup << ", '5503', '5000'), '4000', :rate, :rate,\n"
        << "        'T', 'T', 'T');\n"
        << "    i = i + 1;\n"
        << "  END\n"
        << "END^\n"
        << "EXECUTE BLOCK AS DECLARE b INTEGER; DECLARE g INTEGER; DECLARE m INTEGER; BEGIN\n"
        << "  FOR SELECT BETRIEBID FROM BETRIEB INTO :b DO BEGIN\n"
        << "    g = 1;\n"
        << "    WHILE (g <= " << std::min(kRevenueGroupsWithHistory, size.groups) << ") DO BEGIN\n"
        << "      m = 1;\n"
        << "      WHILE (m <= 12) DO BEGIN\n"
        << "        INSERT INTO MONAT_ERLOS (BETRIEBID, MONAT, HGR_ARTIKELID, RAS)\n"
        << "          VALUES (:b, :m, :g, 100 * :g + :m);\n"
        << "        m = m + 1;\n"
        << "      END\n"
        << "      g = g + 1;\n"
        << "    END\n"
        << "  END\n"
        << "END^\n"
        << "SET TERM ; ^\n"
        << "INSERT INTO ARTIKEL (ARTIKELID, ARTIKEL_NAME, EINHEITID, HGR_ARTIKELID, IS_WE)"
        << " VALUES (1, 'Tagblatt', 3, " << newspaperGroup << ", 'T');\n"
        << "INSERT INTO ARTIKEL_GEBINDE (ARTIKEL_GEBINDEID, ARTIKELID, MENGE) VALUES (1, 1, 1);\n"
        << "INSERT INTO LIEFERANT_ARTIKEL (ARTIKEL_GEBINDEID, LIEFERANTID) VALUES (1, 1);\n"
        << "INSERT INTO LIEFERANT_ARTIKEL (ARTIKEL_GEBINDEID, LIEFERANTID) VALUES (1, 2);\n"
        << "SET GENERATOR GEN_BETRIEB_ID TO " << size.units << ";\n"
        << "SET GENERATOR GEN_HGR_ARTIKEL_ID TO " << size.groups << ";\n"
        << "SET GENERATOR GEN_ARTIKEL_ID TO 1;\n"
        << "SET GENERATOR GEN_ARTIKEL_GEBINDE_ID TO 1;\n"
        << "COMMIT;\n";
    return sql.str();
}

GeneratedDatabase::GeneratedDatabase(const std::string& folder, DatabaseSize size)
    : folder_(folder) {
    const std::string name =
        "accounting-" + std::to_string(size.groups) + "x" + std::to_string(size.units);
    const fs::path target = fs::path(folder) / (name + ".fdb");
    const fs::path script = fs::path(folder) / (name + ".sql");
    fs::remove(target);
    // One file, since isql-fb's INPUT takes no file name that holds a quote.
    test::WriteFile(script, "SET SQL DIALECT 3;\nCREATE DATABASE " + SqlStr(target.string()) +
                                " PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;\n" +
                                test::ReadFile(fs::path(ZAV_FIXTURE_DIR) / "schema.sql") + "\n" +
                                GeneratedRowsScript(size) + "COMMIT;\n");
    test::RunIsqlFb({"-q", "-b", "-user", "SYSDBA", "-i", script.string()});
    templatePath_ = target.string();
}

std::string GeneratedDatabase::FreshCopy(const std::string& name) const {
    const fs::path copy = fs::path(folder_) / (name + ".zqd");
    fs::copy_file(templatePath_, copy, fs::copy_options::overwrite_existing);
    // On disk before the timing starts: otherwise the update's first commit, which the engine
    // makes durable, pays for writing the whole copy.
    const int file = open(copy.c_str(), O_RDONLY);
    if (file < 0 || fsync(file) != 0) {
        throw std::runtime_error("cannot flush " + copy.string());
    }
    close(file);
    return copy.string();
}

}  // namespace zav::bench
