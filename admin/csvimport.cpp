#include "admin/csvimport.h"

#include "admin/transaction.h"
#include "core/errorvalue.h"
#include "data/connection.h"
#include "data/moddata.h"
#include "data/office/schema.h"
#include "data/storabletext.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>

#include <optional>

namespace admin {

namespace {

namespace sc = data::schema;
using data::modData::SqlLiteral;
namespace literal = data::modData::literal;

enum class Kind { Id, Text, Flag, Date };
// Which identifiers a reference column must name.
enum class Target { None, Clients, Cases, Work, Lawyers };

struct Column {
    const char* name;
    Kind kind;
    bool required = false;
    Target target = Target::None;
    const char* fallback = nullptr; // the literal written when the field is blank or the column absent
};

struct TableSpec {
    Target self;
    QLatin1StringView table;
    QList<Column> columns; // the first is the identifier
};

const QList<TableSpec>& specs()
{
    static const QList<TableSpec> all = {
        {Target::Clients,
         sc::tbContactos,
         {{"contacto_id", Kind::Id, true},
          {"nome_union", Kind::Text, true},
          {"nif", Kind::Text},
          {"morada", Kind::Text},
          {"localidade", Kind::Text},
          {"telefone", Kind::Text},
          {"email", Kind::Text}}},
        {Target::Cases,
         sc::tbProcessos,
         {{"processo_id", Kind::Id, true},
          {"processo_no_completo", Kind::Text, true},
          {"contacto_id", Kind::Id, false, Target::Clients},
          {"judicial", Kind::Flag},
          {"tribunal", Kind::Text},
          {"descrit", Kind::Text},
          {"data_abertura", Kind::Date}}},
        {Target::Work,
         sc::tbProcessos_Trabalhos,
         {{"trabalho_id", Kind::Id, true},
          {"processo_id", Kind::Id, true, Target::Cases},
          {"descrit", Kind::Text, true},
          {"advogado_id", Kind::Id, false, Target::Lawyers},
          {"prazos", Kind::Flag},
          {"data_legal", Kind::Date},
          {"data_escritorio", Kind::Date},
          {"data", Kind::Date}}},
        {Target::None,
         sc::tbProcessos_Trabalhos_Tarefas,
         {{"tarefa_id", Kind::Id, true},
          {"trabalho_id", Kind::Id, true, Target::Work},
          {"descrit", Kind::Text, true},
          {"data", Kind::Date},
          {"closed", Kind::Flag, false, Target::None, "0"},
          {"escondida", Kind::Flag, false, Target::None, "0"}}},
    };
    return all;
}

// A whole positive number, or nothing.
std::optional<qint64> identifier(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value > 0 && value <= 2147483647 ? std::optional<qint64>(value) : std::nullopt;
}

QDateTime dateOf(const QString& text)
{
    static const QString formats[] = {
        QStringLiteral("dd-MM-yyyy"), QStringLiteral("dd-MM-yyyy HH:mm"), QStringLiteral("dd-MM-yyyy HH:mm:ss"),
        QStringLiteral("dd/MM/yyyy"), QStringLiteral("dd/MM/yyyy HH:mm"), QStringLiteral("dd/MM/yyyy HH:mm:ss"),
        QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy-MM-dd HH:mm"), QStringLiteral("yyyy-MM-dd HH:mm:ss"),
    };
    for (const QString& format : formats) {
        const QDateTime value = QDateTime::fromString(text.trimmed(), format);
        if (value.isValid()) {
            return value;
        }
    }
    return QDateTime();
}

// One file being checked: its rows as the literals to insert, in the order of its columns.
struct Batch {
    const TableSpec* spec = nullptr;
    QString file;
    QList<const Column*> columns;
    QList<QStringList> rows;
};

class Importer
{
public:
    explicit Importer(data::Connection& office)
        : m_office(office)
    {}

    ImportResult run(const ImportFiles& files)
    {
        const QString paths[] = {files.clients, files.cases, files.work, files.tasks};
        m_known[Target::Lawyers] = existing(sc::tbAdvogados, QStringLiteral("contacto_id"));
        for (const TableSpec& spec : specs()) {
            if (spec.self != Target::None) {
                m_known[spec.self] = existing(spec.table, QString::fromLatin1(spec.columns.first().name));
            }
        }
        QList<Batch> batches;
        for (int i = 0; i < 4; ++i) {
            if (!paths[i].isEmpty()) {
                batches.append(check(specs().at(i), paths[i]));
            }
        }
        if (!m_result.problems.isEmpty()) {
            return m_result;
        }
        write(batches);
        return m_result;
    }

private:
    QSet<qint64> existing(QLatin1StringView table, const QString& column)
    {
        QSet<qint64> ids;
        auto rows = m_office.openRecordset(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ") + table);
        for (; !rows->eof(); rows->moveNext()) {
            const QVariant value = rows->value(column);
            if (!value.isNull()) {
                ids.insert(value.toLongLong());
            }
        }
        return ids;
    }

    void problem(const QString& file, int line, const QString& reason)
    {
        m_result.problems.append({file, line, reason});
    }

    Batch check(const TableSpec& spec, const QString& path)
    {
        Batch batch{&spec, path, {}, {}};
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            throw core::Error(core::errc::InvalidProcedureCall,
                              QStringLiteral("Não foi possível ler %1: %2").arg(path, file.errorString()));
        }
        const CsvTable table = CsvTable::parse(file.readAll());
        for (const LineProblem& bad : table.problems) {
            problem(path, bad.line, bad.reason);
        }
        if (!table.problems.isEmpty()) {
            return batch;
        }
        if (!readHeader(batch, table.header)) {
            return batch;
        }
        const QString key = QString::fromLatin1(spec.columns.first().name);
        const QSet<qint64> known = existing(spec.table, key);
        QHash<qint64, int> seen; // identifier -> line of this file
        for (const CsvRecord& record : table.records) {
            if (record.fields.size() != table.header.size()) {
                problem(path, record.line,
                        QStringLiteral("%1 campos em vez de %2").arg(record.fields.size()).arg(table.header.size()));
                continue;
            }
            QStringList reasons;
            QStringList row;
            for (const Column* column : batch.columns) {
                const qsizetype at = table.header.indexOf(QString::fromLatin1(column->name));
                row.append(literalOf(*column, at < 0 ? QString() : record.fields.at(at), reasons));
            }
            if (const auto id = identifier(record.fields.at(table.header.indexOf(key)))) {
                if (seen.contains(*id)) {
                    reasons.append(QStringLiteral("%1 %2 repetido (linha %3)").arg(key).arg(*id).arg(seen.value(*id)));
                } else if (known.contains(*id)) {
                    reasons.append(QStringLiteral("%1 %2 já existe na base de dados").arg(key).arg(*id));
                }
                seen.insert(*id, record.line);
            }
            if (!reasons.isEmpty()) {
                problem(path, record.line, reasons.join(QStringLiteral("; ")));
                continue;
            }
            batch.rows.append(row);
        }
        if (spec.self != Target::None) {
            for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
                m_known[spec.self].insert(it.key());
            }
        }
        return batch;
    }

    bool readHeader(Batch& batch, const QStringList& header)
    {
        bool good = true;
        for (const QString& name : header) {
            const auto& columns = batch.spec->columns;
            const bool found = std::any_of(columns.cbegin(), columns.cend(),
                                           [&](const Column& c) { return name == QLatin1String(c.name); });
            if (!found || header.count(name) > 1) {
                problem(batch.file, 1,
                        QStringLiteral("coluna \"%1\" %2")
                            .arg(name, found ? QStringLiteral("repetida") : QStringLiteral("desconhecida")));
                good = false;
            }
        }
        for (const Column& column : batch.spec->columns) {
            const bool present = header.contains(QLatin1String(column.name));
            if (column.required && !present) {
                problem(batch.file, 1, QStringLiteral("falta a coluna \"%1\"").arg(QLatin1String(column.name)));
                good = false;
            }
            if (present || column.fallback) {
                batch.columns.append(&column);
            }
        }
        return good;
    }

    // The literal of one field, or a reason added to reasons.
    QString literalOf(const Column& column, const QString& field, QStringList& reasons)
    {
        const QString name = QString::fromLatin1(column.name);
        if (field.trimmed().isEmpty()) {
            if (column.required) {
                reasons.append(QStringLiteral("%1 em branco").arg(name));
            }
            return column.fallback ? QString::fromLatin1(column.fallback) : QStringLiteral("null");
        }
        switch (column.kind) {
        case Kind::Id: {
            const auto id = identifier(field);
            if (!id) {
                reasons.append(QStringLiteral("%1 \"%2\" não é um número inteiro positivo").arg(name, field));
                return QString();
            }
            if (column.target != Target::None && !m_known.value(column.target).contains(*id)) {
                reasons.append(QStringLiteral("%1 %2 não existe").arg(name).arg(*id));
            }
            return QString::number(*id);
        }
        case Kind::Text:
            // What the editors would refuse to store, a file cannot bring in either.
            if (const auto problem = data::storableText::textProblem(name, field, column.required)) {
                reasons.append(*problem);
                return QString();
            }
            return SqlLiteral(field, literal::Text);
        case Kind::Flag:
            if (field.trimmed() != QLatin1String("0") && field.trimmed() != QLatin1String("1")) {
                reasons.append(QStringLiteral("%1 \"%2\" não é 0 nem 1").arg(name, field));
            }
            return field.trimmed();
        case Kind::Date: {
            const QDateTime date = dateOf(field);
            if (!date.isValid()) {
                reasons.append(QStringLiteral("%1 \"%2\" não é uma data").arg(name, field));
            }
            return SqlLiteral(date, literal::Date);
        }
        }
        return QString();
    }

    void write(const QList<Batch>& batches)
    {
        inTransaction(m_office, [&] {
            for (const Batch& batch : batches) {
                QStringList names;
                for (const Column* column : batch.columns) {
                    names.append(QString::fromLatin1(column->name));
                }
                const QString head = QStringLiteral("INSERT INTO ") + batch.spec->table + QStringLiteral(" (") +
                                     names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (");
                for (const QStringList& row : batch.rows) {
                    m_office.execute(head + row.join(QStringLiteral(", ")) + QLatin1Char(')'));
                }
            }
        });
        for (const Batch& batch : batches) {
            m_result.rows += int(batch.rows.size());
        }
    }

    data::Connection& m_office;
    QMap<Target, QSet<qint64>> m_known; // the identifiers a reference may name
    ImportResult m_result;
};

} // namespace

ImportResult importCsv(data::Connection& office, const ImportFiles& files)
{
    return Importer(office).run(files);
}

} // namespace admin
