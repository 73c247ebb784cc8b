#include "security/modcheckpermissions.h"

#include "core/errorreport.h"
#include "data/connection.h"
#include "data/moddata.h"
#include "data/valuetext.h"

#include <QList>
#include <QVariant>

namespace security::modCheckPermissions {

namespace {

core::ReportLabels reportLabels(const QString& procedure)
{
    const QString module = QStringLiteral("modCheckPermissions");
    return {module, module, module, procedure, core::Rule::C, core::TextForm::Number};
}

// A text placed between apostrophes in a statement: an apostrophe of its own closes the literal,
// adds CHAR(39) and reopens it, so the text can never end the literal early.
QString insideQuotes(const QString& text)
{
    QString copy = text;
    return data::modData::Trtf(copy);
}

// A policy's users_groups lists codes separated by ';'. A null or blank code, or one holding the separator,
// names no whole entry of such a list and grants nothing.
bool hasCode(const QVariant& code)
{
    return !code.isNull() && !data::valueText::trimBlanks(code.toString()).isEmpty() &&
           !code.toString().contains(QLatin1Char(';'));
}

// "(column LIKE 'CODE' OR column LIKE 'CODE;%' OR column LIKE '%;CODE' OR column LIKE '%;CODE;%') ": true when
// the code followed by suffix is a whole entry of the list, never part of a longer code. The code is data: its
// apostrophes cannot end the literal and its wildcards match only themselves. With deny, "NOT " goes before.
QString entryClause(const QString& column, bool deny, const QVariant& code, const QString& suffix)
{
    const QString entry = code.toString() + suffix;
    const QString like = column + QStringLiteral(" LIKE ");
    const QString sep = QStringLiteral(";");
    const QString any = QStringLiteral("%");
    return (deny ? QStringLiteral("NOT (") : QStringLiteral("(")) + like +
           data::modData::LikeOperand(QString(), entry, QString()) + QStringLiteral(" OR ") + like +
           data::modData::LikeOperand(QString(), entry, sep + any) + QStringLiteral(" OR ") + like +
           data::modData::LikeOperand(any + sep, entry, QString()) + QStringLiteral(" OR ") + like +
           data::modData::LikeOperand(any + sep, entry, sep + any) + QStringLiteral(") ");
}

struct GroupLink {
    QVariant userCode;
    QVariant groupCode;
};

// The user's group links, read through to the end: the deny part goes over them a second time.
QList<GroupLink> readGroupLinks(const QString& userName)
{
    auto recordset = data::Data::SqlServer().openRecordset(
        QStringLiteral("SELECT tbGroups_Users_Links.*, tbGroups.code, tbUsers.code as user_code "
                       "FROM tbGroups_Users_Links "
                       "LEFT OUTER JOIN tbGroups ON tbGroups_Users_Links.group_id = tbGroups.group_id "
                       "LEFT JOIN tbUsers ON tbGroups_Users_Links.user_id = tbUsers.user_id "
                       "WHERE tbUsers.descrit = '") +
        insideQuotes(userName) + QLatin1Char('\''));
    QList<GroupLink> links;
    while (!recordset->eof()) {
        links.append({recordset->value(QStringLiteral("user_code")), recordset->value(QStringLiteral("code"))});
        recordset->moveNext();
    }
    recordset->close();
    return links;
}

// Appends one clause; the connective goes only between clauses, so a skipped first clause
// never leaves a dangling " OR " or " AND " behind.
void appendClause(QString& condition, bool& first, const QString& connective, const QString& clause)
{
    if (!first) {
        condition += connective;
    }
    condition += clause;
    first = false;
}

QString readPermitions(const QString& userName, const QString& column, bool requireGrant, const QString& grantSuffix,
                       const QString& denySuffix, bool& failed)
{
    QString condition;
    failed = !core::trap(reportLabels(QStringLiteral("ReadPermitionsDef")), [&] {
        const QList<GroupLink> links = readGroupLinks(userName);
        if (links.isEmpty()) {
            return;
        }
        const QString userColumn = column.isEmpty() ? QStringLiteral("user_code") : column;
        const QString groupColumn = column.isEmpty() ? QStringLiteral("group_code") : column;
        const QString grant = !grantSuffix.isEmpty() ? grantSuffix : (requireGrant ? QStringLiteral("1") : QString());
        const QString deny = !denySuffix.isEmpty() ? denySuffix : QStringLiteral("2");
        const QVariant& userCode = links.first().userCode;

        condition = QStringLiteral("(") + QStringLiteral(" (");
        bool first = true;
        if (hasCode(userCode)) {
            appendClause(condition, first, QString(), entryClause(userColumn, false, userCode, grant));
        }
        for (const GroupLink& link : links) {
            if (hasCode(link.groupCode)) {
                appendClause(condition, first, QStringLiteral(" OR "),
                             entryClause(groupColumn, false, link.groupCode, grant));
            }
        }
        if (first) {
            // Not one code to match: nothing is granted.
            condition += QStringLiteral("1 = 0 ");
        }
        condition += QStringLiteral(") ");

        if (requireGrant) {
            condition += QStringLiteral(" AND (");
            first = true;
            if (hasCode(userCode)) {
                appendClause(condition, first, QString(), entryClause(userColumn, true, userCode, deny));
            }
            for (const GroupLink& link : links) {
                if (hasCode(link.groupCode)) {
                    appendClause(condition, first, QStringLiteral(" AND "),
                                 entryClause(groupColumn, true, link.groupCode, deny));
                }
            }
            if (first) {
                condition += QStringLiteral("1 = 1 ");
            }
            condition += QStringLiteral(")");
        }
        condition += QStringLiteral(")");
    });
    return condition;
}

} // namespace

QString ReadPermitionsDef(const QString& userName, const QString& column, bool requireGrant, const QString& grantSuffix,
                          const QString& denySuffix)
{
    bool failed = false;
    return readPermitions(userName, column, requireGrant, grantSuffix, denySuffix, failed);
}

bool CheckSecurityPolicy(const QString& userName, const QString& policyCode)
{
    bool applies = false;
    core::trap(reportLabels(QStringLiteral("CheckSecurityPolicy")), [&] {
        bool failed = false;
        const QString condition =
            readPermitions(userName, QStringLiteral("users_groups"), false, QString(), QString(), failed);
        if (failed || condition.isEmpty()) {
            // A user without group links holds no policy, and without the links the check cannot tell.
            return;
        }
        QString sql = QStringLiteral("SELECT tbSecurityPolicies.* FROM tbSecurityPolicies WHERE code = '") +
                      insideQuotes(policyCode) + QLatin1Char('\'');
        sql += QStringLiteral(" AND ") + condition;
        auto recordset = data::Data::SqlServer().openRecordset(sql);
        applies = !recordset->eof();
        recordset->close();
    });
    return applies;
}

} // namespace security::modCheckPermissions
