#include "admin/csvfile.h"

#include <QStringDecoder>

namespace admin {

namespace {

// The first line (from 1) whose bytes are not UTF-8; 0 when every line is.
int firstBadLine(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decoder(lines.at(i));
        if (decoder.hasError()) {
            return int(i + 1);
        }
    }
    return 0;
}

} // namespace

CsvTable CsvTable::parse(const QByteArray& bytes)
{
    CsvTable table;
    if (const int bad = firstBadLine(bytes)) {
        table.problems.append({bad, QStringLiteral("o texto não está em UTF-8")});
        return table;
    }
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }

    QList<CsvRecord> records;
    CsvRecord record{1, {}};
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    int quoteLine = 0;
    auto endField = [&] {
        record.fields.append(field);
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        const bool blank = record.fields.size() == 1 && record.fields.first().trimmed().isEmpty();
        if (!blank) {
            records.append(record);
        }
        record = CsvRecord{line, {}};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n')) {
                    ++line;
                }
                field += c;
            }
        } else if (c == QLatin1Char('"') && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            quoteLine = line;
        } else if (c == QLatin1Char(';')) {
            endField();
        } else if (c == QLatin1Char('\n')) {
            ++line;
            if (field.endsWith(QLatin1Char('\r'))) {
                field.chop(1);
            }
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        table.problems.append({quoteLine, QStringLiteral("aspas abertas e nunca fechadas")});
        return table;
    }
    if (field.endsWith(QLatin1Char('\r'))) {
        field.chop(1);
    }
    endRecord();
    if (!records.isEmpty()) {
        table.header = records.takeFirst().fields;
    }
    table.records = records;
    return table;
}

} // namespace admin
