#pragma once

#include <QStringList>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QTabBar;
class QToolButton;
class QWidget;

namespace counter {

class ListView;

// The counter window's controls, built in code under their own object names and captions, laid out
// top to bottom in the window: the banner Frame2 (Label1, Label2, Image1, MenuButton, Image2), the selector Frame4
// (Label6, FXAdvogado_ID), TabStrip1, the lines LinkStatus and CountWarning, the lists ListView1 (pending tasks, with
// check boxes), ListView2 and ListView3 (hidden until their tabs show them), the dates Frame3 (Label4, FXData_Inicio,
// Label3, FXData_Fim, Label5, FXTotal; hidden), and Frame1 (FXEscondidas) beside FXMultitarefa. The window owns the
// widgets; this only keeps them at hand.
struct CounterControls {
    explicit CounterControls(QWidget* window);

    QFrame* Frame2 = nullptr;
    QToolButton* MenuButton = nullptr; // shown only where there is no notification area
    QFrame* Frame4 = nullptr;
    QComboBox* FXAdvogado_ID = nullptr;
    QTabBar* TabStrip1 = nullptr;
    QLabel* LinkStatus = nullptr;   // shown only while the database cannot be reached
    QLabel* CountWarning = nullptr; // shown only while a count runs too long or since an earlier day
    ListView* ListView1 = nullptr;
    ListView* ListView2 = nullptr;
    ListView* ListView3 = nullptr;
    QFrame* Frame3 = nullptr;
    QDateTimeEdit* FXData_Inicio = nullptr;
    QDateTimeEdit* FXData_Fim = nullptr;
    QLineEdit* FXTotal = nullptr;
    QFrame* Frame1 = nullptr;
    QCheckBox* FXEscondidas = nullptr;
    QCheckBox* FXMultitarefa = nullptr;
    // The column headers each list was given, in column order.
    QStringList ListView1Headers;
    QStringList ListView2Headers;
    QStringList ListView3Headers;

private:
    void buildBanner(QWidget* window);
    void buildSelector(QWidget* window);
    void buildDates(QWidget* window);
    void buildLists(QWidget* window);
};

} // namespace counter
