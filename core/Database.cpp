#include "Database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QtDebug>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace kv {

struct Database::TransactionStatements {
    QSqlQuery begin;
    QSqlQuery commit;
};

Database::Database(QString connectionName) : m_name(std::move(connectionName)) {
    m_reporter = [](const QString& what, const QString& sql, const QString& error) {
        qWarning().noquote() << what << sql << error;
    };
}

Database::~Database() {
    Close();
}

QString Database::dataSourceOf(const QString& connectionString) {
    static const QRegularExpression key(QStringLiteral("(?:^|;)\\s*Data Source\\s*="),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = key.match(connectionString);
    if (!m.hasMatch())
        return QString();
    qsizetype i = m.capturedEnd();
    const qsizetype n = connectionString.size();
    const QChar quote = i < n ? connectionString.at(i) : QChar();
    if (quote != QLatin1Char('"') && quote != QLatin1Char('\'')) {
        const qsizetype end = connectionString.indexOf(QLatin1Char(';'), i);
        return connectionString.mid(i, end < 0 ? -1 : end - i);
    }
    // A quoted value ends at a lone quote; a doubled one stands for itself.
    QString value;
    for (++i; i < n; ++i) {
        const QChar c = connectionString.at(i);
        if (c == quote) {
            if (i + 1 < n && connectionString.at(i + 1) == quote)
                ++i;
            else
                break;
        }
        value += c;
    }
    return value;
}

QString Database::connectionStringValue(const QString& value) {
    const bool plain = !value.contains(QLatin1Char(';')) && !value.startsWith(QLatin1Char('"')) &&
                       !value.startsWith(QLatin1Char('\'')) && value.trimmed() == value;
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

namespace {

// Opens the connection and reads the schema; on failure the connection is gone.
bool openAndRead(const QString& name, const QString& databaseName, const QString& options,
                 QString* error) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databaseName);
        db.setConnectOptions(options);
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            // A file that is not a database fails here, not at open.
            ok = q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master;"));
            if (!ok) {
                *error = q.lastError().text();
                q = QSqlQuery();
                db.close();
            }
        }
    }
    if (!ok)
        QSqlDatabase::removeDatabase(name);
    return ok;
}

// The file's header names WAL as its journal mode (read version 2).
bool isWalDatabase(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = f.read(20);
    return header.size() == 20 && header.startsWith("SQLite format 3") && header.at(19) == 2;
}

// Asked with the rights the file is opened with (the effective ones).
bool folderWritable(const QString& file) {
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    return ::faccessat(AT_FDCWD, folder.constData(), W_OK, AT_EACCESS) == 0;
}

} // namespace

OpenOutcome Database::openConnection(const QString& name, const QString& file,
                                     const QString& options, QString* error) {
    if (openAndRead(name, file, options, error))
        return OpenOutcome::Opened;
    // SQLite reads a WAL database only beside a write log and its index, which
    // it makes in the file's folder when they are missing.
    if (folderWritable(file) || !isWalDatabase(file))
        return OpenOutcome::NotOpened;
    const QString log = file + QStringLiteral("-wal");
    if (QFileInfo(log).size() > 0) {
        *error = QStringLiteral("The file \"%1\" holds changes to the database that can be read "
                                "only in a folder that can be written.")
                     .arg(QDir::toNativeSeparators(log));
        return OpenOutcome::WriteLogUnread;
    }
    const QString asItStands =
        QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded) +
        QStringLiteral("?immutable=1");
    QString why;
    if (!openAndRead(name, asItStands,
                     options + QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"), &why))
        return OpenOutcome::NotOpened; // the first open's error says more
    return OpenOutcome::OpenedAsItStands;
}

bool Database::Open(const QString& connectionString) {
    Close();
    m_outcome = OpenOutcome::NotOpened;
    m_file = dataSourceOf(connectionString);
    const QFileInfo info(m_file);
    if (m_file.isEmpty() || !info.isFile()) {
        m_lastError = QStringLiteral("The database file \"%1\" does not exist.").arg(m_file);
        return false;
    }
    const OpenOutcome outcome = openConnection(m_name, m_file,
                                               QStringLiteral("QSQLITE_BUSY_TIMEOUT=") +
                                                   QString::number(kDefaultBusyTimeoutMs),
                                               &m_lastError);
    if (!IsOpen(outcome)) {
        m_outcome = outcome;
        return false;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL;"))) {
            m_lastError = q.lastError().text();
            q = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            return false;
        }
    }
    m_outcome = outcome;
    m_lastError.clear();
    return true;
}

bool Database::isOpen() const {
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

void Database::Close() {
    m_outcome = OpenOutcome::NotOpened;
    m_inTransaction = false;
    m_transactionStatements.reset();
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

void Database::report(const QString& what, const QString& sql, const QString& error,
                      bool endTransaction) {
    if (endTransaction)
        RollbackTrans();
    m_lastError = error;
    if (m_reporter)
        m_reporter(what, sql, error);
}

bool Database::Select(const QString& sql, Recordset& rs) {
    rs.m_rows.clear();
    if (readRows(sql, [&rs](const QSqlQuery& q) { rs.m_rows.append(q.record()); }))
        return true;
    rs.m_rows.clear();
    return false;
}

bool Database::SelectRows(const QString& sql, const RowReader& row) {
    QVariantList values;
    bool sized = false;
    return readRows(sql, [&](const QSqlQuery& q) {
        if (!sized) {
            values.resize(q.record().count());
            sized = true;
        }
        for (qsizetype i = 0; i < values.size(); ++i)
            values[i] = q.value(int(i));
        row(values);
    });
}

bool Database::readRows(const QString& sql, const std::function<void(const QSqlQuery&)>& each) {
    ++m_statements;
    if (!isOpen()) {
        report(QStringLiteral("Reading from the database failed."), sql,
               QStringLiteral("The database is not open."));
        return false;
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        report(QStringLiteral("Reading from the database failed."), sql, q.lastError().text());
        return false;
    }
    while (q.next())
        each(q);
    if (q.lastError().isValid()) {
        report(QStringLiteral("Reading from the database failed."), sql, q.lastError().text());
        return false;
    }
    return true;
}

bool Database::tryExecute(const QString& sql, QString* error) {
    ++m_statements;
    if (!isOpen()) {
        if (error)
            *error = QStringLiteral("The database is not open.");
        return false;
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    if (!q.exec(sql)) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    return true;
}

bool Database::Execute(const QString& sql) {
    QString error;
    if (tryExecute(sql, &error))
        return true;
    report(QStringLiteral("Writing to the database failed."), sql, error);
    return false;
}

bool Database::Insert(const QString& sql, qint64& newKey) {
    ++m_statements;
    QString error = QStringLiteral("The database is not open.");
    if (isOpen()) {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        if (q.exec(sql)) {
            // The key the engine gave the row, on this connection; an insert
            // that added no row leaves the previous insert's key there.
            const QVariant key = q.lastInsertId();
            if (q.numRowsAffected() == 1 && key.isValid()) {
                newKey = key.toLongLong();
                return true;
            }
            error = QStringLiteral("The statement added no row.");
        } else {
            error = q.lastError().text();
        }
    }
    report(QStringLiteral("Writing to the database failed."), sql, error);
    return false;
}

// Set and read past the statement count: the wait is the connection's
// configuration, not work of the program.
bool Database::setBusyTimeout(int ms) {
    if (!isOpen())
        return false;
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    return q.exec(QStringLiteral("PRAGMA busy_timeout=") + QString::number(std::max(0, ms)) +
                  QLatin1Char(';'));
}

int Database::busyTimeout() const {
    if (!isOpen())
        return -1;
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    if (!q.exec(QStringLiteral("PRAGMA busy_timeout;")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

bool Database::runTransactionStatement(bool begin, QString* error) {
    ++m_statements;
    if (!isOpen()) {
        *error = QStringLiteral("The database is not open.");
        return false;
    }
    if (!m_transactionStatements) {
        const QSqlDatabase db = QSqlDatabase::database(m_name, false);
        auto prepared = std::make_unique<TransactionStatements>(
            TransactionStatements{QSqlQuery(db), QSqlQuery(db)});
        if (!prepared->begin.prepare(QStringLiteral("BEGIN IMMEDIATE;"))) {
            *error = prepared->begin.lastError().text();
            return false;
        }
        if (!prepared->commit.prepare(QStringLiteral("COMMIT;"))) {
            *error = prepared->commit.lastError().text();
            return false;
        }
        m_transactionStatements = std::move(prepared);
    }
    QSqlQuery& q = begin ? m_transactionStatements->begin : m_transactionStatements->commit;
    if (q.exec())
        return true;
    *error = q.lastError().text();
    return false;
}

bool Database::BeginTrans() {
    QString error;
    if (runTransactionStatement(true, &error)) {
        m_inTransaction = true;
        return true;
    }
    // A transaction already open is not this one's to end.
    report(QStringLiteral("Writing to the database failed."), QStringLiteral("BEGIN"), error,
           false);
    return false;
}

bool Database::CommitTrans() {
    if (!m_inTransaction)
        return false;
    QString error;
    if (runTransactionStatement(false, &error)) {
        m_inTransaction = false;
        return true;
    }
    report(QStringLiteral("Writing to the database failed."), QStringLiteral("COMMIT"), error);
    return false;
}

void Database::RollbackTrans() {
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    tryExecute(QStringLiteral("ROLLBACK;"));
}

QuietDatabase::QuietDatabase(Database& db) : m_db(db), m_saved(db.errorReporter()) {
    db.setErrorReporter([this](const QString& what, const QString& sql, const QString& error) {
        if (m_error.isEmpty())
            m_error = what + QStringLiteral("\n\n") + sql + QStringLiteral("\n\n") + error;
    });
}

QuietDatabase::~QuietDatabase() {
    m_db.setErrorReporter(m_saved);
}

bool WriteAllOrNone(Database& db, const QStringList& statements, QString* error) {
    QuietDatabase quiet(db);
    Transaction trans(db);
    if (!trans.active()) {
        *error = quiet.error();
        return false;
    }
    for (const QString& sql : statements) {
        QString why;
        if (!db.tryExecute(sql, &why)) {
            *error = sql + QStringLiteral("\n\n") + why;
            return false;
        }
    }
    if (trans.commit())
        return true;
    *error = quiet.error();
    return false;
}

QString NowText() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace kv
