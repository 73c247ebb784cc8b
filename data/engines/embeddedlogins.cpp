#include "data/engines/embeddedlogins.h"

#include "core/errorvalue.h"
#include "data/office/filepermissions.h"

#include <QFile>

#include <atomic>
#include <future>
#include <memory>
#include <mutex>
#include <sodium.h>
#include <sqlite3.h>

namespace data::embedded {

namespace {

void initialiseSodium()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (sodium_init() < 0) {
            throw core::Error(core::errc::ProviderError, QStringLiteral("The password library cannot start."));
        }
    });
}

// A file this user may not write fails at its first statement with the engine's own words ("attempt to write a
// readonly database", "unable to open database file"): the administrator is told the permission instead.
QString writeProblemOf(sqlite3* db)
{
    const char* name = sqlite3_db_filename(db, "main");
    return writeProblem(QString::fromUtf8(name != nullptr ? name : ""));
}

[[noreturn]] void fail(sqlite3* db, const QString& engineText)
{
    const QString problem = writeProblemOf(db);
    throw core::Error(core::errc::ProviderError, problem.isEmpty() ? engineText : problem);
}

// The first column of the first row of a query with one text parameter; a null text when no row.
QString lookUp(sqlite3* db, const char* sql, const QString& parameter)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        fail(db, QStringLiteral("The file is not a database of this system (%1).")
                     .arg(QString::fromUtf8(sqlite3_errmsg(db))));
    }
    const QByteArray bound = parameter.toUtf8();
    if (sqlite3_bind_parameter_count(statement) > 0) {
        sqlite3_bind_text(statement, 1, bound.constData(), int(bound.size()), SQLITE_TRANSIENT);
    }
    QString result;
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        fail(db, message);
    }
    return result;
}

thread_local int checksOnThisThread = 0;
std::atomic<int> checksInProcess = 0;

bool verifyNow(const QByteArray& hash, const QByteArray& plain)
{
    ++checksOnThisThread;
    ++checksInProcess;
    return crypto_pwhash_str_verify(hash.constData(), plain.constData(), quint64(plain.size())) == 0;
}

QByteArray checkKey(const QByteArray& hash, const QByteArray& plain)
{
    QByteArray key(crypto_generichash_BYTES, Qt::Uninitialized);
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, size_t(key.size()));
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(hash.constData()),
                              size_t(hash.size()) + 1);
    crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(plain.constData()), size_t(plain.size()));
    crypto_generichash_final(&state, reinterpret_cast<unsigned char*>(key.data()), size_t(key.size()));
    return key;
}

struct AheadCheck {
    std::mutex mutex;
    QByteArray key;
    std::shared_future<bool> answer;
    // Checks a remembered login passed at an earlier start, and the ones passed in this process (latest last).
    QList<QByteArray> remembered;
    QList<QByteArray> passed;
};

AheadCheck& ahead()
{
    static AheadCheck check;
    return check;
}

constexpr qsizetype ChecksKept = 4;

// True when this hash and password passed a check at an earlier start of a remembered login.
bool rememberedCheck(const QByteArray& key)
{
    AheadCheck& check = ahead();
    const std::lock_guard lock(check.mutex);
    return check.remembered.contains(key);
}

void notePassed(const QByteArray& key)
{
    AheadCheck& check = ahead();
    const std::lock_guard lock(check.mutex);
    check.passed.removeAll(key);
    check.passed.append(key);
    while (check.passed.size() > ChecksKept) {
        check.passed.removeFirst();
    }
}

// The answer of the check started ahead for this hash and password, taken once; else the verification now.
bool verify(const QByteArray& hash, const QByteArray& plain)
{
    const QByteArray key = checkKey(hash, plain);
    if (rememberedCheck(key)) {
        notePassed(key);
        return true;
    }
    std::shared_future<bool> answer;
    {
        AheadCheck& check = ahead();
        const std::lock_guard lock(check.mutex);
        if (check.answer.valid() && check.key == key) {
            answer = std::move(check.answer);
            check.answer = {};
            check.key.clear();
        }
    }
    const bool passed = answer.valid() ? answer.get() : verifyNow(hash, plain);
    if (passed) {
        notePassed(key);
    }
    return passed;
}

} // namespace

int passwordChecksOnThisThread()
{
    return checksOnThisThread;
}

int passwordChecks()
{
    return checksInProcess;
}

void checkLoginAhead(const QString& path, const QString& user, const QString& password)
{
    try {
        initialiseSodium();
        sqlite3* db = nullptr;
        const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        const std::unique_ptr<sqlite3, int (*)(sqlite3*)> file(db, sqlite3_close);
        if (opened != SQLITE_OK) {
            return;
        }
        const QByteArray hash = lookUp(db, "SELECT password_hash FROM orv_logins WHERE name = ?", user).toLatin1();
        if (hash.isEmpty()) {
            return;
        }
        const QByteArray plain = password.toUtf8();
        const QByteArray key = checkKey(hash, plain);
        if (rememberedCheck(key)) {
            return;
        }
        std::shared_future<bool> answer =
            std::async(std::launch::async, [hash, plain] { return verifyNow(hash, plain); }).share();
        AheadCheck& check = ahead();
        const std::lock_guard lock(check.mutex);
        check.key = key;
        check.answer = std::move(answer);
    } catch (...) {
        // The open that follows reads the file again and tells what is wrong with it.
    }
}

void rememberChecks(const QStringList& checks)
{
    AheadCheck& check = ahead();
    const std::lock_guard lock(check.mutex);
    check.remembered.clear();
    for (const QString& text : checks) {
        const QByteArray key = QByteArray::fromHex(text.toLatin1());
        if (key.size() == crypto_generichash_BYTES && check.remembered.size() < ChecksKept) {
            check.remembered.append(key);
        }
    }
}

QStringList checksPassed()
{
    AheadCheck& check = ahead();
    const std::lock_guard lock(check.mutex);
    QStringList texts;
    for (const QByteArray& key : check.passed) {
        texts.append(QString::fromLatin1(key.toHex()));
    }
    return texts;
}

QString catalogTablesScript()
{
    return QStringLiteral("CREATE TABLE orv_catalog (name TEXT NOT NULL);\n"
                          "CREATE TABLE orv_logins (name TEXT NOT NULL PRIMARY KEY COLLATE NOCASE, "
                          "password_hash TEXT NOT NULL);\n");
}

QString hashPassword(const QString& password, HashCost cost)
{
    initialiseSodium();
    const QByteArray plain = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    const bool minimal = cost == HashCost::Minimal;
    // The standard cost is OWASP's Argon2id minimum (19 MiB, 2 passes): a login checks two passwords,
    // the user's and the shared account's, and both together stay well under a tenth of a second.
    const unsigned long long ops = minimal ? crypto_pwhash_OPSLIMIT_MIN : 2;
    const size_t memory = minimal ? crypto_pwhash_MEMLIMIT_MIN : size_t(19) * 1024 * 1024;
    if (crypto_pwhash_str(hash, plain.constData(), quint64(plain.size()), ops, memory) != 0) {
        throw core::Error(core::errc::ProviderError, QStringLiteral("Out of memory while storing the password."));
    }
    return QString::fromLatin1(hash);
}

void checkLogin(sqlite3* db, const QString& user, const QString& password, const QString& catalog)
{
    initialiseSodium();
    // Every counter of the office writes its entries into this file: a login that could only read it would fail
    // at its first tick instead, with the engine's words.
    const QString problem = writeProblemOf(db);
    if (!problem.isEmpty()) {
        throw core::Error(core::errc::ProviderError, problem);
    }
    const QString loginFailed = QStringLiteral("Login failed for user '%1'.").arg(user);
    const QString stored = lookUp(db, "SELECT name FROM orv_catalog", QString());
    const QString hash = lookUp(db, "SELECT password_hash FROM orv_logins WHERE name = ?", user);
    const QByteArray plain = password.toUtf8();
    if (hash.isEmpty()) {
        // A name that is no login costs what a wrong password costs: the same verification runs against a
        // fixed hash made at the cost real logins are stored with (HashCost::Interactive, above), and its
        // answer is thrown away.
        static const QByteArray standIn = QByteArrayLiteral(
            "$argon2id$v=19$m=19456,t=2,p=1$a88fYD1ccbM+b5fitBJ0Fg$dKJNa33S3B+bcM1DoeKCkUEEgP9AkSakvx9vE/3i5yI");
        [[maybe_unused]] const bool ignored = verifyNow(standIn, plain);
        throw core::Error(core::errc::ProviderError, loginFailed);
    }
    if (!verify(hash.toLatin1(), plain)) {
        throw core::Error(core::errc::ProviderError, loginFailed);
    }
    if (!catalog.isEmpty() && catalog.compare(stored, Qt::CaseInsensitive) != 0) {
        throw core::Error(
            core::errc::ProviderError,
            QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.").arg(catalog));
    }
}

} // namespace data::embedded
