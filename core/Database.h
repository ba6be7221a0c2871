#pragma once
// Access to the race database: one named SQLite connection, result sets that are
// fetched whole (so their row count is exact at once), and writes of one
// statement each. A statement the database refuses is reported through the
// connection's error reporter and the caller is told, so its handler can stop.
// Inside a transaction the refusal ends the transaction, rolled back, before
// the reporter is called: whatever runs while the report is shown (a message
// box runs the event loop) writes outside the failed transaction.

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class QSqlQuery;

namespace kv {

// A whole result set, read into memory.
class Recordset {
public:
    int RecordCount() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const QSqlRecord& row(int i) const { return m_rows.at(i); }
    // The value of a field of row i (a null QVariant for SQL NULL).
    QVariant value(int i, const QString& field) const { return m_rows.at(i).value(field); }
    QVariant value(int i, int column) const { return m_rows.at(i).value(column); }
    QList<QSqlRecord>::const_iterator begin() const { return m_rows.cbegin(); }
    QList<QSqlRecord>::const_iterator end() const { return m_rows.cend(); }

private:
    friend class Database;
    QList<QSqlRecord> m_rows;
};

// How Database::Open met the database file.
enum class OpenOutcome {
    NotOpened,
    Opened,
    // A WAL database in a folder that cannot be written: SQLite can read it
    // there only as the file stands (its immutable open), read-only and blind
    // to a write log ("<file>-wal") beside it.
    OpenedAsItStands,
    // As above, but the write log beside it holds changes, which such an open
    // would miss: not opened, rather than read as an older state.
    WriteLogUnread,
};

// The connection is open: as usual, or as the file stands.
constexpr bool IsOpen(OpenOutcome outcome) {
    return outcome == OpenOutcome::Opened || outcome == OpenOutcome::OpenedAsItStands;
}

class Database {
public:
    // Called with a short description of what failed, the statement and the
    // engine's error text.
    using ErrorReporter =
        std::function<void(const QString& what, const QString& sql, const QString& error)>;

    explicit Database(QString connectionName = QStringLiteral("DbConnection"));
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing database file. Never creates one: a missing file, or a
    // file that is not a database, fails with errorText() set. openOutcome()
    // tells how the file was met.
    bool Open(const QString& connectionString);
    OpenOutcome openOutcome() const { return m_outcome; }
    bool isOpen() const;
    void Close();
    QString errorText() const { return m_lastError; }
    QString connectionName() const { return m_name; }
    QString filePath() const { return m_file; }

    // Runs one statement that returns rows. On failure the reporter is called and
    // false returned (rs is then empty).
    [[nodiscard]] bool Select(const QString& sql, Recordset& rs);
    // As Select, for long lists: each row's values, in the statement's column
    // order, go to `row` as they are read, without a record kept per row.
    using RowReader = std::function<void(const QVariantList& values)>;
    [[nodiscard]] bool SelectRows(const QString& sql, const RowReader& row);
    // Runs one statement that writes. On failure the reporter is called.
    [[nodiscard]] bool Execute(const QString& sql);
    // As Execute, for an insert of one row: newKey is the key the row was given.
    [[nodiscard]] bool Insert(const QString& sql, qint64& newKey);
    // As Execute, without reporting; for callers that handle the failure themselves.
    bool tryExecute(const QString& sql, QString* error = nullptr);

    bool BeginTrans();
    // False without a statement when the transaction was already rolled back
    // after a refused statement.
    bool CommitTrans();
    void RollbackTrans();

    void setErrorReporter(ErrorReporter reporter) { m_reporter = std::move(reporter); }
    const ErrorReporter& errorReporter() const { return m_reporter; }

    // The file named by a connection string's "Data Source=" part. A value in
    // double or single quotes may hold ";" and doubles its own quote character.
    static QString dataSourceOf(const QString& connectionString);
    // A value as it goes into a connection string: quoted when it holds a ";", a
    // quote or blanks at either end, so dataSourceOf() reads it back whole.
    static QString connectionStringValue(const QString& value);

    // Adds the QSQLITE connection `name` on an existing database file, with the
    // connect options given, and reads the file's schema, so that a file that is
    // not a database fails here. A WAL database in a folder that cannot be
    // written is opened as it stands (see OpenOutcome). Unless the outcome is
    // Opened or OpenedAsItStands, the connection is removed again and error
    // tells why.
    static OpenOutcome openConnection(const QString& name, const QString& file,
                                      const QString& options, QString* error);

    // The number of statements run through this connection (reads and writes).
    qint64 statementCount() const { return m_statements; }

    // How long a statement waits for a lock another connection holds before
    // it is refused as busy. Outside timing the connection waits
    // kDefaultBusyTimeoutMs, so a dialog rides out another program's short
    // write; while a race or practice is timed it waits only a few tens of
    // milliseconds, so the window never freezes on a lock.
    static constexpr int kDefaultBusyTimeoutMs = 5000;
    bool setBusyTimeout(int ms);
    // The wait in force on the connection (-1 when it is not open).
    int busyTimeout() const;

private:
    // Ends an open transaction, rolled back (unless told not to), then calls the
    // reporter.
    void report(const QString& what, const QString& sql, const QString& error,
                bool endTransaction = true);

    // BEGIN IMMEDIATE and COMMIT, prepared once on the open connection: every
    // lap of a timed race is a transaction.
    struct TransactionStatements;
    bool runTransactionStatement(bool begin, QString* error);
    // Runs a read, hands each row to `each`, reports a refusal.
    bool readRows(const QString& sql, const std::function<void(const QSqlQuery&)>& each);

    QString m_name;
    QString m_file;
    QString m_lastError;
    OpenOutcome m_outcome = OpenOutcome::NotOpened;
    ErrorReporter m_reporter;
    qint64 m_statements = 0;
    bool m_inTransaction = false;
    std::unique_ptr<TransactionStatements> m_transactionStatements;
};

// Runs a group of statements as one: rolled back unless commit() was called.
class Transaction {
public:
    explicit Transaction(Database& db) : m_db(db), m_active(db.BeginTrans()) {}
    ~Transaction() {
        if (m_active)
            m_db.RollbackTrans();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool active() const { return m_active; }
    bool commit() {
        if (!m_active)
            return false;
        m_active = false;
        return m_db.CommitTrans();
    }

private:
    Database& m_db;
    bool m_active;
};

// Collects the database's failure reports instead of showing them, for work
// that must not open a modal box (the lap counter's receive handling, an open
// transaction). The first failure is kept.
class QuietDatabase {
public:
    explicit QuietDatabase(Database& db);
    ~QuietDatabase();
    QuietDatabase(const QuietDatabase&) = delete;
    QuietDatabase& operator=(const QuietDatabase&) = delete;
    QString error() const { return m_error; }

private:
    Database& m_db;
    Database::ErrorReporter m_saved;
    QString m_error;
};

// Writes the statements all or none. The failure is returned, not shown, so
// that the caller tells the user only after the rollback.
bool WriteAllOrNone(Database& db, const QStringList& statements, QString* error);

// The present date and time as stored in the database.
QString NowText();

} // namespace kv
