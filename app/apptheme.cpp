// SPDX-License-Identifier: MIT
// Palette and style sheet of "Light Green"; font registration.
#include "apptheme.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace zc {

bool RegisterTahoma(const QString &folder)
{
    const int regular = QFontDatabase::addApplicationFont(folder + QStringLiteral("/tahoma.ttf"));
    const int bold = QFontDatabase::addApplicationFont(folder + QStringLiteral("/tahomabd.ttf"));
    return regular >= 0 || bold >= 0;
}

bool ApplyLightGreenStyle(QApplication &app)
{
    QStyle *base = QStyleFactory::create(QStringLiteral("Fusion"));
    if (!base)
        return false;
    base->setObjectName(QLatin1String(SStyleName));
    app.setStyle(base);

    QPalette p;
    const QColor face(0xDC, 0xEB, 0xD8);
    p.setColor(QPalette::Window, face);
    p.setColor(QPalette::Button, face);
    p.setColor(QPalette::Base, QColor(0xFA, 0xFD, 0xF7));
    p.setColor(QPalette::AlternateBase, QColor(0xEE, 0xF6, 0xEA));
    p.setColor(QPalette::WindowText, QColor(0x1E, 0x33, 0x1E));
    p.setColor(QPalette::Text, QColor(0x1E, 0x33, 0x1E));
    p.setColor(QPalette::ButtonText, QColor(0x1E, 0x33, 0x1E));
    p.setColor(QPalette::Highlight, QColor(0x5E, 0xA8, 0x4E));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0xF4, 0xFB, 0xE8));
    p.setColor(QPalette::ToolTipText, QColor(0x1E, 0x33, 0x1E));
    p.setColor(QPalette::Light, QColor(0xF4, 0xFA, 0xF2));
    p.setColor(QPalette::Mid, QColor(0xA9, 0xC4, 0xA2));
    p.setColor(QPalette::Dark, QColor(0x7F, 0xA0, 0x78));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8A, 0x9A, 0x88));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8A, 0x9A, 0x88));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8A, 0x9A, 0x88));
    app.setPalette(p);

    app.setStyleSheet(QStringLiteral(
        "QToolButton, QPushButton { border: 1px solid #8fb487; border-radius: 4px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f2faef, stop:1 #cfe5c8); }"
        "QToolButton:hover, QPushButton:hover { background: #e4f4de; }"
        "QToolButton:pressed, QPushButton:pressed { background: #b9d8b0; }"
        "QToolButton:disabled, QPushButton:disabled { color: #8a9a88; background: #e6ede4; }"
        // The keyboard's place must show on every control that takes it: the border above
        // hides the base style's focus frame, so it is drawn here.
        "QToolButton:focus, QPushButton:focus { border: 2px solid #2f6f25; }"
        "QTextEdit:focus, QPlainTextEdit:focus, QLineEdit:focus { border: 2px solid #5ea84e; }"
        "QCheckBox:focus { border: 1px dotted #2f6f25; }"
        "QTabBar::tab:selected { background: #cfe5c8; }"));
    app.setProperty("zcStyleName", QLatin1String(SStyleName));
    return true;
}

} // namespace zc
