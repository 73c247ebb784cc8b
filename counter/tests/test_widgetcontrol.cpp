#include "core/errorvalue.h"
#include "counter/widgetcontrol.h"
#include "data/modcontrols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using counter::WidgetControl;

namespace {

void bind(QWidget* widget, const QVariant& value, int code)
{
    WidgetControl control(widget);
    data::modControls::SetControlValue(control, value, code);
}

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

class TestWidgetControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textBoxAndLabelKeepRawValueInTag()
    {
        QLineEdit total(&m_form);
        bind(&total, 7.5, 2);
        QCOMPARE(total.text(), s("7,50"));
        QCOMPARE(total.property("Tag").toString(), s("7,5"));
        bind(&total, QVariant(), 2);
        QCOMPARE(total.text(), QString());
        QCOMPARE(total.property("Tag").toString(), QString());

        QLabel label(&m_form);
        bind(&label, -1234.5, 4);
        QCOMPARE(label.text(), s("€ -1 234,50"));
        QCOMPARE(label.property("Tag").toString(), s("-1234,5"));
    }

    void chooseOnlyComboSearchesItemData_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("chosen");
        QTest::newRow("matching identifier") << QVariant(33) << 2;
        QTest::newRow("identifier as text") << QVariant(s("22")) << 1;
        QTest::newRow("no matching identifier keeps the choice") << QVariant(99) << 0;
        QTest::newRow("not a number clears the choice") << QVariant(s("abc")) << -1;
    }

    void chooseOnlyComboSearchesItemData()
    {
        QFETCH(QVariant, value);
        QFETCH(int, chosen);
        QComboBox combo(&m_form);
        combo.addItem(s("Ana Silva"), 11);
        combo.addItem(s("João Costa"), 22);
        combo.addItem(s("Rui O'Neil"), 33);
        bind(&combo, value, 0);
        QCOMPARE(combo.currentIndex(), chosen);
    }

    void typedComboTakesText()
    {
        QComboBox combo(&m_form);
        combo.setEditable(true);
        combo.addItem(s("Ana"), 1);
        bind(&combo, 12.5, 0);
        QCOMPARE(combo.currentText(), s("12,5"));
    }

    // A sorted list places a new entry alphabetically: its ItemData must follow it there.
    void sortedListBoxFilledAndChosen()
    {
        QListWidget list(&m_form);
        list.setSortingEnabled(true);
        WidgetControl control(&list);
        control.AddItem(s("Rui"));
        control.setItemData(control.NewIndex(), 9);
        control.AddItem(s("Ana"));
        QCOMPARE(control.NewIndex(), 0);
        control.setItemData(control.NewIndex(), 5);
        QCOMPARE(list.item(1)->text(), s("Rui"));
        QCOMPARE(control.ItemData(1), 9);

        bind(&list, 9, 0);
        QCOMPARE(list.currentRow(), 1);
        bind(&list, QVariant(), 0);
        QCOMPARE(list.currentRow(), -1);
    }

    void datePickerShowsNoDate_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QDateTime>("shown");
        const QDateTime serverNow(QDate(2009, 11, 16), QTime(9, 30, 5));
        QTest::newRow("null") << QVariant() << QDateTime(QDate(1900, 1, 1), QTime(0, 0));
        QTest::newRow("server date") << QVariant(serverNow) << serverNow;
    }

    void datePickerShowsNoDate()
    {
        QFETCH(QVariant, value);
        QFETCH(QDateTime, shown);
        QDateTimeEdit picker(&m_form);
        picker.setMinimumDate(QDate(2000, 1, 1));
        bind(&picker, value, 0);
        QCOMPARE(picker.dateTime(), shown);
    }

    void checkAndOptionButtons()
    {
        QCheckBox check(&m_form);
        bind(&check, 1, 0);
        QVERIFY(check.isChecked());

        QRadioButton first(&m_form);
        QRadioButton second(&m_form);
        bind(&second, -1, 0);
        QVERIFY(second.isChecked());
        bind(&second, 0, 0);
        QVERIFY(!second.isChecked());
        QVERIFY(second.autoExclusive());
    }

    void otherWidgetsAreLeftAlone()
    {
        QPushButton button(s("OK"), &m_form);
        bind(&button, 7.5, 2);
        QCOMPARE(button.text(), s("OK"));
        QVERIFY(!button.property("Tag").isValid());
        WidgetControl control(&button);
        QVERIFY_THROWS_EXCEPTION(core::Error, control.AddItem(s("x")));
    }

private:
    QWidget m_form;
};

QTEST_MAIN(TestWidgetControl)
#include "test_widgetcontrol.moc"
