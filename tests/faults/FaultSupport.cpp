#include "faults/FaultSupport.h"

namespace zav::test {

const char* const kSlowSecondJulyRowTrigger =
    "CREATE TRIGGER MONAT_ERLOS_LANGSAM FOR MONAT_ERLOS ACTIVE BEFORE INSERT POSITION 0 AS "
    "DECLARE VARIABLE i INTEGER = 0; "
    "BEGIN "
    "  IF (NEW.MONAT = 7 AND (SELECT COUNT(*) FROM MONAT_ERLOS "
    "      WHERE MONAT = 7 AND HGR_ARTIKELID = NEW.HGR_ARTIKELID) = 1) THEN "
    "    WHILE (i < 100000000) DO i = i + 1; "
    "END";

}  // namespace zav::test
