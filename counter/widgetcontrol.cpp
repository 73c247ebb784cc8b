#include "counter/widgetcontrol.h"

#include "core/errorvalue.h"
#include "data/valuetext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace counter {

namespace {

constexpr int InvalidValue = 380;
constexpr int InvalidIndex = 381;
constexpr int NotSupported = 438;
const char* const TagProperty = "Tag";
const char* const NewIndexProperty = "NewIndex";

core::Error invalidIndex()
{
    return core::Error(InvalidIndex, QStringLiteral("Invalid property array index"));
}

core::Error notSupported()
{
    return core::Error(NotSupported, QStringLiteral("Object doesn't support this property or method"));
}

} // namespace

WidgetControl::WidgetControl(QWidget* widget)
    : m_widget(widget)
{}

WidgetControl::Kind WidgetControl::kind() const
{
    QWidget* w = m_widget.data();
    if (qobject_cast<QLineEdit*>(w)) {
        return Kind::TextBox;
    }
    if (qobject_cast<QComboBox*>(w)) {
        return Kind::ComboBox;
    }
    if (qobject_cast<QDateTimeEdit*>(w)) {
        return Kind::DatePicker;
    }
    if (qobject_cast<QRadioButton*>(w)) {
        return Kind::OptionButton;
    }
    if (qobject_cast<QCheckBox*>(w)) {
        return Kind::CheckBox;
    }
    if (qobject_cast<QLabel*>(w)) {
        return Kind::Label;
    }
    if (qobject_cast<QListWidget*>(w)) {
        return Kind::ListBox;
    }
    return Kind::Other;
}

QString WidgetControl::Text() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        return combo->currentText();
    }
    if (auto* list = qobject_cast<QListWidget*>(m_widget)) {
        return list->currentItem() ? list->currentItem()->text() : QString();
    }
    return BoundControl::Text();
}

void WidgetControl::setText(const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else {
            combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
        }
    } else {
        BoundControl::setText(text);
    }
}

QString WidgetControl::Tag() const
{
    if (!m_widget) {
        return BoundControl::Tag();
    }
    return m_widget->property(TagProperty).toString();
}

void WidgetControl::setTag(const QString& tag)
{
    if (!m_widget) {
        BoundControl::setTag(tag);
        return;
    }
    m_widget->setProperty(TagProperty, tag);
}

int WidgetControl::Style() const
{
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        return combo->isEditable() ? 0 : 2;
    }
    return BoundControl::Style();
}

int WidgetControl::ListIndex() const
{
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        return combo->currentIndex();
    }
    if (auto* list = qobject_cast<QListWidget*>(m_widget)) {
        return list->currentRow();
    }
    return BoundControl::ListIndex();
}

void WidgetControl::setListIndex(int index)
{
    if (index < -1 || index >= ListCount()) {
        throw core::Error(InvalidValue, QStringLiteral("Invalid property value"));
    }
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        combo->setCurrentIndex(index);
    } else if (auto* list = qobject_cast<QListWidget*>(m_widget)) {
        list->setCurrentRow(index);
    }
}

int WidgetControl::ListCount() const
{
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        return combo->count();
    }
    if (auto* list = qobject_cast<QListWidget*>(m_widget)) {
        return list->count();
    }
    return BoundControl::ListCount();
}

qint32 WidgetControl::ItemData(int index) const
{
    if (index < 0 || index >= ListCount()) {
        throw invalidIndex();
    }
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        return combo->itemData(index, Qt::UserRole).toInt();
    }
    return qobject_cast<QListWidget*>(m_widget)->item(index)->data(Qt::UserRole).toInt();
}

QVariant WidgetControl::Value() const
{
    if (auto* date = qobject_cast<QDateTimeEdit*>(m_widget)) {
        return date->dateTime();
    }
    if (auto* radio = qobject_cast<QRadioButton*>(m_widget)) {
        return radio->isChecked() ? 1 : 0;
    }
    if (auto* check = qobject_cast<QCheckBox*>(m_widget)) {
        return int(check->checkState() == Qt::Checked ? 1 : check->checkState() == Qt::PartiallyChecked ? 2 : 0);
    }
    return BoundControl::Value();
}

void WidgetControl::setValue(const QVariant& value)
{
    if (auto* date = qobject_cast<QDateTimeEdit*>(m_widget)) {
        const QDateTime when = data::valueText::toDateTime(value);
        date->setMinimumDateTime(data::valueText::noDate());
        date->setDateTime(when);
    } else if (auto* radio = qobject_cast<QRadioButton*>(m_widget)) {
        // A chosen button of an exclusive group refuses to be unchosen unless taken out of it.
        const bool exclusive = radio->autoExclusive();
        radio->setAutoExclusive(false);
        radio->setChecked(data::valueText::toNumber(value) != 0.0);
        radio->setAutoExclusive(exclusive);
    } else if (auto* check = qobject_cast<QCheckBox*>(m_widget)) {
        const double state = data::valueText::toNumber(value);
        check->setCheckState(state == 2.0 ? Qt::PartiallyChecked : state != 0.0 ? Qt::Checked : Qt::Unchecked);
    } else {
        BoundControl::setValue(value);
    }
}

QString WidgetControl::Caption() const
{
    if (auto* label = qobject_cast<QLabel*>(m_widget)) {
        return label->text();
    }
    return BoundControl::Caption();
}

void WidgetControl::setCaption(const QString& caption)
{
    if (auto* label = qobject_cast<QLabel*>(m_widget)) {
        label->setText(caption);
    } else {
        BoundControl::setCaption(caption);
    }
}

void WidgetControl::Clear()
{
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        combo->clear();
    } else if (auto* list = qobject_cast<QListWidget*>(m_widget)) {
        list->clear();
    } else {
        throw notSupported();
    }
    m_widget->setProperty(NewIndexProperty, -1);
}

void WidgetControl::AddItem(const QString& text)
{
    int position = -1;
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        combo->addItem(text);
        position = combo->count() - 1;
    } else if (auto* list = qobject_cast<QListWidget*>(m_widget)) {
        auto* item = new QListWidgetItem(text);
        list->addItem(item);
        position = list->row(item);
    } else {
        throw notSupported();
    }
    m_widget->setProperty(NewIndexProperty, position);
}

int WidgetControl::NewIndex() const
{
    if (kind() != Kind::ComboBox && kind() != Kind::ListBox) {
        throw notSupported();
    }
    const QVariant position = m_widget->property(NewIndexProperty);
    return position.isValid() ? position.toInt() : -1;
}

void WidgetControl::setItemData(int index, qint32 value)
{
    if (index < 0 || index >= ListCount()) {
        throw invalidIndex();
    }
    if (auto* combo = qobject_cast<QComboBox*>(m_widget)) {
        combo->setItemData(index, value, Qt::UserRole);
    } else {
        qobject_cast<QListWidget*>(m_widget)->item(index)->setData(Qt::UserRole, value);
    }
}

} // namespace counter
