#include "testsupport/officefixture.h"

namespace testsupport {
namespace {

QString sqlValue(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("NULL") : value.toString();
}

QString sqlDate(const QDateTime& value)
{
    return value.isValid() ? QStringLiteral("'%1'").arg(value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                           : QStringLiteral("NULL");
}

} // namespace

OfficeFixture::OfficeFixture(TempDatabase::Place place)
    : m_database(place)
{
    m_database.exec(QStringLiteral(R"(
INSERT INTO tbContactos (contacto_id, nome_union) VALUES (9, 'Ana Lopes'), (10, 'Bruno Sá'), (402, 'Cliente Alfa');
INSERT INTO tbAdvogados (contacto_id, sigla, preco, activo) VALUES (9, 'AL', 45.5, 1), (10, 'BS', NULL, 1);
INSERT INTO tbUsers (user_id, descrit, contacto_id, code) VALUES (1, 'ana', 9, 'AN');
INSERT INTO tbProcessos (processo_id, processo_no_completo, contacto_id, judicial) VALUES (15, '2009/015', 402, 0);
INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases (base_id, descrit, counter) VALUES (1, 'Horas', 1);
INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos (preco_id, descrit, counter) VALUES (1, 'Tabela', 0),
 (2, 'Advogado', 1);
)"));
    addWork(Work, Case, Lawyer, QStringLiteral("Contestação"));
    addTask(Task, Work, QStringLiteral("Redigir contestação"));
    m_database.openShared();
}

void OfficeFixture::addWork(int workId, const QVariant& caseId, int lawyerId, const QString& name,
                            const QDate& officeDeadline)
{
    m_database.exec(QStringLiteral("INSERT INTO tbProcessos_Trabalhos (trabalho_id, processo_id, descrit, advogado_id, "
                                   "data_escritorio) VALUES (%1, %2, %3, %4, %5)")
                        .arg(workId)
                        .arg(sqlValue(caseId), sqlText(name))
                        .arg(lawyerId)
                        .arg(sqlDate(officeDeadline.isValid() ? officeDeadline.startOfDay() : QDateTime())));
}

void OfficeFixture::addTask(int taskId, const QVariant& workId, const QString& name, bool hidden,
                            const QDateTime& ordering)
{
    m_database.exec(QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas (tarefa_id, trabalho_id, descrit, data, "
                                   "closed, escondida) VALUES (%1, %2, %3, %4, 0, %5)")
                        .arg(taskId)
                        .arg(sqlValue(workId), sqlText(name), sqlDate(ordering))
                        .arg(hidden ? 1 : 0));
}

qint64 OfficeFixture::addRunningEntry(int taskId, const QDateTime& start)
{
    m_database.exec(QStringLiteral("INSERT INTO tbProcessos_Trabalhos_Tarefas_Lancamentos (tarefa_id, trabalho_id, "
                                   "advogado_id, data, base_id, unidades, preco_id, inprogress, closed) "
                                   "SELECT tarefa_id, trabalho_id, 9, %2, 1, 0, 2, 1, 0 "
                                   "FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = %1")
                        .arg(taskId)
                        .arg(sqlDate(start)));
    return m_database.scalar(QStringLiteral("SELECT MAX(lancamento_id) FROM tbProcessos_Trabalhos_Tarefas_Lancamentos"))
        .toLongLong();
}

int OfficeFixture::entryCount()
{
    return m_database.scalar(QStringLiteral("SELECT COUNT(*) FROM tbProcessos_Trabalhos_Tarefas_Lancamentos")).toInt();
}

int OfficeFixture::runningCount()
{
    return m_database
        .scalar(QStringLiteral("SELECT COUNT(*) FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE inprogress <> 0"))
        .toInt();
}

QVariant OfficeFixture::minutesOf(qint64 entryId)
{
    return m_database.scalar(
        QStringLiteral("SELECT unidades FROM tbProcessos_Trabalhos_Tarefas_Lancamentos WHERE lancamento_id = %1")
            .arg(entryId));
}

} // namespace testsupport
