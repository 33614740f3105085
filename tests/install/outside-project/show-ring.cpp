// SPDX-License-Identifier: MIT
// Shows a rotary menu of three items and prints the caption of the item under a point.
#include <rotarymenu/rotarymenu.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TRotaryMenu menu;
    menu.resize(300, 300);
    for (const char *caption : {"North", "South-east", "South-west"})
        menu.Items()->Add()->SetCaption(QString::fromLatin1(caption));
    menu.SetAnimation(false);
    menu.show();
    QImage frame(menu.size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::white);
    menu.render(&frame);
    int painted = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            painted += frame.pixel(x, y) != qRgb(255, 255, 255);
    std::printf("%d items, %d pixels painted\n", menu.Items()->Count(), painted);
    return menu.Items()->Count() == 3 && painted > 1000 ? 0 : 1;
}
