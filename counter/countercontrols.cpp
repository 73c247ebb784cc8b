#include "counter/countercontrols.h"

#include "counter/counterart.h"
#include "counter/listview/listview.h"
#include "counter/statistics/datepicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace counter {
namespace {

// The list's own text colour, dark grey.
constexpr quint32 ListForeColor = 0x3F3F3F;

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption)
{
    return named(new QLabel(caption, parent), name);
}

QDateTimeEdit* datePicker(QWidget* parent, const char* name, const QString& accessibleName)
{
    auto* picker = named(new DatePicker(parent), name);
    picker->setAccessibleName(accessibleName);
    return picker;
}

struct Column {
    const char* header;
    Qt::Alignment alignment;
    int widthHundredthsMm;
    SortAs sortAs = SortAs::Text;
    // Long text that gives up room first when the window is narrow (ListView::setColumnShares).
    bool shares = false;
};

constexpr bool Shares = true;

ListView* list(QWidget* parent, const char* name, std::initializer_list<Column> columns, QStringList& headers)
{
    auto* view = named(new ListView(parent), name);
    for (const Column& column : columns) {
        headers << QString::fromUtf8(column.header);
        view->addColumn(headers.last(), column.alignment, column.widthHundredthsMm);
        view->setColumnSortAs(view->columnCount() - 1, column.sortAs);
        view->setColumnShares(view->columnCount() - 1, column.shares);
    }
    return view;
}

} // namespace

CounterControls::CounterControls(QWidget* window)
{
    auto* layout = new QVBoxLayout(window);
    buildBanner(window);
    layout->addWidget(Frame2);
    buildSelector(window);
    layout->addWidget(Frame4);

    TabStrip1 = named(new QTabBar(window), "TabStrip1");
    TabStrip1->addTab(QStringLiteral("&Tarefas Pendentes"));
    TabStrip1->addTab(QStringLiteral("As minhas E&statisticas"));
    TabStrip1->addTab(QStringLiteral("Totais por &Dossier"));
    TabStrip1->setExpanding(false);
    TabStrip1->setAccessibleName(QStringLiteral("Separadores"));
    layout->addWidget(TabStrip1);

    // Said above the list while the database cannot be reached (LinkRecovery); hidden otherwise.
    LinkStatus = named(new QLabel(window), "LinkStatus");
    LinkStatus->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    LinkStatus->hide();
    layout->addWidget(LinkStatus);
    // Said above the list while a count runs past the limit or since an earlier day (TrayCount).
    CountWarning = named(new QLabel(window), "CountWarning");
    CountWarning->setStyleSheet(QStringLiteral("color: #9c5700; font-weight: bold;"));
    CountWarning->setWordWrap(true);
    CountWarning->hide();
    layout->addWidget(CountWarning);

    buildLists(window);
    layout->addWidget(ListView1, 1);
    layout->addWidget(ListView2, 1);
    layout->addWidget(ListView3, 1);
    buildDates(window);
    layout->addWidget(Frame3);

    Frame1 = named(new QFrame(window), "Frame1");
    auto* frame1Layout = new QHBoxLayout(Frame1);
    frame1Layout->setContentsMargins(0, 0, 0, 0);
    FXEscondidas = named(new QCheckBox(QStringLiteral("&Visualizar tarefas escondidas"), Frame1), "FXEscondidas");
    FXEscondidas->setAccessibleName(QStringLiteral("Visualizar tarefas escondidas"));
    frame1Layout->addWidget(FXEscondidas);
    FXMultitarefa = named(new QCheckBox(QStringLiteral("Permitir &Multitarefa"), window), "FXMultitarefa");
    FXMultitarefa->setAccessibleName(QStringLiteral("Permitir Multitarefa"));
    auto* options = new QHBoxLayout;
    options->addWidget(Frame1);
    options->addWidget(FXMultitarefa);
    options->addStretch();
    layout->addLayout(options);
}

void CounterControls::buildBanner(QWidget* window)
{
    Frame2 = named(new QFrame(window), "Frame2");
    Frame2->setAutoFillBackground(true);
    QPalette colours = Frame2->palette();
    colours.setColor(QPalette::Window, Qt::white);
    Frame2->setPalette(colours);

    auto* image1 = label(Frame2, "Image1", QString());
    image1->setPixmap(CounterArt::bannerMonogram());
    auto* label1 = label(Frame2, "Label1", QStringLiteral("Orvel"));
    QFont title = label1->font();
    title.setPointSizeF(title.pointSizeF() * 1.8);
    title.setBold(true);
    label1->setFont(title);
    auto* label2 = label(Frame2, "Label2", QStringLiteral("Orv Advogados Software"));
    auto* image2 = label(Frame2, "Image2", QString());
    image2->setPixmap(CounterArt::bannerClock());

    auto* names = new QVBoxLayout;
    names->addWidget(label1);
    names->addWidget(label2);
    auto* layout = new QHBoxLayout(Frame2);
    layout->addWidget(image1);
    layout->addLayout(names);
    layout->addStretch();
    // The tray menu's entries, offered from the window itself where the desktop has no notification area.
    MenuButton = named(new QToolButton(Frame2), "MenuButton");
    MenuButton->setText(QStringLiteral("Me&nu"));
    MenuButton->setAccessibleName(QStringLiteral("Menu"));
    MenuButton->setPopupMode(QToolButton::InstantPopup);
    MenuButton->hide();
    layout->addWidget(MenuButton, 0, Qt::AlignTop);
    layout->addWidget(image2);
}

void CounterControls::buildSelector(QWidget* window)
{
    Frame4 = named(new QFrame(window), "Frame4");
    FXAdvogado_ID = named(new QComboBox(Frame4), "FXAdvogado_ID");
    FXAdvogado_ID->setEditable(false);
    FXAdvogado_ID->setMinimumContentsLength(30);
    auto* caption = label(Frame4, "Label6", QStringLiteral("A ana&lisar os registos de:"));
    caption->setBuddy(FXAdvogado_ID);
    FXAdvogado_ID->setAccessibleName(QStringLiteral("A analisar os registos de:"));

    auto* layout = new QHBoxLayout(Frame4);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption);
    layout->addWidget(FXAdvogado_ID);
    layout->addStretch();
}

void CounterControls::buildDates(QWidget* window)
{
    Frame3 = named(new QFrame(window), "Frame3");
    FXData_Inicio = datePicker(Frame3, "FXData_Inicio", QStringLiteral("Data Início"));
    FXData_Fim = datePicker(Frame3, "FXData_Fim", QStringLiteral("Data Fim"));
    FXTotal = named(new QLineEdit(Frame3), "FXTotal");
    FXTotal->setReadOnly(true);
    FXTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    FXTotal->setMaximumWidth(100);
    FXTotal->setAccessibleName(QStringLiteral("Total (horas)"));

    auto* layout = new QHBoxLayout(Frame3);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto captioned = [&](const char* name, const QString& caption, QWidget* field) {
        auto* text = label(Frame3, name, caption);
        text->setBuddy(field);
        layout->addWidget(text);
        layout->addWidget(field);
    };
    captioned("Label4", QStringLiteral("Data &Início:"), FXData_Inicio);
    captioned("Label3", QStringLiteral("Data &Fim:"), FXData_Fim);
    layout->addStretch();
    captioned("Label5", QStringLiteral("T&otal (horas):"), FXTotal);
    Frame3->hide();
}

void CounterControls::buildLists(QWidget* window)
{
    ListView1 = list(window, "ListView1",
                     {{"Tarefas", Qt::AlignLeft, 7761, SortAs::Text, Shares},
                      {"Contador", Qt::AlignHCenter, 1411},
                      {"Acumulado", Qt::AlignRight, 1587},
                      {"P. Legal", Qt::AlignHCenter, 1852},
                      {"Trabalho", Qt::AlignLeft, 5468, SortAs::Text, Shares},
                      {"Dossier", Qt::AlignHCenter, 2029},
                      {"D. Escritório", Qt::AlignLeft, 1852}},
                     ListView1Headers);
    ListView1->setCheckboxes(true);
    ListView1->setForeColor(ListForeColor);
    ListView1->setAccessibleName(QStringLiteral("Tarefas Pendentes"));

    ListView2 = list(window, "ListView2",
                     {{"Data Inicio", Qt::AlignLeft, 2469, SortAs::Date},
                      {"Data Fim", Qt::AlignLeft, 2293, SortAs::Date},
                      {"Tarefa", Qt::AlignLeft, 6174, SortAs::Text, Shares},
                      {"Trabalho", Qt::AlignLeft, 6174, SortAs::Text, Shares},
                      {"Dossier", Qt::AlignHCenter, 2469},
                      {"Minutos", Qt::AlignRight, 2205, SortAs::Number}},
                     ListView2Headers);
    ListView2->setAccessibleName(QStringLiteral("As minhas Estatisticas"));
    ListView2->hide();
    ListView3 = list(window, "ListView3",
                     {{"Cliente", Qt::AlignLeft, 6879, SortAs::Text, Shares},
                      {"Dossier", Qt::AlignLeft, 2117},
                      {"Trabalho", Qt::AlignLeft, 5292, SortAs::Text, Shares},
                      {"Tarefa", Qt::AlignLeft, 5292, SortAs::Text, Shares},
                      {"Total", Qt::AlignRight, 2205, SortAs::Number}},
                     ListView3Headers);
    ListView3->setAccessibleName(QStringLiteral("Totais por Dossier"));
    ListView3->hide();
}

} // namespace counter
