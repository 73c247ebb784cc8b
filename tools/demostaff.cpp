#include "tools/demostaff.h"

#include "data/office/schema.h"
#include "tools/demowriter.h"

namespace tools {

namespace sc = data::schema;

namespace {

constexpr int AdmGroup = 1;
constexpr int AdvGroup = 2;
constexpr int SecGroup = 3;

QVariant none()
{
    return QVariant();
}

} // namespace

const QList<DemoPerson>& DemoStaff::people()
{
    static const QList<DemoPerson> list{
        {1, QStringLiteral("Maria da Conceição Ferreira"), QStringLiteral("mferreira"), QStringLiteral("MCF"), 101,
         true, 120.0, 1, true},
        {2, QStringLiteral("João Pedro Carvalho"), QStringLiteral("jcarvalho"), QStringLiteral("JPC"), 102, true, 75.0,
         1, false},
        {3, QStringLiteral("Ana Sofia Gonçalves"), QStringLiteral("agoncalves"), QStringLiteral("ASG"), 103, true, 60.0,
         1, false},
        {4, QStringLiteral("Rui Miguel Antunes"), QStringLiteral("rantunes"), QStringLiteral("RMA"), 104, true, 45.5, 1,
         false},
        {5, QStringLiteral("Inês Simões Brandão"), QStringLiteral("ibrandao"), QStringLiteral("ISB"), 105, true, none(),
         none(), false},
        {6, QStringLiteral("Luís Magalhães Teixeira"), QString(), QStringLiteral("LMT"), 0, true, 90.0, 0, false},
        {7, QStringLiteral("Catarina Lopes Mourão"), QStringLiteral("cmourao"), QStringLiteral("CLM"), 106, false,
         none(), none(), false},
    };
    return list;
}

QList<DemoPerson> DemoStaff::countingLawyers()
{
    QList<DemoPerson> lawyers;
    for (const DemoPerson& person : people()) {
        if (person.lawyer && person.userId != 0) {
            lawyers.append(person);
        }
    }
    return lawyers;
}

QString DemoStaff::password()
{
    return QStringLiteral("demo");
}

QList<DemoLogin> DemoStaff::logins()
{
    QList<DemoLogin> list;
    for (const DemoPerson& person : people()) {
        if (person.userId == 0) {
            continue;
        }
        QString role = QStringLiteral("advogado");
        if (!person.lawyer) {
            role = QStringLiteral("secretariado, sem advogado associado");
        } else if (person.supervisor) {
            role = QStringLiteral("advogado, supervisor (#3101)");
        } else if (person.preco.isNull()) {
            role = QStringLiteral("advogado, sem preço");
        }
        list.append({person.login, password(), person.name, role});
    }
    return list;
}

void DemoStaff::write(DemoWriter& writer)
{
    const int contacto = writer.prepare(sc::tbContactos, {QStringLiteral("contacto_id"), QStringLiteral("nome_union"),
                                                          QStringLiteral("localidade"), QStringLiteral("email")});
    const int advogado =
        writer.prepare(sc::tbAdvogados, {QStringLiteral("contacto_id"), QStringLiteral("sigla"),
                                         QStringLiteral("cedula"), QStringLiteral("preco"), QStringLiteral("activo")});
    const int user = writer.prepare(sc::tbUsers, {QStringLiteral("user_id"), QStringLiteral("descrit"),
                                                  QStringLiteral("contacto_id"), QStringLiteral("code")});
    const int link = writer.prepare(sc::tbGroups_Users_Links, {QStringLiteral("group_id"), QStringLiteral("user_id")});

    for (const DemoPerson& person : people()) {
        const QString email = person.login.isEmpty() ? QString() : person.login + QStringLiteral("@vorlent.pt");
        writer.insert(contacto, {person.contactoId, person.name, QStringLiteral("Lisboa"), email});
        if (person.lawyer) {
            writer.insert(advogado,
                          {person.contactoId, person.code, QStringLiteral("%1L").arg(10000 + person.contactoId * 1373),
                           person.preco, person.activo});
        }
        if (person.userId == 0) {
            continue;
        }
        writer.insert(user, {person.userId, person.login, person.contactoId, person.code});
        if (person.supervisor) {
            writer.insert(link, {AdmGroup, person.userId});
        }
        writer.insert(link, {person.lawyer ? AdvGroup : SecGroup, person.userId});
    }

    const int group =
        writer.prepare(sc::tbGroups, {QStringLiteral("group_id"), QStringLiteral("code"), QStringLiteral("descrit")});
    writer.insert(group, {AdmGroup, QStringLiteral("ADM"), QStringLiteral("Administração")});
    writer.insert(group, {AdvGroup, QStringLiteral("ADV"), QStringLiteral("Advogados")});
    writer.insert(group, {SecGroup, QStringLiteral("SEC"), QStringLiteral("Secretariado")});

    const int policy =
        writer.prepare(sc::tbSecurityPolicies, {QStringLiteral("policy_id"), QStringLiteral("code"),
                                                QStringLiteral("descrit"), QStringLiteral("users_groups")});
    writer.insert(policy, {1, QStringLiteral("#3101"), QStringLiteral("Consultar os registos de outros advogados"),
                           QStringLiteral("ADM")});
    writer.insert(policy,
                  {2, QStringLiteral("#3102"), QStringLiteral("Alterar a tabela de preços"), QStringLiteral("ADM")});
    writer.insert(policy,
                  {3, QStringLiteral("#2001"), QStringLiteral("Abrir dossiers"), QStringLiteral("ADM;ADV;SEC")});
    writer.insert(policy, {4, QStringLiteral("#2002"), QStringLiteral("Registar despesas"), QStringLiteral("ADV;SEC")});

    const int base = writer.prepare(sc::tbProcessos_Trabalhos_Tarefas_Lancamentos_Bases,
                                    {QStringLiteral("base_id"), QStringLiteral("descrit"), QStringLiteral("counter")});
    writer.insert(base, {CounterBaseId, QStringLiteral("Tempo"), 1});
    writer.insert(base, {FormerBaseId, QStringLiteral("Tempo (tabela anterior)"), 0});
    writer.insert(base, {3, QStringLiteral("Despesas"), 0});

    const int preco =
        writer.prepare(sc::tbProcessos_Trabalhos_Tarefas_Lancamentos_Precos,
                       {QStringLiteral("preco_id"), QStringLiteral("descrit"), QStringLiteral("counter")});
    writer.insert(preco, {FormerPrecoId, QStringLiteral("Tabela de honorários anterior"), 0});
    writer.insert(preco, {CurrentPrecoId, QStringLiteral("Tabela de honorários em vigor"), 1});
}

} // namespace tools
