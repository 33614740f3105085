// SPDX-License-Identifier: MIT
// A bare Qt window of the main window's size: the baseline of the program start figures.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    window.setFixedSize(656, 698);
    window.show();
    return QApplication::exec();
}
