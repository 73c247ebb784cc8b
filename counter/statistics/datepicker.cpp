#include "counter/statistics/datepicker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace counter {
namespace {

constexpr int Century = 2000;
// "dd-mm-yyyy"
constexpr int LongestText = 10;

int yearOf(const QString& digits)
{
    return digits.size() <= 2 ? Century + digits.toInt() : digits.toInt();
}

bool isSeparator(QChar character)
{
    return QStringLiteral("-/. ").contains(character);
}

} // namespace

DatePicker::DatePicker(QWidget* parent)
    : QDateTimeEdit(parent)
{
    setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    setCalendarPopup(true);
}

std::optional<QDate> DatePicker::typedDate(const QString& text, const QDate& shown)
{
    static const QRegularExpression separated(
        QStringLiteral("^(\\d{1,2})(?:[-/. ]+(\\d{1,2})(?:[-/. ]+(\\d{2}|\\d{4}))?)?[-/. ]*$"));
    const QString typed = text.trimmed();
    QString day;
    QString month;
    QString year;
    if (const QRegularExpressionMatch parts = separated.match(typed);
        parts.hasMatch() && (parts.capturedLength(2) > 0 || typed.size() <= 2)) {
        day = parts.captured(1);
        month = parts.captured(2);
        year = parts.captured(3);
    } else if (static const QRegularExpression digits(QStringLiteral("^\\d{4}(\\d{2}|\\d{4})?$"));
               digits.match(typed).hasMatch()) {
        day = typed.left(2);
        month = typed.mid(2, 2);
        year = typed.mid(4);
    } else {
        return std::nullopt;
    }
    const QDate date(year.isEmpty() ? shown.year() : yearOf(year), month.isEmpty() ? shown.month() : month.toInt(),
                     day.toInt());
    return date.isValid() ? std::optional(date) : std::nullopt;
}

void DatePicker::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const QChar character = text.size() == 1 ? text.at(0) : QChar();
    const bool typing = !m_typed.isNull();
    if (!typing && character.isDigit() &&
        (currentSection() == DaySection || lineEdit()->selectedText() == lineEdit()->text())) {
        m_typed = QLatin1String("");
    }
    if (!m_typed.isNull()) {
        if (character.isDigit() || (isSeparator(character) && !m_typed.isEmpty())) {
            if (m_typed.size() < LongestText) {
                m_typed += character;
            }
            showTyped();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Backspace) {
            m_typed.chop(1);
            showTyped();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            dropTyped();
            event->accept();
            return;
        }
        takeTyped();
    }
    QDateTimeEdit::keyPressEvent(event);
}

void DatePicker::focusOutEvent(QFocusEvent* event)
{
    if (!m_typed.isNull()) {
        takeTyped();
    }
    QDateTimeEdit::focusOutEvent(event);
}

void DatePicker::showTyped()
{
    // The picker would read every character as a part of its own format; it hears nothing until the
    // typed date is taken.
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(m_typed);
    lineEdit()->setCursorPosition(static_cast<int>(m_typed.size()));
}

void DatePicker::takeTyped()
{
    const std::optional<QDate> date = typedDate(std::exchange(m_typed, QString()), this->date());
    if (date && *date != this->date()) {
        setDate(*date);
    } else {
        dropTyped();
    }
}

void DatePicker::dropTyped()
{
    m_typed = QString();
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(textFromDateTime(dateTime()));
}

} // namespace counter
