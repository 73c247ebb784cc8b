#pragma once

#include <QDialog>

#include <optional>

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QVBoxLayout;

namespace editors {

class RecordSnapshot;

// The frame every record editor shares: a form of labelled fields, each with its accessible name, and
// the buttons. Enter saves ("Gravar"), Esc cancels; a dialog that only shows has "Fechar". The save runs
// in accept(): a refusal or a failure (reported) keeps the dialog open, and it closes only once saved.
class EditorDialog : public QDialog
{
    Q_OBJECT

public:
    void accept() override;

protected:
    EditorDialog(const QString& name, const QString& title, QWidget* parent = nullptr);

    QVBoxLayout& body() { return *m_body; }
    QFormLayout& form() { return *m_form; }
    // A field that shows a value and cannot be changed.
    QLineEdit* addShown(const QString& name, const QString& label);
    QLineEdit* addText(const QString& name, const QString& label, const QString& placeholder = QString());
    QCheckBox* addCheck(const QString& name, const QString& label);
    // The buttons and the size; call once the fields are in place.
    void finish(bool editable);

    // Checks the fields and writes the record; false when nothing was written (the reason was shown).
    // Errors thrown are reported and keep the dialog open.
    virtual bool save() = 0;
    // Shows the snapshot's values in the fields again.
    virtual void fill() = 0;

    // Shows problem (when there is one) in a message titled as the dialog; true when there was one.
    bool refuse(const std::optional<QString>& problem);
    bool refuse(const QString& problem);
    // Writes assignments ("column = value, …") into the record with one statement that changes it only while
    // it still holds what was loaded and condition (empty or " AND …") holds; true when written. Otherwise
    // says why and writes nothing: a record another user changed can be read again on request, a deleted one
    // closes the dialog, and a failed condition shows refusal. Throws core::Error.
    bool saveAsLoaded(RecordSnapshot& snapshot, const QString& assignments, const QString& condition = QString(),
                      const QString& refusal = QString());

private:
    QVBoxLayout* m_body;
    QFormLayout* m_form;
};

} // namespace editors
