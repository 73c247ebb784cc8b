#include "editors/workcontext.h"

#include "data/connection.h"
#include "data/valuetext.h"

namespace editors {
QString fieldText(const data::Recordset& record, const QString& field)
{
    const QVariant value = record.value(field);
    return data::valueText::isNull(value) ? QString() : data::valueText::text(value);
}

WorkContext workContext(qint64 workId)
{
    WorkContext context;
    auto record = data::Data::SqlServer().openRecordset(
        QStringLiteral("SELECT w.descrit AS trabalho, p.processo_no_completo AS processo_no_completo, c.nome_union AS "
                       "cliente, a.nome_union AS advogado FROM tbProcessos_Trabalhos w LEFT JOIN tbProcessos p ON "
                       "p.processo_id = w.processo_id LEFT JOIN tbContactos c ON c.contacto_id = p.contacto_id LEFT "
                       "JOIN tbContactos a ON a.contacto_id = w.advogado_id WHERE w.trabalho_id = ") +
        QString::number(workId));
    if (!record->eof()) {
        context.work = fieldText(*record, QStringLiteral("trabalho"));
        context.caseNumber = fieldText(*record, QStringLiteral("processo_no_completo"));
        context.client = fieldText(*record, QStringLiteral("cliente"));
        context.lawyer = fieldText(*record, QStringLiteral("advogado"));
    }
    record->close();
    return context;
}

QString taskDescription(qint64 taskId)
{
    auto record = data::Data::SqlServer().openRecordset(
        QStringLiteral("SELECT descrit FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = ") +
        QString::number(taskId));
    const QString description = record->eof() ? QString() : fieldText(*record, QStringLiteral("descrit"));
    record->close();
    return description;
}

} // namespace editors
