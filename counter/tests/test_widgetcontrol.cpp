#include "counter/widgetcontrol.h"
#include "data/binding/modcontrols.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTest>

using counter::WidgetControl;

namespace {

void bind(QWidget* widget, const QVariant& value, int code)
{
    data::modControls::SetControlValue(*WidgetControl::of(widget), value, code);
}

} // namespace

// How the adapter carries the control rules onto real widgets; the rules themselves are tested over a
// stand-in control with the data layer.
class TestWidgetControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineEditKeepsTheRawValueInItsTag()
    {
        QLineEdit total;
        bind(&total, 7.5, 2);
        QCOMPARE(total.text(), QStringLiteral("7,50"));
        QCOMPARE(total.property("Tag").toString(), QStringLiteral("7,5"));
        bind(&total, QVariant(), 2);
        QCOMPARE(total.text(), QString());
        QCOMPARE(total.property("Tag").toString(), QString());
    }

    void chooseOnlyComboIsChosenByItemData_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("chosen");
        QTest::newRow("matching identifier") << QVariant(33) << 2;
        QTest::newRow("not a number clears the choice") << QVariant(QStringLiteral("abc")) << -1;
    }
    void chooseOnlyComboIsChosenByItemData()
    {
        QFETCH(QVariant, value);
        QFETCH(int, chosen);
        QComboBox combo;
        const auto control = WidgetControl::of(&combo);
        for (int id : {11, 22, 33}) {
            control->AddItem(QStringLiteral("Advogado %1").arg(id));
            control->setItemData(control->NewIndex(), id);
        }
        bind(&combo, value, 0);
        QCOMPARE(combo.currentIndex(), chosen);
    }

    // "No date" lies before any minimum the form gave the picker.
    void dateEditShowsNoDateForNull()
    {
        QDateTimeEdit picker;
        picker.setMinimumDate(QDate(2000, 1, 1));
        bind(&picker, QVariant(), 0);
        QCOMPARE(picker.dateTime(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    }
};

QTEST_MAIN(TestWidgetControl)
#include "test_widgetcontrol.moc"
