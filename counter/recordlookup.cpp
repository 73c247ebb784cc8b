#include "counter/recordlookup.h"

#include "core/errorvalue.h"
#include "core/messagebox.h"
#include "data/timeentries.h"
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

bool taskOwners(qint64 K, qint64& W, qint64& P, qint64& C)
{
    namespace entries = data::timeEntries;
    W = entries::workOfTask(K);
    if (W == 0) {
        missingField(QStringLiteral("TRABALHO_ID"));
        return false;
    }
    P = entries::caseOfWork(W);
    if (P == 0) {
        missingField(QStringLiteral("Processo_ID"));
        return false;
    }
    C = entries::clientOfCase(P);
    if (C == 0) {
        missingField(QStringLiteral("Contacto_ID"));
        return false;
    }
    return true;
}

void missingField(const QString& field)
{
    core::msgBox(data::timeEntries::missingFieldText(field), core::Buttons::Ok, core::Icon::Critical);
}

} // namespace counter::recordLookup
