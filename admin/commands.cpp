#include "admin/commands.h"

#include "admin/commandhandlers.h"
#include "admin/commandline.h"
#include "admin/csvimport.h"
#include "admin/logintext.h"
#include "admin/office.h"
#include "admin/records.h"
#include "admin/sharedoffice.h"
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/connectiontext.h"
#include "data/office/machinesettings.h"
#include "data/office/postgresoffice.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <iterator>

namespace admin {

namespace {

struct Command {
    QStringList words; // "office", "create"
    QString summary;
    QString details;    // more for --help, after the summary
    QString positional; // the name of the one positional argument, empty for none
    QList<QCommandLineOption> options;
    CommandHandler run;
    bool positionalOptional = false; // the command may also run without it
};

QString loginDetails()
{
    return QStringLiteral("Com --postgres, ou quando as definições apontam para um servidor PostgreSQL, os logins são "
                          "papéis do servidor (em minúsculas), mudados por --admin com a palavra-passe do ficheiro "
                          "--admin-password-file.");
}

QList<QCommandLineOption> loginOptions(bool withPassword)
{
    QList<QCommandLineOption> options{
        option(QStringLiteral("database"), QStringLiteral("Ficheiro da base de dados (por omissão o das definições)."),
               QStringLiteral("FILE"))};
    if (withPassword) {
        options << passwordStdin();
    }
    return options + serverOptions(QStringLiteral("O servidor PostgreSQL (anfitrião,porto) cujos papéis se mudam."));
}

QList<Command> commands()
{
    const QString file = QStringLiteral("FILE");
    return {
        {{QStringLiteral("settings")},
         QStringLiteral("Grava as definições da máquina (com --server, --user, --catalog e --data-source) e mostra-as, "
                        "com a palavra-passe escondida."),
         QString(),
         QString(),
         {option(QStringLiteral("server"), QStringLiteral("Nome da subchave do servidor (DataServer)."),
                 QStringLiteral("NOME")),
          option(QStringLiteral("security-info"), QStringLiteral("Persist Security Info (por omissão False)."),
                 QStringLiteral("VALOR"), QStringLiteral("False")),
          option(QStringLiteral("user"), QStringLiteral("Conta partilhada da base de dados."), QStringLiteral("NOME")),
          option(QStringLiteral("catalog"), QStringLiteral("Base de dados (Initial Catalog)."), QStringLiteral("NOME")),
          option(QStringLiteral("data-source"),
                 QStringLiteral("Servidor SQL Server (host, host\\instância, host,porto), servidor PostgreSQL "
                                "(host,porto) ou ficheiro local."),
                 QStringLiteral("SERVIDOR")),
          option(QStringLiteral("engine"),
                 QStringLiteral("Motor do servidor (dtEngine): SQLServer (por omissão), PostgreSQL ou Embedded. Um "
                                "ficheiro local abre sempre o motor local."),
                 QStringLiteral("MOTOR")),
          option(QStringLiteral("encrypt"), QStringLiteral("Ligação cifrada (dtEncrypt): sim (por omissão) ou não."),
                 QStringLiteral("SIM|NÃO"), QStringLiteral("sim")),
          option(QStringLiteral("trust-server-certificate"),
                 QStringLiteral("Aceitar o certificado do servidor sem o verificar (dtTrustServerCertificate): não "
                                "(por omissão) ou sim, para um servidor com certificado próprio."),
                 QStringLiteral("SIM|NÃO"), QStringLiteral("não")),
          option(QStringLiteral("component"),
                 QStringLiteral("Componente do escritório que edita registos: TIPO={classe};{interface}, com TIPO "
                                "TimeEntryEditor, WorkAssistant, TaskEditor, CaseEditor ou WorkEditor; TIPO= apaga-o "
                                "(o contador usa então o seu próprio editor). Pode repetir-se."),
                 QStringLiteral("TIPO=IDS")),
          passwordStdin()},
         settingsCommand},
        {{QStringLiteral("check")},
         QStringLiteral("Faz o que o login faz, passo a passo, e diz qual o passo que falha e porquê."),
         QStringLiteral("Passos: 1 definições da máquina, 2 controlador (ODBC, ou o do PostgreSQL) ou o ficheiro da "
                        "base de dados, "
                        "3 servidor acessível, 4 login e catálogo do utilizador, 5 conta partilhada, "
                        "6 tabelas e vistas, 7 advogado do utilizador. Sai com 10 + o número do passo que falhou."),
         QString(),
         {option(QStringLiteral("user"), QStringLiteral("Utilizador cujo login se verifica."), QStringLiteral("NOME")),
          passwordStdin()},
         checkCommand},
        {{QStringLiteral("office"), QStringLiteral("create")},
         QStringLiteral(
             "Cria uma base de dados vazia para o escritório, local (FILE) ou num servidor PostgreSQL "
             "(--postgres): as tabelas, a base de contagem, a regra de preço e o login da conta partilhada."),
         QStringLiteral("No servidor, a conta partilhada é um papel novo do servidor, dono da base de dados "
                        "(--catalog); --admin entra com a palavra-passe do ficheiro --admin-password-file."),
         file,
         QList<QCommandLineOption>{
             option(QStringLiteral("catalog"),
                    QStringLiteral("Nome do catálogo, ou da base de dados no servidor (por omissão Escritorio)."),
                    QStringLiteral("NOME"), QStringLiteral("Escritorio")),
             option(QStringLiteral("user"), QStringLiteral("Conta partilhada (por omissão orvcounter)."),
                    QStringLiteral("NOME"), QStringLiteral("orvcounter")),
             option(QStringLiteral("server"),
                    QStringLiteral("Grava também as definições da máquina com esta subchave, apontadas para o "
                                   "escritório criado."),
                    QStringLiteral("NOME")),
             option(QStringLiteral("group"),
                    QStringLiteral("Grupo da máquina cujos membros usam o ficheiro local: a pasta (criada se não "
                                   "existir) e o ficheiro ficam do grupo, com escrita (por omissão orvcounter, que o "
                                   "pacote cria)."),
                    QStringLiteral("GRUPO"), sharedoffice::defaultGroup()),
             passwordStdin()} +
             serverOptions(QStringLiteral("Cria o escritório neste servidor PostgreSQL (anfitrião,porto), sem FILE.")),
         officeCreateCommand,
         true},
        {{QStringLiteral("login"), QStringLiteral("add")},
         QStringLiteral("Cria um login na base de dados local, ou um papel no servidor PostgreSQL."),
         loginDetails(),
         QStringLiteral("NAME"),
         loginOptions(true),
         loginCommand(LoginChange::Add)},
        {{QStringLiteral("login"), QStringLiteral("password")},
         QStringLiteral("Muda a palavra-passe de um login da base de dados local, ou de um papel no servidor."),
         loginDetails(),
         QStringLiteral("NAME"),
         loginOptions(true),
         loginCommand(LoginChange::Password)},
        {{QStringLiteral("login"), QStringLiteral("remove")},
         QStringLiteral("Remove um login da base de dados local, ou um papel do servidor PostgreSQL."),
         loginDetails(),
         QStringLiteral("NAME"),
         loginOptions(false),
         loginCommand(LoginChange::Remove)},
        {{QStringLiteral("lawyer"), QStringLiteral("add")},
         QStringLiteral("Regista um advogado (e o seu contacto, se for novo)."),
         QString(),
         QString(),
         {option(QStringLiteral("contact"), QStringLiteral("contacto_id do advogado."), QStringLiteral("ID")),
          option(QStringLiteral("name"), QStringLiteral("Nome do advogado."), QStringLiteral("NOME")),
          option(QStringLiteral("initials"), QStringLiteral("Sigla."), QStringLiteral("SIGLA")),
          option(QStringLiteral("price"), QStringLiteral("Preço por hora."), QStringLiteral("PREÇO"))},
         lawyerAddCommand},
        {{QStringLiteral("user"), QStringLiteral("add")},
         QStringLiteral("Regista um utilizador (o nome com que entra), com o contacto, o código e os grupos."),
         QString(),
         QStringLiteral("NAME"),
         {option(QStringLiteral("contact"), QStringLiteral("contacto_id da pessoa (o advogado)."),
                 QStringLiteral("ID")),
          option(QStringLiteral("code"), QStringLiteral("Código do utilizador para as políticas."),
                 QStringLiteral("CÓDIGO")),
          option(QStringLiteral("group"), QStringLiteral("Código de um grupo (repetível; criado se não existir)."),
                 QStringLiteral("CÓDIGO")),
          option(QStringLiteral("no-group"),
                 QStringLiteral("Utilizador sem grupos, e por isso sem nenhuma política (sem --group é recusado)."))},
         userAddCommand},
        {{QStringLiteral("import")},
         QStringLiteral("Importa clientes, dossiers, trabalhos e tarefas de ficheiros CSV (UTF-8, ';', com cabeçalho). "
                        "Verifica todas as linhas primeiro: com uma linha errada nada é gravado."),
         QStringLiteral("O cabeçalho nomeia colunas da tabela (* obrigatória):\n"
                        "  --clients  contacto_id*, nome_union*, nif, morada, localidade, telefone, email\n"
                        "  --cases    processo_id*, processo_no_completo*, contacto_id, judicial, tribunal, descrit, "
                        "data_abertura\n"
                        "  --work     trabalho_id*, processo_id*, descrit*, advogado_id, prazos, data_legal, "
                        "data_escritorio, data\n"
                        "  --tasks    tarefa_id*, trabalho_id*, descrit*, data, closed, escondida\n"
                        "Identificadores: números inteiros novos; as referências nomeiam linhas da base de dados ou "
                        "dos ficheiros importados. Datas: dd-mm-aaaa [hh:mm[:ss]] ou aaaa-mm-dd. Marcas: 0 ou 1. "
                        "Texto entre aspas pode ter ';', quebras de linha e aspas duplicadas."),
         QString(),
         {option(QStringLiteral("clients"), QStringLiteral("Clientes (tbContactos)."), file),
          option(QStringLiteral("cases"), QStringLiteral("Dossiers (tbProcessos)."), file),
          option(QStringLiteral("work"), QStringLiteral("Trabalhos (tbProcessos_Trabalhos)."), file),
          option(QStringLiteral("tasks"), QStringLiteral("Tarefas (tbProcessos_Trabalhos_Tarefas)."), file)},
         importCommand},
    };
}

QString commandList(const QList<Command>& all);

QString overview(const QList<Command>& all)
{
    QString text = QStringLiteral("Uso: orvadmin COMANDO [opções]   (orvadmin COMANDO --help para as opções)\n\n"
                                  "Administração do contador: definições da máquina, verificação do login e "
                                  "base de dados local do escritório.\n\nComandos:\n");
    text += commandList(all);
    text += QStringLiteral("\nCódigos de saída: 0 sucesso, 1 falhou, 2 argumentos errados, 3 linhas recusadas na "
                           "importação, 10 + N o passo N da verificação falhou.\n");
    return text;
}

QString commandList(const QList<Command>& all)
{
    QString text;
    for (const Command& command : all) {
        const QString name = command.words.join(QLatin1Char(' ')) +
                             (command.positional.isEmpty() ? QString() : QLatin1Char(' ') + command.positional);
        text += QStringLiteral("  %1 %2\n").arg(name.leftJustified(22), command.summary);
    }
    return text;
}

int runCommand(const Command& command, const QStringList& rest, Console& console, const CheckProbes& probes)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        command.details.isEmpty() ? command.summary : command.summary + QStringLiteral("\n\n") + command.details);
    parser.addHelpOption();
    parser.addOptions(command.options);
    if (!command.positional.isEmpty()) {
        parser.addPositionalArgument(command.positional, QString());
    }
    if (!parser.parse(QStringList{QStringLiteral("orvadmin")} + rest)) {
        throw UsageError{parser.errorText()};
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // Qt's usage line names the running executable; the command's own words say more.
        const QString help = parser.helpText();
        console.out << "Uso: orvadmin " << command.words.join(QLatin1Char(' ')) << " [opções]"
                    << (command.positional.isEmpty() ? QString() : QLatin1Char(' ') + command.positional)
                    << help.mid(help.indexOf(QLatin1Char('\n')));
        return exitcode::Ok;
    }
    const QStringList positional = parser.positionalArguments();
    const bool positionalCount = positional.size() == (command.positional.isEmpty() ? 0 : 1) ||
                                 (command.positionalOptional && positional.isEmpty());
    if (!positionalCount) {
        throw UsageError{command.positional.isEmpty() ? QStringLiteral("argumentos a mais")
                                                      : QStringLiteral("falta %1").arg(command.positional)};
    }
    return command.run(parser, positional.value(0), console, probes);
}

} // namespace

int run(const QStringList& arguments, Console& console, const CheckProbes& probes)
{
    const QList<Command> all = commands();
    const QStringList words = arguments.mid(1);
    if (words.isEmpty() || words.first() == QLatin1String("--help") || words.first() == QLatin1String("-h")) {
        console.out << overview(all);
        return words.isEmpty() ? exitcode::Usage : exitcode::Ok;
    }
    for (const Command& command : all) {
        if (words.mid(0, command.words.size()) != command.words) {
            continue;
        }
        try {
            const int code = runCommand(command, words.mid(command.words.size()), console, probes);
            console.out.flush();
            return code;
        } catch (const UsageError& error) {
            console.err << "orvadmin " << command.words.join(QLatin1Char(' ')) << ": " << error.text << "\n";
            return exitcode::Usage;
        } catch (const core::Error& error) {
            console.err << "orvadmin " << command.words.join(QLatin1Char(' ')) << ": " << error.description() << "\n";
            return exitcode::Failed;
        }
    }
    // "orvadmin office --help": the commands of that group.
    QList<Command> group;
    std::copy_if(all.cbegin(), all.cend(), std::back_inserter(group),
                 [&](const Command& command) { return command.words.first() == words.first(); });
    const bool help =
        words.size() == 2 && (words.at(1) == QLatin1String("--help") || words.at(1) == QLatin1String("-h"));
    if (!group.isEmpty() && (help || words.size() == 1)) {
        console.out << "Uso: orvadmin " << words.first() << " COMANDO [opções]   (orvadmin " << words.first()
                    << " COMANDO --help para as opções)\n\nComandos:\n"
                    << commandList(group);
        return help ? exitcode::Ok : exitcode::Usage;
    }
    console.err << "orvadmin: comando desconhecido \"" << words.join(QLatin1Char(' ')) << "\"\n" << overview(all);
    return exitcode::Usage;
}

} // namespace admin
