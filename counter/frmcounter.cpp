#include "counter/frmcounter.h"

#include "counter/counterart.h"
#include "counter/countermenus.h"
#include "counter/listview.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

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

QDateTimeEdit* datePicker(QWidget* parent, const char* name)
{
    auto* picker = named(new QDateTimeEdit(parent), name);
    picker->setDisplayFormat(QStringLiteral("dd-MM-yyyy"));
    picker->setCalendarPopup(true);
    return picker;
}

} // namespace

frmCounter::frmCounter(QWidget* parent)
    : QWidget(parent)
    , m_ImageList1(CounterArt::trayImages())
    , m_popupMenu([](QMenu& menu, const QPoint& globalPosition) { menu.exec(globalPosition); })
{
    setObjectName(QStringLiteral("frmCounter"));
    setWindowTitle(QStringLiteral("Contador de Tarefas"));
    setWindowIcon(m_ImageList1.image(1));
    // The window lives in the tray: neither hiding it nor closing a message box ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    buildControls();
    m_menus = std::make_unique<CounterMenus>(this);
    connectMenus();

    m_tray = new QSystemTrayIcon(this);
    m_tray->setContextMenu(m_menus->mnMenu());

    m_Timer1 = named(new QTimer(this), "Timer1");
    m_Timer1->setInterval(1000);
    connect(m_Timer1, &QTimer::timeout, this, &frmCounter::Timer1_Timer);
    m_Timer1->start();

    // Wide enough to show every column of the task list without a horizontal scroll bar.
    int listWidth = 0;
    for (int column = 0; column < m_ListView1->columnCount(); ++column) {
        listWidth += m_ListView1->columnWidth(column);
    }
    resize(std::max(860, listWidth + 60), 460);
}

frmCounter::~frmCounter()
{
    if (session::modCode::CounterWindow == this) {
        session::modCode::CounterWindow = nullptr;
    }
}

void frmCounter::setPopupMenu(PopupMenu popup)
{
    m_popupMenu = std::move(popup);
}

void frmCounter::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildBanner());
    layout->addWidget(buildSelector());

    m_TabStrip1 = named(new QTabBar(this), "TabStrip1");
    m_TabStrip1->addTab(QStringLiteral("Tarefas Pendentes"));
    m_TabStrip1->addTab(QStringLiteral("As minhas Estatisticas"));
    m_TabStrip1->addTab(QStringLiteral("Totais por Dossier"));
    m_TabStrip1->setExpanding(false);
    connect(m_TabStrip1, &QTabBar::currentChanged, this, &frmCounter::TabStrip1_Click);
    layout->addWidget(m_TabStrip1);

    buildLists();
    layout->addWidget(m_ListView1, 1);
    layout->addWidget(m_ListView2, 1);
    layout->addWidget(m_ListView3, 1);
    layout->addWidget(buildDates());

    m_Frame1 = named(new QFrame(this), "Frame1");
    auto* frame1Layout = new QHBoxLayout(m_Frame1);
    frame1Layout->setContentsMargins(0, 0, 0, 0);
    m_FXEscondidas = named(new QCheckBox(QStringLiteral("Visualizar tarefas escondidas"), m_Frame1), "FXEscondidas");
    frame1Layout->addWidget(m_FXEscondidas);
    connect(m_FXEscondidas, &QCheckBox::toggled, this, &frmCounter::FXEscondidas_Click);

    m_FXMultitarefa = named(new QCheckBox(QStringLiteral("Permitir Multitarefa"), this), "FXMultitarefa");
    auto* options = new QHBoxLayout;
    options->addWidget(m_Frame1);
    options->addWidget(m_FXMultitarefa);
    options->addStretch();
    layout->addLayout(options);
}

QFrame* frmCounter::buildBanner()
{
    m_Frame2 = named(new QFrame(this), "Frame2");
    m_Frame2->setAutoFillBackground(true);
    QPalette colours = m_Frame2->palette();
    colours.setColor(QPalette::Window, Qt::white);
    m_Frame2->setPalette(colours);

    auto* image1 = label(m_Frame2, "Image1", QString());
    image1->setPixmap(CounterArt::bannerMonogram());
    auto* label1 = label(m_Frame2, "Label1", QStringLiteral("Orvel"));
    QFont title = label1->font();
    title.setPointSizeF(title.pointSizeF() * 1.8);
    title.setBold(true);
    label1->setFont(title);
    auto* label2 = label(m_Frame2, "Label2", QStringLiteral("Orv Advogados Software"));
    auto* image2 = label(m_Frame2, "Image2", QString());
    image2->setPixmap(CounterArt::bannerClock());

    auto* names = new QVBoxLayout;
    names->addWidget(label1);
    names->addWidget(label2);
    auto* layout = new QHBoxLayout(m_Frame2);
    layout->addWidget(image1);
    layout->addLayout(names);
    layout->addStretch();
    layout->addWidget(image2);
    return m_Frame2;
}

QFrame* frmCounter::buildSelector()
{
    m_Frame4 = named(new QFrame(this), "Frame4");
    m_FXAdvogado_ID = named(new QComboBox(m_Frame4), "FXAdvogado_ID");
    m_FXAdvogado_ID->setEditable(false);
    m_FXAdvogado_ID->setMinimumContentsLength(30);
    connect(m_FXAdvogado_ID, &QComboBox::currentIndexChanged, this, &frmCounter::FXAdvogado_ID_Click);

    auto* layout = new QHBoxLayout(m_Frame4);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label(m_Frame4, "Label6", QStringLiteral("A analisar os registos de:")));
    layout->addWidget(m_FXAdvogado_ID);
    layout->addStretch();
    return m_Frame4;
}

QFrame* frmCounter::buildDates()
{
    m_Frame3 = named(new QFrame(this), "Frame3");
    m_FXData_Inicio = datePicker(m_Frame3, "FXData_Inicio");
    m_FXData_Fim = datePicker(m_Frame3, "FXData_Fim");
    m_FXTotal = named(new QLineEdit(m_Frame3), "FXTotal");
    m_FXTotal->setReadOnly(true);
    m_FXTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_FXTotal->setMaximumWidth(100);

    auto* layout = new QHBoxLayout(m_Frame3);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label(m_Frame3, "Label4", QStringLiteral("Data Início:")));
    layout->addWidget(m_FXData_Inicio);
    layout->addWidget(label(m_Frame3, "Label3", QStringLiteral("Data Fim:")));
    layout->addWidget(m_FXData_Fim);
    layout->addStretch();
    layout->addWidget(label(m_Frame3, "Label5", QStringLiteral("Total (horas):")));
    layout->addWidget(m_FXTotal);
    m_Frame3->hide();
    return m_Frame3;
}

void frmCounter::buildLists()
{
    m_ListView1 = named(new ListView(this), "ListView1");
    m_ListView1->setCheckboxes(true);
    m_ListView1->setForeColor(ListForeColor);
    m_ListView1->addColumn(QStringLiteral("Tarefas"), Qt::AlignLeft, 7761);
    m_ListView1->addColumn(QStringLiteral("Contador"), Qt::AlignHCenter, 1411);
    m_ListView1->addColumn(QStringLiteral("Acumulado"), Qt::AlignRight, 1587);
    m_ListView1->addColumn(QStringLiteral("P. Legal"), Qt::AlignHCenter, 1852);
    m_ListView1->addColumn(QStringLiteral("Trabalho"), Qt::AlignLeft, 5468);
    m_ListView1->addColumn(QStringLiteral("Dossier"), Qt::AlignHCenter, 2029);
    m_ListView1->addColumn(QStringLiteral("D. Escritório"), Qt::AlignLeft, 1852);
    connect(m_ListView1, &ListView::ItemCheck, this, &frmCounter::ListView1_ItemCheck);
    connect(m_ListView1, &ListView::ItemClick, this, &frmCounter::ListView1_ItemClick);
    connect(m_ListView1, &ListView::MouseUp, this, &frmCounter::ListView1_MouseUp);
    connect(m_ListView1, &ListView::DblClick, this, &frmCounter::ListView1_DblClick);

    m_ListView2 = named(new ListView(this), "ListView2");
    m_ListView2->addColumn(QStringLiteral("Data Inicio"), Qt::AlignLeft, 2469);
    m_ListView2->addColumn(QStringLiteral("Data Fim"), Qt::AlignLeft, 2293);
    m_ListView2->addColumn(QStringLiteral("Tarefa"), Qt::AlignLeft, 6174);
    m_ListView2->addColumn(QStringLiteral("Trabalho"), Qt::AlignLeft, 6174);
    m_ListView2->addColumn(QStringLiteral("Dossier"), Qt::AlignHCenter, 2469);
    m_ListView2->addColumn(QStringLiteral("Minutos"), Qt::AlignRight, 2205);
    m_ListView2->hide();

    m_ListView3 = named(new ListView(this), "ListView3");
    m_ListView3->addColumn(QStringLiteral("Cliente"), Qt::AlignLeft, 6879);
    m_ListView3->addColumn(QStringLiteral("Dossier"), Qt::AlignLeft, 2117);
    m_ListView3->addColumn(QStringLiteral("Trabalho"), Qt::AlignLeft, 5292);
    m_ListView3->addColumn(QStringLiteral("Tarefa"), Qt::AlignLeft, 5292);
    m_ListView3->addColumn(QStringLiteral("Total"), Qt::AlignRight, 2205);
    m_ListView3->hide();
}

void frmCounter::connectMenus()
{
    const QList<std::pair<const char*, void (frmCounter::*)()>> commands{
        {"mnContador", &frmCounter::mnContador_Click},
        {"mnNovaTarefa", &frmCounter::mnNovaTarefa_Click},
        {"mnLogin", &frmCounter::mnLogin_Click},
        {"mnSair", &frmCounter::mnSair_Click},
        {"mnListAbrir", &frmCounter::mnListAbrir_Click},
        {"mnListLancamento", &frmCounter::mnListLancamento_Click},
        {"mnEsconder", &frmCounter::mnEsconder_Click},
        {"mnListAbrirProcesso", &frmCounter::mnListAbrirProcesso_Click},
        {"mnListAbrirTrabalho", &frmCounter::mnListAbrirTrabalho_Click},
        {"mnListAbrirArquivoDocumental", &frmCounter::mnListAbrirArquivoDocumental_Click},
        {"mnListTerminar", &frmCounter::mnListTerminar_Click},
        {"mnListTrabalho", &frmCounter::mnListTrabalho_Click},
        {"mnLancamentoNovo", &frmCounter::mnLancamentoNovo_Click},
        {"mnListRemover", &frmCounter::mnListRemover_Click},
    };
    for (const auto& [name, slot] : commands) {
        connect(m_menus->command(QLatin1String(name)), &QAction::triggered, this, slot);
    }
}

} // namespace counter
