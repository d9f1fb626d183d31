#pragma once

#include <ibase.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace zav {

// One column of a result as the server describes it.
struct ColumnInfo {
    std::string name;  // the alias name: the column's own name for a plain table column
    short type = 0;    // SQL_* without the nullable bit
    short scale = 0;
    short subType = 0;  // the character set for text columns
    short length = 0;
};

// The current row of a column: data points into the row buffer.
struct ColumnValue {
    const ColumnInfo* column = nullptr;
    const char* data = nullptr;
    bool isNull = true;
};

// The output descriptor of a prepared select and the buffers the server fetches each row into.
class ResultRow {
public:
    ResultRow() = default;
    ResultRow(const ResultRow&) = delete;
    ResultRow& operator=(const ResultRow&) = delete;

    // An empty descriptor with room for the given number of columns, for isc_dsql_describe.
    XSQLDA* Reserve(int columnCount);
    // Room the last describe asked for (more columns than reserved), or 0 when it fitted.
    int MissingCapacity() const;
    // Sets up a buffer for every described column; call after a describe that fitted.
    void Bind();
    void Clear();

    XSQLDA* Descriptor() const { return descriptor_.get(); }
    const std::vector<ColumnInfo>& Columns() const { return columns_; }
    // The value of a column in the last fetched row.
    ColumnValue Value(std::size_t index) const;

private:
    struct FreeDeleter {
        void operator()(XSQLDA* p) const { std::free(p); }
    };
    std::unique_ptr<XSQLDA, FreeDeleter> descriptor_;
    std::vector<ColumnInfo> columns_;
    std::vector<std::vector<char>> buffers_;
    std::vector<short> indicators_;
};

}  // namespace zav
