#include "tools/demooffice.h"

#include "core/errorvalue.h"
#include "data/engines/embedded.h"
#include "data/office/officefile.h"
#include "data/office/schema.h"
#include "tools/demohistory.h"
#include "tools/demonames.h"
#include "tools/demostaff.h"
#include "tools/demowriter.h"

#include <algorithm>

namespace tools {

namespace sc = data::schema;
namespace names = demonames;

namespace {

// A client contact that no longer exists: the last case points at it.
constexpr int MissingClient = 999999;
constexpr int FirstClient = 1001;

QVariant stamp(const QDate& day, const QTime& time = QTime(0, 0))
{
    return data::embedded::toStorage(QDateTime(day, time));
}

} // namespace

DemoOffice::DemoOffice(const QDate& day, int size)
    : m_day(day)
    , m_size(size)
    , m_random(quint64(day.toJulianDay()) * 1000003ULL + quint64(size))
{}

QString DemoOffice::catalog()
{
    return QStringLiteral("OrvDemo");
}

QString DemoOffice::sharedUser()
{
    return QStringLiteral("orvcounter");
}

QString DemoOffice::sharedPassword()
{
    return QStringLiteral("Vorlent2009");
}

DemoSummary DemoOffice::build(const QString& path)
{
    if (m_size < MinSize || m_size > MaxSize || !m_day.isValid()) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("Tamanho %1 fora dos limites (%2 a %3) ou dia inválido")
                              .arg(m_size)
                              .arg(MinSize)
                              .arg(MaxSize));
    }
    data::schema::createOffice(path, catalog(), [this](const QString& file) {
        addLogins(file);
        fill(file);
    });
    return m_summary;
}

// The shared account and every user's own login. The demo passwords are printed for everyone to
// use: a cheap hash is enough for them.
void DemoOffice::addLogins(const QString& file)
{
    data::embedded::setLoginHashCost(data::embedded::HashCost::Minimal);
    try {
        data::embedded::addLogin(file, sharedUser(), sharedPassword());
        for (const DemoLogin& login : DemoStaff::logins()) {
            data::embedded::addLogin(file, login.user, login.password);
        }
    } catch (...) {
        data::embedded::setLoginHashCost(data::embedded::HashCost::Interactive);
        throw;
    }
    data::embedded::setLoginHashCost(data::embedded::HashCost::Interactive);
}

void DemoOffice::fill(const QString& file)
{
    m_lawyers = DemoStaff::countingLawyers();
    m_tasksByLawyer = QList<QList<DemoTask>>(m_lawyers.size());
    DemoWriter writer(file);
    DemoStaff::write(writer);
    addClients(writer);
    addCases(writer);
    addWork(writer);
    DemoHistory history(m_day, m_size, m_random);
    history.write(writer, m_lawyers, m_tasksByLawyer);
    m_summary.entries = history.entries();
    m_summary.running = history.running();
    writer.commit();
}

void DemoOffice::addClients(DemoWriter& writer)
{
    const int statement = writer.prepare(sc::tbContactos, {QStringLiteral("contacto_id"), QStringLiteral("nome_union"),
                                                           QStringLiteral("nif"), QStringLiteral("morada"),
                                                           QStringLiteral("localidade"), QStringLiteral("telefone")});
    m_clientCount = std::max(30, m_size / 6);
    for (int i = 0; i < m_clientCount; ++i) {
        const bool company = i % 4 == 3;
        QString name;
        if (company) {
            name = names::companies().at((i / 4) % names::companies().size());
        } else {
            // The first two clients are always a João and a Maria da Conceição.
            const QString first = i < 2 ? names::firstNames().at(i) : m_random.pick(names::firstNames());
            name = first + QLatin1Char(' ') + m_random.pick(names::surnames()) + QLatin1Char(' ') +
                   m_random.pick(names::surnames());
        }
        const QString nif =
            QString::number(company ? 500000000 + m_random.below(9999999) : 100000000 + m_random.below(199999999));
        const QString street =
            QStringLiteral("Rua %1, n.º %2").arg(m_random.pick(names::surnames())).arg(m_random.between(1, 250));
        const QString phone = QStringLiteral("21%1").arg(m_random.between(1000000, 9999999));
        writer.insert(statement, {FirstClient + i, name, nif, street, m_random.pick(names::towns()), phone});
        ++m_summary.clients;
    }
}

void DemoOffice::addCases(DemoWriter& writer)
{
    const int statement = writer.prepare(
        sc::tbProcessos, {QStringLiteral("processo_id"), QStringLiteral("processo_no_completo"),
                          QStringLiteral("contacto_id"), QStringLiteral("judicial"), QStringLiteral("tribunal"),
                          QStringLiteral("descrit"), QStringLiteral("data_abertura")});
    const int count = std::max(12, m_size / 8);
    for (int i = 0; i < count; ++i) {
        CaseRow row;
        row.processoId = i + 1;
        row.judicial = m_random.chance(60);
        row.contactoId = i == count - 1 ? MissingClient : FirstClient + m_random.below(m_clientCount);
        const QDate opened = m_day.addDays(-m_random.between(30, 900));
        const int number = 100 + i * 3 + m_random.below(3);
        const QString year = QString::number(opened.year() % 100).rightJustified(2, QLatin1Char('0'));
        QVariant judicial = row.judicial ? 1 : 0;
        QVariant court;
        QString caseNumber;
        QString description;
        if (row.judicial) {
            const names::Court& where = m_random.pick(names::courts());
            caseNumber = QStringLiteral("%1/%2.%3%4").arg(number).arg(year).arg(m_random.below(10)).arg(where.code);
            court = where.name;
            description = QStringLiteral("Acção contra %1").arg(m_random.pick(names::companies()));
        } else {
            caseNumber = QStringLiteral("INT-%1/%2").arg(number, 4, 10, QLatin1Char('0')).arg(year);
            description = QStringLiteral("Assessoria jurídica");
            if (m_random.chance(15)) {
                judicial = QVariant();
            }
        }
        writer.insert(statement,
                      {row.processoId, caseNumber, row.contactoId, judicial, court, description, stamp(opened)});
        m_cases.append(row);
        ++m_summary.cases;
    }
}

void DemoOffice::addWork(DemoWriter& writer)
{
    const int statement =
        writer.prepare(sc::tbProcessos_Trabalhos,
                       {QStringLiteral("trabalho_id"), QStringLiteral("processo_id"), QStringLiteral("descrit"),
                        QStringLiteral("advogado_id"), QStringLiteral("prazos"), QStringLiteral("data_legal"),
                        QStringLiteral("data_escritorio"), QStringLiteral("data")});
    m_taskStatement =
        writer.prepare(sc::tbProcessos_Trabalhos_Tarefas,
                       {QStringLiteral("tarefa_id"), QStringLiteral("trabalho_id"), QStringLiteral("descrit"),
                        QStringLiteral("data"), QStringLiteral("closed"), QStringLiteral("escondida")});
    const int lawyers = int(m_lawyers.size());
    QList<int> ordinals(lawyers, 0);
    for (int k = 0; m_summary.tasks < m_size; ++k) {
        // Every thirteenth work item is nobody's: it waits to be taken.
        const int lawyer = k % 13 == 12 ? -1 : k % lawyers;
        const int ordinal = lawyer < 0 ? k : ordinals[lawyer]++;
        addWorkItem(writer, statement, k + 1, m_cases.at(m_random.below(int(m_cases.size()))), lawyer, ordinal);
    }
}

// The office deadline of a lawyer's work item: the first is overdue, the second due tomorrow,
// the others spread from weeks ago to months ahead, some without a deadline.
QDate DemoOffice::deadline(int ordinal, bool judicial)
{
    int offset = 0;
    const int draw = m_random.below(100);
    if (ordinal == 0) {
        offset = -m_random.between(1, 10);
    } else if (ordinal == 1 || (draw >= 17 && draw < 25)) {
        offset = 1;
    } else if (draw < 12) {
        offset = -m_random.between(1, 15);
    } else if (draw < 17) {
        offset = 0;
    } else if (draw < 30) {
        offset = 2;
    } else if (draw < 60) {
        offset = m_random.between(3, 20);
    } else if (draw < 80 || (draw < 90 && judicial)) {
        offset = m_random.between(21, 120);
    } else {
        return QDate();
    }
    return m_day.addDays(offset);
}

void DemoOffice::addWorkItem(DemoWriter& writer, int statement, int trabalhoId, const CaseRow& row, int lawyer,
                             int ordinal)
{
    const QString description = row.judicial ? m_random.pick(names::courtWork()) : m_random.pick(names::otherWork());
    const QDate officeDay = deadline(ordinal, row.judicial);
    QVariant office;
    QVariant legal;
    if (officeDay.isValid()) {
        office = stamp(officeDay);
        if (m_random.chance(row.judicial ? 85 : 40)) {
            legal = stamp(officeDay.addDays(m_random.between(1, 10)));
        }
    }
    QVariant prazos;
    if (row.judicial) {
        const int draw = m_random.below(10);
        prazos = draw < 8 ? QVariant(0) : draw < 9 ? QVariant(1) : QVariant();
    }
    const QVariant advogado = lawyer < 0 ? QVariant() : QVariant(m_lawyers.at(lawyer).contactoId);
    const QDate created = m_day.addDays(-m_random.between(5, 200));
    writer.insert(statement, {trabalhoId, row.processoId, description, advogado, prazos, legal, office,
                              stamp(created, QTime(9, 0).addSecs(60 * m_random.below(540)))});
    ++m_summary.workItems;
    const int count = std::min(m_random.between(2, 6), m_size - m_summary.tasks);
    addTasks(writer, m_taskStatement, trabalhoId, row, lawyer, ordinal, count, created);
}

void DemoOffice::addTasks(DemoWriter& writer, int statement, int trabalhoId, const CaseRow& row, int lawyer,
                          int ordinal, int count, const QDate& created)
{
    const QStringList& titles = names::tasks();
    const int first = m_random.below(int(titles.size()));
    for (int j = 0; j < count; ++j) {
        DemoTask task{m_summary.tasks + 1, trabalhoId, row.processoId, row.contactoId, true, true};
        // The first task of a lawyer's third work item is always hidden.
        const bool forcedHidden = lawyer >= 0 && ordinal == 2 && j == 0;
        task.open = forcedHidden || !m_random.chance(12);
        QVariant hidden = 0;
        const int draw = m_random.below(100);
        if (forcedHidden || draw < 8) {
            hidden = 1;
            task.visible = false;
        } else if (draw < 13) {
            hidden = QVariant();
        }
        const QString& title = titles.at((first + j * 5) % titles.size());
        const QDateTime made(created.addDays(j), QTime(9, 30).addSecs(60 * m_random.below(480)));
        writer.insert(statement,
                      {task.tarefaId, trabalhoId, title, data::embedded::toStorage(made), task.open ? 0 : 1, hidden});
        ++m_summary.tasks;
        if (lawyer >= 0) {
            m_tasksByLawyer[lawyer].append(task);
            m_summary.pendingTasks += task.open ? 1 : 0;
        }
    }
}

} // namespace tools
