#pragma once

#include <QDateTimeEdit>

#include <optional>

namespace counter {

// A date picker ("dd-mm-yyyy", with its calendar) that also takes a date typed over it. Digits typed
// with the day part current (as after Tab or a click on the day) or the whole text selected start a
// typed date, shown as typed, with or without separators: "01-12-2026", "1/12/26", "01122026", or a
// part of one, "15" (that day of the month shown) or "1512" (of the year shown). Enter, leaving the
// picker or any other key takes it; Escape drops it; one that is no date gives the shown date back.
// Digits typed in the month or year part change that part, as Qt's picker does.
class DatePicker : public QDateTimeEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);

    // The date a typed text stands for, its missing parts taken from `shown`; nothing for a text that is
    // no date. Two-digit years are of this century.
    static std::optional<QDate> typedDate(const QString& text, const QDate& shown);
    // The text typed so far, null when none is being typed.
    QString typed() const { return m_typed; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showTyped();
    // Takes the typed date, or shows the date again when the text is no date.
    void takeTyped();
    void dropTyped();

    QString m_typed;
};

} // namespace counter
