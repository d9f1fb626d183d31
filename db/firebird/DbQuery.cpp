#include "db/firebird/DbQuery.h"

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DbConnection.h"
#include "db/firebird/DbTransaction.h"
#include "db/firebird/internal/FieldConversion.h"
#include "db/firebird/internal/ResultRow.h"
#include "db/values/ValueErrors.h"

namespace zav {
namespace {

char UpperCase(char c, bool afterLatin1Lead) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') ||
        (afterLatin1Lead && byte >= 0xA0 && byte <= 0xBE && byte != 0xB7)) {
        return static_cast<char>(byte - 0x20);
    }
    return c;
}

// UTF-8 names equal but for the case of ASCII and Latin-1 letters (Ä and ä): such a letter is
// the lead byte C3 and a second byte that differs by 0x20 between the cases.
bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const bool latin1 = i > 0 && a[i - 1] == '\xC3';
        if (UpperCase(a[i], latin1) != UpperCase(b[i], latin1)) {
            return false;
        }
    }
    return true;
}

}  // namespace

const std::string& TDbField::Name() const {
    query_->RequireOpen();
    return query_->row_->Columns()[index_].name;
}

std::int32_t TDbField::AsInteger() const {
    return ColumnToInt32(Value(), query_->name_);
}

std::string TDbField::AsString() const {
    return ColumnToText(Value(), query_->name_);
}

bool TDbField::IsNull() const {
    return Value().isNull;
}

ColumnValue TDbField::Value() const {
    query_->RequireOpen();
    ColumnValue value = query_->row_->Value(index_);
    if (!query_->hasRow_) {
        value.isNull = true;  // an empty result reads as null
    }
    return value;
}

TDbQuery::TDbQuery(std::string componentName, TDbConnection& aConnection,
                   TDbTransaction& aTransaction)
    : name_(std::move(componentName)),
      connection_(aConnection),
      transaction_(aTransaction),
      statement_(aConnection),
      row_(std::make_unique<ResultRow>()) {
    connection_.Bind(this);
    transaction_.Bind(this);
}

TDbQuery::~TDbQuery() {
    statement_.DropQuietly();
    transaction_.Unbind(this);
    connection_.Unbind(this);
}

void TDbQuery::SetSQL(std::string aSql) {
    Close();
    statement_.Drop();
    row_->Clear();
    sql_ = std::move(aSql);
}

void TDbQuery::Open() {
    if (open_) {
        return;
    }
    try {
        if (!connection_.Connected()) {
            connection_.Open();
        }
        if (!transaction_.Active()) {
            transaction_.StartAutomatically();
        }
        if (!statement_.Prepared()) {
            statement_.Prepare(transaction_.Handle(), sql_);
            statement_.Describe(*row_);
        }
        statement_.OpenCursor(transaction_.Handle());
        hasRow_ = statement_.Fetch(*row_);
        eof_ = !hasRow_;
        open_ = true;
    } catch (...) {
        // A query that failed to open counts as closed, and the stop rule sees it so.
        MarkClosed();
        statement_.CloseCursorQuietly();
        transaction_.QueryClosed();
        throw;
    }
}

void TDbQuery::Close() {
    if (!open_) {
        return;
    }
    MarkClosed();
    try {
        transaction_.QueryClosed();
    } catch (...) {
        statement_.CloseCursorQuietly();
        throw;
    }
    statement_.CloseCursor();
}

void TDbQuery::Next() {
    if (eof_) {
        return;
    }
    if (statement_.Fetch(*row_)) {
        return;
    }
    // The buffers still hold the last row: the library leaves them alone at the end.
    eof_ = true;
}

TDbField TDbQuery::FieldByName(const std::string& aName) const {
    RequireOpen();
    const std::vector<ColumnInfo>& columns = row_->Columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (EqualIgnoringCase(columns[i].name, aName)) {
            return TDbField(*this, i);
        }
    }
    throw DatabaseError(name_ + ": Das Feld '" + aName + "' wurde nicht gefunden");
}

TDbField TDbQuery::Field(int aPosition) const {
    RequireOpen();
    if (aPosition < 0 || aPosition >= FieldCount()) {
        throw ArgumentOutOfRangeError(name_ + ": Die Spaltennummer " + std::to_string(aPosition) +
                                      " liegt außerhalb des gültigen Bereichs (0 bis " +
                                      std::to_string(FieldCount() - 1) + ")");
    }
    return TDbField(*this, static_cast<std::size_t>(aPosition));
}

int TDbQuery::FieldCount() const {
    return open_ ? static_cast<int>(row_->Columns().size()) : 0;
}

void TDbQuery::RequireOpen() const {
    if (!open_) {
        throw DatabaseError(name_ + ": Die Abfrage ist nicht geöffnet");
    }
}

void TDbQuery::MarkClosed() {
    open_ = false;
    eof_ = true;
    hasRow_ = false;
}

void TDbQuery::OnTransactionEnding(bool forced) {
    // A closed query drops its statement too: it is prepared again in the next transaction.
    MarkClosed();
    if (forced) {
        statement_.DropQuietly();
    } else {
        statement_.Drop();
    }
}

void TDbQuery::OnConnectionClosing() {
    Close();
    statement_.Drop();
}

void TDbQuery::ReleaseHandles() noexcept {
    MarkClosed();
    statement_.DropQuietly();
}

}  // namespace zav
