#pragma once

// The widgets the element boxes draw with, one header each.
#include "platform/qt/ButtonWidget.h"
#include "platform/qt/DecorationWidget.h"
#include "platform/qt/DividerWidget.h"
#include "platform/qt/GroupPanelWidget.h"
#include "platform/qt/ImageWidget.h"
#include "platform/qt/ListWidgets.h"
#include "platform/qt/PresentationWindow.h"
#include "platform/qt/SwitchWidget.h"
#include "platform/qt/TextWidget.h"
