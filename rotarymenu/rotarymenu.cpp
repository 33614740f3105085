// SPDX-License-Identifier: MIT
// Rotary menu widget: construction, properties and change notification.
#include "rotarymenu.h"

TRotaryMenu::TRotaryMenu(QWidget *parent) : QWidget(parent) {}

TRotaryMenu::~TRotaryMenu() = default;
