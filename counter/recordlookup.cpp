#include "counter/recordlookup.h"

#include "core/errorvalue.h"
#include "core/messagebox.h"
#include "data/connection.h"
#include "data/valuetext.h"

namespace counter::recordLookup {

qint32 keyId(const QString& key)
{
    return data::valueText::toLong(QVariant(key.mid(1)));
}

QString identifier(const QVariant& value)
{
    return QString::number(data::valueText::toLong(value));
}

qint64 firstId(const QString& statement, const QString& field)
{
    auto records = data::Data::SqlServer().openRecordset(statement);
    qint64 value = 0;
    if (!records->eof()) {
        const QVariant found = records->value(field);
        value = data::valueText::isNull(found) ? 0 : data::valueText::toLong(found);
    }
    records->close();
    return value;
}

bool taskOwners(qint64 K, qint64& W, qint64& P, qint64& C)
{
    W = firstId(QStringLiteral("SELECT trabalho_id FROM tbProcessos_Trabalhos_Tarefas WHERE tarefa_id = ") +
                    QString::number(K),
                QStringLiteral("trabalho_id"));
    if (W == 0) {
        missingField(QStringLiteral("TRABALHO_ID"));
        return false;
    }
    P = firstId(QStringLiteral("SELECT Processo_ID FROM tbProcessos_Trabalhos WHERE trabalho_id = ") +
                    QString::number(W),
                QStringLiteral("Processo_ID"));
    if (P == 0) {
        missingField(QStringLiteral("Processo_ID"));
        return false;
    }
    C = firstId(QStringLiteral("SELECT Contacto_ID FROM tbProcessos WHERE Processo_ID = ") + QString::number(P),
                QStringLiteral("Contacto_ID"));
    if (C == 0) {
        missingField(QStringLiteral("Contacto_ID"));
        return false;
    }
    return true;
}

void missingField(const QString& field)
{
    core::msgBox(QStringLiteral("Erro no campo %1. Não foi possível iniciar o registo. Contacto o Administrador do "
                                "Sistema.")
                     .arg(field),
                 core::Buttons::Ok, core::Icon::Critical);
}

} // namespace counter::recordLookup
