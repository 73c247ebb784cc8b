// The adapters of the kinds with entries, combo box and list box: the position rules once, the
// widget calls per kind.
#include "core/errorvalue.h"
#include "counter/widgetkinds.h"

#include <QComboBox>
#include <QListWidget>

namespace counter::widgetKinds {
namespace {

const char* const NewIndexProperty = "NewIndex";

// The entries of a combo or list box, each with its whole number kept in Qt::UserRole.
class EntriesControl : public WidgetControl
{
public:
    using WidgetControl::WidgetControl;

    int ListCount() const final { return count(); }
    int ListIndex() const final { return current(); }
    void setListIndex(int index) final
    {
        if (index < -1 || index >= count()) {
            throw core::standardError(core::errc::InvalidPropertyValue);
        }
        setCurrent(index);
    }
    qint32 ItemData(int index) const final { return data(checked(index)); }
    void setItemData(int index, qint32 value) final { setData(checked(index), value); }

    void Clear() final
    {
        clearEntries();
        as<QWidget>()->setProperty(NewIndexProperty, -1);
    }
    void AddItem(const QString& text) final { as<QWidget>()->setProperty(NewIndexProperty, append(text)); }
    int NewIndex() const final
    {
        const QVariant position = as<QWidget>()->property(NewIndexProperty);
        return position.isValid() ? position.toInt() : -1;
    }

private:
    int checked(int index) const
    {
        if (index < 0 || index >= count()) {
            throw core::standardError(core::errc::InvalidPropertyArrayIndex);
        }
        return index;
    }

    virtual int count() const = 0;
    virtual int current() const = 0;
    virtual void setCurrent(int index) = 0;
    virtual qint32 data(int index) const = 0;
    virtual void setData(int index, qint32 value) = 0;
    virtual void clearEntries() = 0;
    // Returns the new entry's position.
    virtual int append(const QString& text) = 0;
};

class ComboBoxControl final : public EntriesControl
{
public:
    explicit ComboBoxControl(QComboBox* combo)
        : EntriesControl(combo, Kind::ComboBox)
    {}

    QString Text() const override { return combo()->currentText(); }
    // A combo box that can be typed in takes the text; a choose-only one chooses the entry of that text.
    void setText(const QString& text) override
    {
        if (combo()->isEditable()) {
            combo()->setEditText(text);
        } else {
            combo()->setCurrentIndex(combo()->findText(text, Qt::MatchFixedString));
        }
    }
    int Style() const override { return combo()->isEditable() ? 0 : 2; }

private:
    QComboBox* combo() const { return as<QComboBox>(); }
    int count() const override { return combo()->count(); }
    int current() const override { return combo()->currentIndex(); }
    void setCurrent(int index) override { combo()->setCurrentIndex(index); }
    qint32 data(int index) const override { return combo()->itemData(index, Qt::UserRole).toInt(); }
    void setData(int index, qint32 value) override { combo()->setItemData(index, value, Qt::UserRole); }
    void clearEntries() override { combo()->clear(); }
    int append(const QString& text) override
    {
        combo()->addItem(text);
        return combo()->count() - 1;
    }
};

class ListBoxControl final : public EntriesControl
{
public:
    explicit ListBoxControl(QListWidget* list)
        : EntriesControl(list, Kind::ListBox)
    {}

    QString Text() const override { return list()->currentItem() ? list()->currentItem()->text() : QString(); }

private:
    QListWidget* list() const { return as<QListWidget>(); }
    int count() const override { return list()->count(); }
    int current() const override { return list()->currentRow(); }
    void setCurrent(int index) override { list()->setCurrentRow(index); }
    qint32 data(int index) const override { return list()->item(index)->data(Qt::UserRole).toInt(); }
    void setData(int index, qint32 value) override { list()->item(index)->setData(Qt::UserRole, value); }
    void clearEntries() override { list()->clear(); }
    int append(const QString& text) override
    {
        auto* item = new QListWidgetItem(text);
        list()->addItem(item);
        return list()->row(item);
    }
};

} // namespace

std::unique_ptr<WidgetControl> comboBox(QComboBox* widget)
{
    return std::make_unique<ComboBoxControl>(widget);
}

std::unique_ptr<WidgetControl> listBox(QListWidget* widget)
{
    return std::make_unique<ListBoxControl>(widget);
}

} // namespace counter::widgetKinds
