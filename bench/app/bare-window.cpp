// SPDX-License-Identifier: MIT
// A bare Qt window of the main window's size: the baseline of the program start figures.
// With --edit-box it holds an active, focused edit box like the colour test's name box,
// whose caret blinks: the baseline of the idle wake-ups.
#include <QApplication>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    window.setFixedSize(656, 698);
    if (QApplication::arguments().contains(QStringLiteral("--edit-box"))) {
        auto *edit = new QLineEdit(&window);
        edit->setGeometry(176, 7, 220, 27);
        edit->setFocus();
    }
    window.show();
    window.activateWindow();
    return QApplication::exec();
}
