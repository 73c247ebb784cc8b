#include "editors/editordialog.h"

#include "core/messagebox.h"
#include "editors/editorseams.h"
#include "editors/recordsnapshot.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace editors {
namespace {

// Every dialog fits a 1366x768 screen with a panel, whatever its fields hold.
constexpr int MostWidth = 1000;
constexpr int MostHeight = 640;

QString withoutMnemonic(QString label)
{
    label.remove(QLatin1Char('&'));
    if (label.endsWith(QLatin1Char(':'))) {
        label.chop(1);
    }
    return label;
}

} // namespace

EditorDialog::EditorDialog(const QString& name, const QString& title, QWidget* parent)
    : QDialog(parent)
    , m_body(new QVBoxLayout(this))
    , m_form(new QFormLayout)
{
    setObjectName(name);
    setWindowTitle(title);
    setAccessibleName(title);
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_body->addLayout(m_form);
}

QLineEdit* EditorDialog::addShown(const QString& name, const QString& label)
{
    QLineEdit* field = addText(name, label);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}

QLineEdit* EditorDialog::addText(const QString& name, const QString& label, const QString& placeholder)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setAccessibleName(withoutMnemonic(label));
    field->setPlaceholderText(placeholder);
    m_form->addRow(label, field);
    return field;
}

QCheckBox* EditorDialog::addCheck(const QString& name, const QString& label)
{
    auto* check = new QCheckBox(label, this);
    check->setObjectName(name);
    check->setAccessibleName(withoutMnemonic(label));
    m_form->addRow(QString(), check);
    return check;
}

void EditorDialog::finish(bool editable)
{
    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    if (editable) {
        QPushButton* saveButton = buttons->addButton(QStringLiteral("&Gravar"), QDialogButtonBox::AcceptRole);
        saveButton->setObjectName(QStringLiteral("cmdGravar"));
        saveButton->setAccessibleName(QStringLiteral("Gravar"));
        saveButton->setDefault(true);
        QPushButton* cancelButton = buttons->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
        cancelButton->setObjectName(QStringLiteral("cmdCancelar"));
        cancelButton->setAccessibleName(QStringLiteral("Cancelar"));
        connect(buttons, &QDialogButtonBox::accepted, this, &EditorDialog::accept);
    } else {
        QPushButton* closeButton = buttons->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
        closeButton->setObjectName(QStringLiteral("cmdFechar"));
        closeButton->setAccessibleName(QStringLiteral("Fechar"));
        closeButton->setDefault(true);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_body->addWidget(buttons);
    setMaximumSize(MostWidth, MostHeight);
    const QSize wanted = sizeHint().expandedTo(QSize(560, 0));
    resize(std::min(wanted.width(), MostWidth), std::min(wanted.height(), MostHeight));
}

void EditorDialog::accept()
{
    bool saved = false;
    core::trap(reportLabels(objectName(), QStringLiteral("cmdGravar_Click")), [&] { saved = save(); });
    if (saved) {
        QDialog::accept();
    }
}

bool EditorDialog::refuse(const std::optional<QString>& problem)
{
    return problem && refuse(*problem);
}

bool EditorDialog::refuse(const QString& problem)
{
    if (problem.isEmpty()) {
        return false;
    }
    core::msgBox(problem, core::Buttons::Ok, core::Icon::Warning, windowTitle());
    return true;
}

bool EditorDialog::saveAsLoaded(RecordSnapshot& snapshot, const QString& assignments, const QString& condition,
                                const QString& refusal)
{
    switch (snapshot.save(assignments, condition)) {
    case RecordSnapshot::Outcome::Saved:
        return true;
    case RecordSnapshot::Outcome::Refused:
        core::msgBox(refusal, core::Buttons::Ok, core::Icon::Information, windowTitle());
        return false;
    case RecordSnapshot::Outcome::Gone:
        core::msgBox(QStringLiteral("Este registo foi apagado por outro utilizador depois de aberto; as alterações "
                                    "não foram gravadas."),
                     core::Buttons::Ok, core::Icon::Warning, windowTitle());
        reject();
        return false;
    case RecordSnapshot::Outcome::Changed:
        break;
    }
    const core::Answer answer =
        core::msgBox(QStringLiteral("Outro utilizador alterou este registo depois de o abrir; as suas alterações não "
                                    "foram gravadas.") +
                         core::messageBreak() + QStringLiteral("Pretende ver o registo como está agora?"),
                     core::Buttons::YesNo, core::Icon::Question, windowTitle());
    if (answer == core::Answer::Yes) {
        if (snapshot.reload()) {
            fill();
        }
    }
    return false;
}

} // namespace editors
