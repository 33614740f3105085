// SPDX-License-Identifier: MIT
// Rotary menu demo: shows the widget, or prints its geometry, a hit test or one frame.
#include <appring.h>
#include <rotarymenu/rotarymenugeometry.h>
#include <rotarymenu/rotarymenuitems.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QMetaEnum>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <QElapsedTimer>
#include <QThread>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

template <typename Enum> bool parseEnum(const QString &text, const char *prefix, Enum &out)
{
    const QMetaEnum meta = QMetaEnum::fromType<Enum>();
    for (int i = 0; i < meta.keyCount(); ++i) {
        const QString key = QString::fromLatin1(meta.key(i));
        if (key.compare(text, Qt::CaseInsensitive) == 0 ||
            key.compare(QLatin1String(prefix) + text, Qt::CaseInsensitive) == 0) {
            out = Enum(meta.value(i));
            return true;
        }
    }
    return false;
}

// Paint cost of one frame against a plain fill of the same image, and the colour test's
// spin-in (73 frames with 10 ms pauses) against the pauses alone.
void measure(TRotaryMenu &menu, QTextStream &out)
{
    QImage frame(menu.size(), QImage::Format_ARGB32_Premultiplied);
    const int rounds = 200;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < rounds; ++i) {
        frame.fill(Qt::white);
    }
    const double plain = double(clock.nsecsElapsed()) / rounds;
    clock.restart();
    for (int i = 0; i < rounds; ++i) {
        menu.render(&frame);
    }
    const double paint = double(clock.nsecsElapsed()) / rounds;

    auto spin = [&](bool draw) {
        QElapsedTimer t;
        t.start();
        for (int angle = 360; angle >= 0; angle -= 5) {
            if (draw) {
                menu.SetStartAngle(angle);
            }
            QThread::msleep(10);
            if (draw) {
                menu.render(&frame);
            }
        }
        return double(t.nsecsElapsed());
    };
    const double pauses = spin(false);
    const double spinIn = spin(true);
    out << "paint " << QString::number(paint / 1e6, 'f', 3) << " ms, plain fill "
        << QString::number(plain / 1e6, 'f', 3) << " ms, ratio "
        << QString::number(paint / plain, 'f', 1) << "\n";
    out << "spin-in " << QString::number(spinIn / 1e6, 'f', 1) << " ms, pauses "
        << QString::number(pauses / 1e6, 'f', 1) << " ms, ratio "
        << QString::number(spinIn / pauses, 'f', 3) << "\n";
}

int fail(const QString &message)
{
    std::fprintf(stderr, "rotarymenu-demo: %s\n", qPrintable(message));
    return 2;
}

QString rect2(const QRectF &r)
{
    return QStringLiteral("(%1,%2,%3,%4)")
        .arg(r.x(), 0, 'f', 2)
        .arg(r.y(), 0, 'f', 2)
        .arg(r.width(), 0, 'f', 2)
        .arg(r.height(), 0, 'f', 2);
}

/// The hit zones over a frame: the dead zone round the centre and the band beyond the ring
/// that sectors reach into, dashed.
void paintHitZones(QPainter &painter, const TRotaryMenu &menu)
{
    const zc::ring::TRotaryMenuGeometry g = menu.Geometry();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.setBrush(QColor(255, 0, 0, 60));
    const QPointF c = g.R.center();
    if (menu.DeadZoneRadius() > 0)
        painter.drawEllipse(c, menu.DeadZoneRadius(), menu.DeadZoneRadius());
    if (menu.SectorReach() > 0) {
        const int r = menu.SectorReach();
        QPainterPath band;
        band.addEllipse(g.R.adjusted(-r, -r, r, r));
        band.addEllipse(g.R);
        painter.setBrush(QColor(0, 0, 255, 40));
        painter.drawPath(band);
    }
}

/// Draws the hit zones over the menu it sits on, letting the mouse through.
class HitZonesOverlay : public QWidget
{
public:
    explicit HitZonesOverlay(TRotaryMenu &menu) : QWidget(&menu), FMenu(menu)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(menu.size());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        paintHitZones(painter, FMenu);
    }

private:
    TRotaryMenu &FMenu;
};

} // namespace

int main(int argc, char **argv)
{
    // QApplication takes --style for its widget style; hand ours over under another name.
    std::vector<QByteArray> renamed(argv, argv + argc);
    std::vector<char *> args;
    for (QByteArray &arg : renamed) {
        if (arg == "--style" || arg.startsWith("--style=")) {
            arg.replace(0, 7, "--menu-style");
        }
        args.push_back(arg.data());
    }
    args.push_back(nullptr);
    int count = argc;
    QApplication app(count, args.data());
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the rotary menu widget."));
    parser.addHelpOption();
    const QCommandLineOption preset(QStringLiteral("preset"),
                                    QStringLiteral("Configuration: \"app\" for the colour test."),
                                    QStringLiteral("name"));
    const QCommandLineOption noCaptions(QStringLiteral("no-captions"),
                                        QStringLiteral("Leave the app preset's captions empty."));
    const QCommandLineOption layout(QStringLiteral("layout"),
                                    QStringLiteral("donut, pie, horizontal or vertical."),
                                    QStringLiteral("layout"));
    const QCommandLineOption style({QStringLiteral("style"), QStringLiteral("menu-style")},
                                   QStringLiteral("A look, such as Office2007Luna."),
                                   QStringLiteral("name"));
    const QCommandLineOption items(QStringLiteral("items"), QStringLiteral("Number of items."),
                                   QStringLiteral("n"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Control size."),
                                  QStringLiteral("WxH"));
    const QCommandLineOption startAngle(QStringLiteral("start-angle"),
                                        QStringLiteral("Start angle in degrees."),
                                        QStringLiteral("a"));
    const QCommandLineOption stopAngle(QStringLiteral("stop-angle"),
                                       QStringLiteral("Stop angle in degrees."),
                                       QStringLiteral("b"));
    const QCommandLineOption dump(QStringLiteral("dump-geometry"),
                                  QStringLiteral("Print R, RI, the step and every item's box."));
    const QCommandLineOption hit(QStringLiteral("hit"),
                                 QStringLiteral("Print the item index at a point, or -1."),
                                 QStringLiteral("X,Y"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render one frame to a PNG file."),
                                        QStringLiteral("file"));
    const QCommandLineOption noShadow(QStringLiteral("no-shadow"),
                                      QStringLiteral("Switch the ring's shadow off."));
    const QCommandLineOption timing(QStringLiteral("measure"),
                                    QStringLiteral("Time a frame and the spin-in."));
    const QCommandLineOption keyNavigation(
        QStringLiteral("key-navigation"),
        QStringLiteral("Arrow keys: order (default), wrap or direction."), QStringLiteral("mode"));
    const QCommandLineOption digitKeys(QStringLiteral("digit-keys"),
                                       QStringLiteral("Keys 1-9 and 0 click items 1 to 10."));
    const QCommandLineOption wheel(QStringLiteral("wheel"),
                                   QStringLiteral("The mouse wheel moves the focus."));
    const QCommandLineOption deadZone(QStringLiteral("dead-zone"),
                                      QStringLiteral("Pixels round the centre that hit nothing."),
                                      QStringLiteral("radius"));
    const QCommandLineOption reach(
        QStringLiteral("reach"), QStringLiteral("Pixels beyond the ring that still hit a sector."),
        QStringLiteral("pixels"));
    const QCommandLineOption showHitZones(
        QStringLiteral("show-hit-zones"),
        QStringLiteral("Draw the dead zone and the reach band (window and --screenshot)."));
    parser.addOptions({preset, noCaptions, layout, style, items, size, startAngle, stopAngle, dump,
                       hit, screenshot, noShadow, timing, keyNavigation, digitKeys, wheel, deadZone,
                       reach, showHitZones});
    parser.process(app);

    TRotaryMenu menu;
    menu.setWindowTitle(QStringLiteral("Rotary menu"));
    if (parser.isSet(preset)) {
        if (parser.value(preset) != QLatin1String("app")) {
            return fail(QStringLiteral("unknown preset \"%1\"").arg(parser.value(preset)));
        }
        zc::ConfigureAppPreset(menu, !parser.isSet(noCaptions));
    } else {
        menu.SetDefaultStyle();
        for (int i = 0; i < 5; ++i) {
            menu.Items()->Add()->SetCaption(QStringLiteral("Item %1").arg(i + 1));
        }
        menu.Loaded();
    }
    menu.SetAnimation(false);
    if (parser.isSet(layout)) {
        TRotaryMenuLayout value;
        QString name = parser.value(layout);
        if (name.compare(QLatin1String("donut"), Qt::CaseInsensitive) == 0) {
            name = QStringLiteral("CircularDonut");
        } else if (name.compare(QLatin1String("pie"), Qt::CaseInsensitive) == 0) {
            name = QStringLiteral("CircularPie");
        }
        if (!parseEnum(name, "rml", value)) {
            return fail(QStringLiteral("unknown layout \"%1\"").arg(parser.value(layout)));
        }
        menu.SetLayout(value);
    }
    if (parser.isSet(style)) {
        TRotaryMenu::TComponentStyle value;
        if (!parseEnum(parser.value(style), "ts", value)) {
            return fail(QStringLiteral("unknown style \"%1\"").arg(parser.value(style)));
        }
        menu.SetComponentStyle(value);
    }
    if (parser.isSet(items)) {
        bool ok = false;
        const int n = parser.value(items).toInt(&ok);
        if (!ok || n < 0) {
            return fail(QStringLiteral("--items needs a count"));
        }
        while (menu.Items()->Count() > n) {
            menu.Items()->Delete(menu.Items()->Count() - 1);
        }
        while (menu.Items()->Count() < n) {
            const int i = menu.Items()->Count();
            menu.Items()->Add()->SetCaption(QStringLiteral("Item %1").arg(i + 1));
        }
    }
    if (parser.isSet(size)) {
        const QStringList wh = parser.value(size).split(QLatin1Char('x'));
        bool okW = false, okH = false;
        const int w = wh.value(0).toInt(&okW);
        const int h = wh.value(1).toInt(&okH);
        if (wh.size() != 2 || !okW || !okH || w <= 0 || h <= 0) {
            return fail(QStringLiteral("--size needs WxH"));
        }
        menu.resize(w, h);
    }
    for (const auto &[option, setter] : {std::pair{&startAngle, &TRotaryMenu::SetStartAngle},
                                         std::pair{&stopAngle, &TRotaryMenu::SetStopAngle}}) {
        if (parser.isSet(*option)) {
            bool ok = false;
            const double value = parser.value(*option).toDouble(&ok);
            if (!ok) {
                return fail(QStringLiteral("--%1 needs a number").arg(option->names().first()));
            }
            (menu.*setter)(value);
        }
    }
    if (parser.isSet(noShadow)) {
        menu.SetShadowColor(clNone);
    }
    if (parser.isSet(keyNavigation)) {
        const QString mode = parser.value(keyNavigation);
        if (mode == u"order")
            menu.SetKeyNavigation(TRotaryMenu::knItemOrder);
        else if (mode == u"wrap")
            menu.SetKeyNavigation(TRotaryMenu::knWrap);
        else if (mode == u"direction")
            menu.SetKeyNavigation(TRotaryMenu::knDirection);
        else
            return fail(QStringLiteral("unknown key navigation \"%1\"").arg(mode));
    }
    menu.SetDigitKeys(parser.isSet(digitKeys));
    menu.SetWheelStepsFocus(parser.isSet(wheel));
    for (const auto &[option, setter] : {std::pair{&deadZone, &TRotaryMenu::SetDeadZoneRadius},
                                         std::pair{&reach, &TRotaryMenu::SetSectorReach}}) {
        if (parser.isSet(*option)) {
            bool ok = false;
            const int pixels = parser.value(*option).toInt(&ok);
            if (!ok || pixels < 0)
                return fail(QStringLiteral("--%1 needs pixels").arg(option->names().first()));
            (menu.*setter)(pixels);
        }
    }
    menu.SetAnimation(true);

    QTextStream out(stdout);
    bool windowless = false;
    if (parser.isSet(dump)) {
        windowless = true;
        const zc::ring::TRotaryMenuGeometry g = menu.Geometry();
        out << "R=" << rect2(g.R) << " RI=" << rect2(g.RI)
            << " step=" << QString::number(g.st, 'f', 2) << "\n";
        for (int i = 0; i < g.count; ++i) {
            out << i << " box=" << rect2(g.itemBox(i))
                << " bounds=" << rect2(g.itemPath(i).boundingRect()) << "\n";
        }
    }
    if (parser.isSet(hit)) {
        windowless = true;
        const QStringList xy = parser.value(hit).split(QLatin1Char(','));
        bool okX = false, okY = false;
        const int x = xy.value(0).toInt(&okX);
        const int y = xy.value(1).toInt(&okY);
        if (xy.size() != 2 || !okX || !okY) {
            return fail(QStringLiteral("--hit needs X,Y"));
        }
        TRotaryMenuItem *item = menu.ItemAtXY(x, y);
        out << (item ? item->Index() : -1) << "\n";
    }
    if (parser.isSet(screenshot)) {
        windowless = true;
        QImage frame(menu.size(), QImage::Format_ARGB32_Premultiplied);
        menu.render(&frame);
        if (parser.isSet(showHitZones)) {
            QPainter painter(&frame);
            paintHitZones(painter, menu);
        }
        if (!frame.save(parser.value(screenshot), "PNG")) {
            return fail(QStringLiteral("cannot write \"%1\"").arg(parser.value(screenshot)));
        }
    }
    if (parser.isSet(timing)) {
        windowless = true;
        measure(menu, out);
    }
    out.flush();
    if (windowless) {
        return 0;
    }
    QObject::connect(&menu, &TRotaryMenu::OnMenuItemClick, [&menu](QObject *, int index) {
        std::printf("clicked %d (%s)\n", index, qPrintable(menu.Items()->Items(index)->Hint()));
        std::fflush(stdout);
    });
    if (parser.isSet(showHitZones))
        new HitZonesOverlay(menu);
    menu.show();
    return app.exec();
}
