#pragma once

#include <string>

namespace zav::bench {

// The size of a generated accounting database.
struct DatabaseSize {
    int groups = 0;  // revenue groups (HGR_ARTIKEL)
    int units = 0;   // business units (BETRIEB)
};

// An accounting database of the given size, built once with isql-fb from the fixtures' schema and
// generated rows: the usual tax rates, `groups` revenue groups with gaps in their positions and
// the 10 % newspaper group in the middle, `units` business units with a year of revenue for the
// first groups, and a newspaper article with a packaging unit and two suppliers.
class GeneratedDatabase {
public:
    GeneratedDatabase(const std::string& folder, DatabaseSize size);

    // A fresh copy of the database to run one update on.
    std::string FreshCopy(const std::string& name) const;
    const std::string& TemplatePath() const { return templatePath_; }

private:
    std::string folder_;
    std::string templatePath_;
};

// The rows of the generated database, as an isql-fb script run after the schema.
std::string GeneratedRowsScript(DatabaseSize size);

}  // namespace zav::bench
