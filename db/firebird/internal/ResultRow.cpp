#include "db/firebird/internal/ResultRow.h"

#include <algorithm>
#include <new>

#include "db/values/Windows1252.h"

namespace zav {

XSQLDA* ResultRow::Reserve(int columnCount) {
    Clear();
    const int count = std::max(columnCount, 1);
    auto* da = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(count)));
    if (da == nullptr) {
        throw std::bad_alloc();
    }
    da->version = SQLDA_VERSION1;
    da->sqln = static_cast<ISC_SHORT>(count);
    descriptor_.reset(da);
    return da;
}

int ResultRow::MissingCapacity() const {
    const XSQLDA* da = descriptor_.get();
    return da != nullptr && da->sqld > da->sqln ? da->sqld : 0;
}

void ResultRow::Bind() {
    XSQLDA* da = descriptor_.get();
    const auto count = static_cast<std::size_t>(da->sqld);
    columns_.assign(count, ColumnInfo{});
    buffers_.assign(count, {});
    indicators_.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        XSQLVAR& var = da->sqlvar[i];
        ColumnInfo& column = columns_[i];
        column.name.assign(var.aliasname, static_cast<std::size_t>(std::max<short>(
                                              0, std::min<short>(var.aliasname_length, 31))));
        // Names of a connection without character set come as the statement's Windows-1252 bytes.
        if (!IsValidUtf8(column.name)) {
            column.name = Windows1252ToUtf8(column.name);
        }
        column.type = static_cast<short>(var.sqltype & ~1);
        column.scale = var.sqlscale;
        column.subType = var.sqlsubtype;
        column.length = var.sqllen;
        std::size_t size = static_cast<std::size_t>(std::max<short>(var.sqllen, 0));
        if (column.type == SQL_VARYING) {
            size += sizeof(short);
        }
        buffers_[i].assign(std::max<std::size_t>(size, 1), '\0');
        var.sqldata = buffers_[i].data();
        var.sqlind = &indicators_[i];
    }
}

void ResultRow::Clear() {
    descriptor_.reset();
    columns_.clear();
    buffers_.clear();
    indicators_.clear();
}

ColumnValue ResultRow::Value(std::size_t index) const {
    ColumnValue value;
    value.column = &columns_.at(index);
    value.data = buffers_[index].data();
    // A column the server reports as not nullable leaves the indicator untouched at 0.
    value.isNull = indicators_[index] < 0;
    return value;
}

}  // namespace zav
