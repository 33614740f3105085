// SPDX-License-Identifier: MIT
// Start to the ring's first painted frame and a sector click to the result window shown,
// on the product database with the language already chosen; bare Qt windows as baselines.
#include "apptheme.h"
#include "udescrpsiche.h"
#include "uzelvocolor.h"

#include <firebird/fbengine.h>
#include <rotarymenu/rotarymenu.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

// A run folder like the user's: the product database and a stored language (Spanish).
class RunFolder
{
public:
    RunFolder()
    {
        QFile::copy(QStringLiteral(ZC_BINARY_DIR "/assets/ZColor.fdb"),
                    FDir.filePath(QStringLiteral("ZColor.fdb")));
        QFile ini(FDir.filePath(QStringLiteral("ZColor.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Install]\nChekLNG=3\nDirData=" + FDir.path().toUtf8() +
                      "\nFileGdb=ZColor.fdb\nDirReport=" + FDir.path().toUtf8() + "\n");
    }
    QString Path() const { return FDir.path(); }

private:
    QTemporaryDir FDir;
};

// Calls `done` right after the first paint event of a widget `matches` accepts has been
// handled, so the time taken includes painting the frame.
class FirstPaint : public QObject
{
public:
    FirstPaint(std::function<bool(QObject *)> matches, std::function<void(QObject *)> done)
        : FMatches(std::move(matches)), FDone(std::move(done))
    {
        qApp->installEventFilter(this);
    }
    bool Seen() const { return FSeen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (FSeen || event->type() != QEvent::Paint || !FMatches(watched))
            return false;
        FSeen = true;
        watched->event(event);
        FDone(watched);
        return true;
    }

private:
    std::function<bool(QObject *)> FMatches;
    std::function<void(QObject *)> FDone;
    bool FSeen = false;
};

void waitFor(const FirstPaint &paint)
{
    QElapsedTimer limit;
    limit.start();
    while (!paint.Seen() && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void bareWindowToFirstFrame(benchmark::State &state)
{
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        qint64 ns = 0;
        auto window = std::make_unique<QWidget>();
        window->setFixedSize(656, 698);
        FirstPaint paint([&](QObject *o) { return o == window.get(); },
                         [&](QObject *) { ns = timer.nsecsElapsed(); });
        window->show();
        waitFor(paint);
        state.SetIterationTime(double(ns) / 1e9);
    }
}
BENCHMARK(bareWindowToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Creation reads ZColor.ini and attaches the embedded engine; the first frame of the
// ring comes from showing or from the spin-in of the activation, whichever is first.
void colourTestToFirstFrame(benchmark::State &state)
{
    RunFolder run;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        qint64 ns = 0;
        QPointer<TRotaryMenu> ring;
        FirstPaint paint([&](QObject *o) { return ring && o == ring.data(); },
                         [&](QObject *) { ns = timer.nsecsElapsed(); });
        auto window = std::make_unique<TFmColor>(run.Path());
        ring = window->RM_ZColor;
        window->show();
        window->activateWindow();
        waitFor(paint);
        state.SetIterationTime(double(ns) / 1e9);
        if (!paint.Seen())
            state.SkipWithError("the ring was never painted");
    }
}
BENCHMARK(colourTestToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void buttonToBareDialogShown(benchmark::State &state)
{
    QPushButton button(QStringLiteral("Open"));
    button.show();
    QTest::qWaitForWindowExposed(&button);
    QElapsedTimer timer;
    qint64 ns = 0;
    QObject::connect(&button, &QPushButton::clicked, [] {
        QDialog dialog;
        dialog.setFixedSize(654, 618);
        dialog.exec();
    });
    for (auto _ : state) {
        FirstPaint paint([](QObject *o) { return qobject_cast<QDialog *>(o) != nullptr; },
                         [&](QObject *o) {
                             ns = timer.nsecsElapsed();
                             QTimer::singleShot(0, static_cast<QDialog *>(o), &QDialog::reject);
                         });
        timer.start();
        QTest::mouseClick(&button, Qt::LeftButton);
        state.SetIterationTime(double(ns) / 1e9);
        QTest::qWait(50);
    }
}
BENCHMARK(buttonToBareDialogShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The EMERALD item's box centre: item 3 of ten on a full ring turned to 0 degrees.
QPoint emeraldCentre(const TRotaryMenu &ring)
{
    const double a = (3 * 36 + 18) * M_PI / 180;
    const double rx = ring.width() / 2.0 - 75, ry = ring.height() / 2.0 - 75;
    return QPoint(int(ring.width() / 2.0 + std::cos(a) * rx),
                  int(ring.height() / 2.0 + std::sin(a) * ry));
}

// The click looks the gem up in the database, fills the view from its RTF and shows the
// window; closing it and the spin-in of the return to the main window are not timed.
void sectorClickToResultShown(benchmark::State &state)
{
    RunFolder run;
    TFmColor window(run.Path());
    window.show();
    window.activateWindow();
    QTest::qWaitForWindowActive(&window);
    QTest::qWait(200);
    const QPoint at = emeraldCentre(*window.RM_ZColor);
    QElapsedTimer timer;
    qint64 ns = 0;
    for (auto _ : state) {
        FirstPaint paint([](QObject *o) { return qobject_cast<TFmEsito *>(o) != nullptr; },
                         [&](QObject *o) {
                             ns = timer.nsecsElapsed();
                             QTimer::singleShot(0, static_cast<QDialog *>(o), &QDialog::reject);
                         });
        QTest::mouseMove(window.RM_ZColor, at);
        timer.start();
        QTest::mouseClick(window.RM_ZColor, Qt::LeftButton, {}, at);
        if (!paint.Seen()) {
            state.SkipWithError("the click showed no result window");
            break;
        }
        state.SetIterationTime(double(ns) / 1e9);
        // The return to the main window spins the ring in again, outside the timing.
        QTest::qWait(50);
    }
}
BENCHMARK(sectorClickToResultShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    zc::RegisterTahoma();
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    zc::ApplyLightGreenStyle(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    zc::fb::ShutdownEngine();
    return 0;
}
