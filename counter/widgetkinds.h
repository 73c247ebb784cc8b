#pragma once

#include "counter/widgetcontrol.h"

class QComboBox;
class QListWidget;

// The adapters of the two list kinds (widgetcontrol_lists.cpp), created by WidgetControl::of.
namespace counter::widgetKinds {

std::unique_ptr<WidgetControl> comboBox(QComboBox* widget);
std::unique_ptr<WidgetControl> listBox(QListWidget* widget);

} // namespace counter::widgetKinds
