#include "data/engines/embedded.h"

#include "core/errorvalue.h"
#include "data/engines/embeddedfile.h"
#include "data/engines/embeddedlogins.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <optional>

namespace data::embedded {

namespace {

std::function<QDateTime()>& serverClock()
{
    static std::function<QDateTime()> clock;
    return clock;
}

HashCost& loginHashCost()
{
    static HashCost cost = HashCost::Interactive;
    return cost;
}

} // namespace

void createDatabase(const QString& path, const QString& initialCatalog)
{
    if (initialCatalog.trimmed().isEmpty()) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("A database needs a catalog name."));
    }
    std::optional<EmbeddedFile> file;
    file.emplace(path, EmbeddedFile::Mode::Create);
    try {
        file->exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        file->exec(QStringLiteral("BEGIN;\n") + catalogTablesScript() + QStringLiteral("COMMIT;\n"));
        file->exec(QStringLiteral("INSERT INTO orv_catalog (name) VALUES (?)"), {initialCatalog});
    } catch (const core::Error&) {
        file.reset();
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        throw;
    }
}

void addLogin(const QString& path, const QString& user, const QString& password)
{
    if (user.isEmpty()) {
        throw core::Error(core::errc::InvalidProcedureCall, QStringLiteral("A login needs a name."));
    }
    EmbeddedFile file(path, EmbeddedFile::Mode::Existing);
    file.exec(QStringLiteral("INSERT OR REPLACE INTO orv_logins (name, password_hash) VALUES (?, ?)"),
              {user, hashPassword(password, loginHashCost())});
}

void runScript(const QString& path, const QString& script)
{
    EmbeddedFile file(path, EmbeddedFile::Mode::Existing);
    file.exec(QStringLiteral("BEGIN"));
    try {
        file.exec(script);
        file.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            file.exec(QStringLiteral("ROLLBACK"));
        } catch (const core::Error&) {
            // The failing statement may already have ended the transaction.
        }
        throw;
    }
}

void setServerClock(std::function<QDateTime()> clock)
{
    serverClock() = std::move(clock);
}

QDateTime serverNow()
{
    const QDateTime now = serverClock() ? serverClock()() : QDateTime::currentDateTime();
    return now.addMSecs(-now.time().msec());
}

bool serverClockSet()
{
    return bool(serverClock());
}

QString toStorage(const QDateTime& value)
{
    if (!value.isValid()) {
        return QString();
    }
    return value.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {

// Reads count digits at pos; -1 when one is not a digit.
int digits(QStringView text, qsizetype pos, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[pos + i].unicode();
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

QDateTime fromStoredForm(QStringView text)
{
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' ||
        text[16] != u':') {
        return QDateTime();
    }
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2);
    const int minute = digits(text, 14, 2);
    const int second = digits(text, 17, 2);
    if (std::min({year, month, day, hour, minute, second}) < 0) {
        return QDateTime();
    }
    // A local date and time costs the C library's time-zone conversion; a list reads the same deadlines
    // and start times row after row, so each is converted once.
    constexpr qsizetype Remembered = 4096;
    thread_local QHash<qint64, QDateTime> converted;
    const qint64 stamp = ((((qint64(year) * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
    const auto known = converted.constFind(stamp);
    if (known != converted.cend()) {
        return *known;
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) {
        return QDateTime();
    }
    if (converted.size() >= Remembered) {
        converted.clear();
    }
    return *converted.insert(stamp, QDateTime(date, time));
}

QDateTime fromStorage(const QString& text)
{
    const QDateTime stored = fromStoredForm(text);
    if (stored.isValid()) {
        return stored;
    }
    static const QString formats[] = {
        QStringLiteral("yyyy-MM-dd HH:mm:ss"),       QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"),
        QStringLiteral("yyyy-MM-dd HH:mm"),          QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"),
        QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz"), QStringLiteral("yyyy-MM-dd"),
    };
    const QString trimmed = text.trimmed();
    for (const QString& format : formats) {
        const QDateTime value = QDateTime::fromString(trimmed, format);
        if (value.isValid()) {
            return value;
        }
    }
    return QDateTime();
}

void setLoginHashCost(HashCost cost)
{
    loginHashCost() = cost;
}

} // namespace data::embedded
