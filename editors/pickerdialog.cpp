#include "editors/pickerdialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace editors {
namespace {

constexpr int IdRole = Qt::UserRole;
constexpr int FilterRole = Qt::UserRole + 1;

} // namespace

QString folded(const QString& text)
{
    QString plain;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing) {
            plain += c;
        }
    }
    return plain.toCaseFolded();
}

PickerDialog::PickerDialog(const QString& name, const QString& title, const QStringList& headers,
                           const QList<int>& filtered, QWidget* parent)
    : QDialog(parent)
    , m_filtered(filtered)
    , m_filter(new QLineEdit(this))
    , m_list(new QTreeWidget(this))
{
    setObjectName(name);
    setWindowTitle(title);
    setAccessibleName(title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_filter->setObjectName(QStringLiteral("FXFiltro"));
    m_filter->setAccessibleName(QStringLiteral("Procurar"));
    m_filter->setPlaceholderText(QStringLiteral("Número, cliente ou descrição"));
    m_filter->setClearButtonEnabled(true);
    m_filter->installEventFilter(this);
    form->addRow(QStringLiteral("&Procurar:"), m_filter);
    layout->addLayout(form);

    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setAccessibleName(title);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels(headers);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::Interactive);
    layout->addWidget(m_list);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(m_filter, &QLineEdit::textChanged, this, &PickerDialog::applyFilter);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* choose = buttons->addButton(QStringLiteral("&Escolher"), QDialogButtonBox::AcceptRole);
    choose->setObjectName(QStringLiteral("cmdEscolher"));
    choose->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancelar"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PickerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(900, 520);
    m_filter->setFocus();
}

void PickerDialog::setRows(const QList<Row>& rows)
{
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const Row& row : rows) {
        auto* item = new QTreeWidgetItem(row.texts);
        item->setData(0, IdRole, row.id);
        QStringList searched;
        for (const int column : m_filtered) {
            searched << row.texts.value(column);
        }
        item->setData(0, FilterRole, folded(searched.join(QLatin1Char(' '))));
        items << item;
    }
    m_list->addTopLevelItems(items);
    for (int column = 0; column < m_list->columnCount(); ++column) {
        m_list->resizeColumnToContents(column);
        m_list->setColumnWidth(column, std::min(m_list->columnWidth(column), 320));
    }
    applyFilter(m_filter->text());
}

int PickerDialog::shownRows() const
{
    int shown = 0;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        shown += m_list->topLevelItem(i)->isHidden() ? 0 : 1;
    }
    return shown;
}

void PickerDialog::applyFilter(const QString& text)
{
    const QStringList words = folded(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const QString searched = item->data(0, FilterRole).toString();
        bool kept = true;
        for (const QString& word : words) {
            kept = kept && searched.contains(word);
        }
        item->setHidden(!kept);
        if (kept && first == nullptr) {
            first = item;
        }
    }
    QTreeWidgetItem* current = m_list->currentItem();
    if (current == nullptr || current->isHidden()) {
        m_list->setCurrentItem(first);
    }
}

void PickerDialog::accept()
{
    QTreeWidgetItem* current = m_list->currentItem();
    // The filter never leaves a hidden row current.
    if (current == nullptr) {
        return;
    }
    m_chosen = current->data(0, IdRole).toLongLong();
    QDialog::accept();
}

bool PickerDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Up and down in the filter box move through the list, so the keyboard never has to leave the box.
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
            QCoreApplication::sendEvent(m_list, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace editors
