#include "data/office/componentsettings.h"

#include "core/errorvalue.h"
#include "data/office/machinesettings.h"
#include "registry/modregistry.h"

#include <QRegularExpression>
#include <QUuid>

namespace data {

QString ComponentIdentifiers::text() const
{
    return classId + QLatin1Char(';') + interfaceId;
}

std::optional<ComponentIdentifiers> ComponentIdentifiers::parse(const QString& text)
{
    static const QRegularExpression separator(QStringLiteral("[;,\\s]+"));
    const QStringList parts = text.trimmed().split(separator, Qt::SkipEmptyParts);
    if (parts.size() != 2) {
        return std::nullopt;
    }
    QStringList ids;
    for (const QString& part : parts) {
        // QUuid also takes a text with a brace on one side only; the system's identifiers have both or neither.
        if (part.startsWith(QLatin1Char('{')) != part.endsWith(QLatin1Char('}'))) {
            return std::nullopt;
        }
        const QUuid id = QUuid::fromString(part);
        if (id.isNull()) {
            return std::nullopt;
        }
        ids << id.toString(QUuid::WithBraces).toUpper();
    }
    return ComponentIdentifiers{ids.at(0), ids.at(1)};
}

const QStringList& ComponentIdentifiers::kinds()
{
    static const QStringList names = {QStringLiteral("TimeEntryEditor"), QStringLiteral("WorkAssistant"),
                                      QStringLiteral("TaskEditor"), QStringLiteral("CaseEditor"),
                                      QStringLiteral("WorkEditor")};
    return names;
}

std::optional<ComponentIdentifiers> ComponentIdentifiers::read(const QString& kind)
{
    const std::optional<QString> value = registry::modRegistry::ValorString(MachineSettings::sharedKey(), kind);
    if (!value || value->trimmed().isEmpty()) {
        return std::nullopt;
    }
    std::optional<ComponentIdentifiers> ids = parse(*value);
    if (!ids) {
        throw core::Error(core::errc::InvalidProcedureCall,
                          QStringLiteral("O valor %1 de %2 não tem dois identificadores {classe};{interface}: \"%3\"")
                              .arg(kind, MachineSettings::sharedKey(), *value));
    }
    return ids;
}

void ComponentIdentifiers::write(const QString& kind, const std::optional<ComponentIdentifiers>& identifiers)
{
    if (!kinds().contains(kind)) {
        throw core::Error(
            core::errc::InvalidProcedureCall,
            QStringLiteral("Componente desconhecido: \"%1\" (%2)").arg(kind, kinds().join(QStringLiteral(", "))));
    }
    settingsio::createKey(MachineSettings::sharedKey());
    settingsio::setValue(MachineSettings::sharedKey(), kind, identifiers ? identifiers->text() : QString());
}

} // namespace data
