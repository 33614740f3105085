// SPDX-License-Identifier: MIT
// Where the colour test's start goes: the program's own steps up to the ring's first
// frame, each timed once in a fresh process. The first argument is the wall-clock time
// (ns since the epoch) at which the caller started the process, which gives the time of
// loading the program and its libraries.
//   start-breakdown NS RUN-FOLDER   (RUN-FOLDER prepared as for the program, language set)
#include "apptheme.h"
#include "uzelvocolor.h"

#include <firebird/fbengine.h>
#include <remedystore.h>
#include <rotarymenu/rotarymenu.h>

#include <QApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Prints how long the step since the last mark took.
class Marks
{
public:
    explicit Marks(long long start) : FLast(start) {}
    void operator()(const char *step)
    {
        const long long now = nowNs();
        std::printf("%-44s %7.1f ms\n", step, double(now - FLast) / 1e6);
        FLast = now;
    }

private:
    long long FLast;
};

// Marks the step and stops the event loop right after the first paint of `ring` has been
// handled (the spin-in, when that paint is one of its frames, still runs to its end).
class FirstPaint : public QObject
{
public:
    FirstPaint(QObject *ring, Marks &mark) : FRing(ring), FMark(mark)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != FRing || event->type() != QEvent::Paint)
            return false;
        watched->event(event);
        FMark("show to the ring's first frame");
        qApp->removeEventFilter(this);
        QCoreApplication::exit(0);
        return true;
    }

private:
    QObject *FRing;
    Marks &FMark;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: start-breakdown START-NS RUN-FOLDER\n");
        return 2;
    }
    Marks mark(std::atoll(argv[1]));
    mark("exec and dynamic loading");
    QApplication app(argc, argv);
    mark("QApplication");
    zc::RegisterTahoma();
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    mark("Tahoma");
    zc::ApplyLightGreenStyle(app);
    mark("style");
    {
        // The first attach in a process loads the engine and looks for ICU.
        zc::RemedyStore probe;
        probe.SetDatabaseName(QString::fromLocal8Bit(argv[2]) + QStringLiteral("/data/ZColor.fdb"));
        probe.Open();
        mark("first database attach");
        probe.LoadLanguage(QStringLiteral("SPA"));
        mark("first statement");
    }
    mark("detach");
    auto window = std::make_unique<TFmColor>(QString::fromLocal8Bit(argv[2]));
    mark("main window (widgets, pictures, attach again)");
    FirstPaint paint(window->RM_ZColor, mark);
    window->show();
    window->activateWindow();
    app.exec();
    window.reset();
    zc::fb::ShutdownEngine();
    return 0;
}
