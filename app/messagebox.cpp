// SPDX-License-Identifier: MIT
// Message boxes sized for their title and placed as asked.
#include "messagebox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QScreen>

namespace zc {

namespace {

// A title bar's icon, its three buttons and its margins, at 96 dots per inch; title bar
// fonts are usually a point or two larger than the interface font, and bold.
constexpr int titleBarExtras = 150;

} // namespace

MessageBox::MessageBox(Icon icon, const QString &title, const QString &text,
                       StandardButtons buttons, QWidget *owner, Placement placement)
    : QMessageBox(icon, title, text, buttons, owner), FPlacement(placement)
{
}

int MessageBox::WidthForTitle(const QString &title)
{
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() + 2);
    return QFontMetrics(font).horizontalAdvance(title) + titleBarExtras;
}

void MessageBox::showEvent(QShowEvent *event)
{
    // QMessageBox sizes itself to its layout's least width when it is shown (it builds the
    // layout anew when texts are set, so only now is it final): a spacer across the
    // layout's columns makes that least width the title's.
    auto *grid = qobject_cast<QGridLayout *>(layout());
    if (grid && !grid->property("zcTitleWidth").isValid()) {
        const QMargins margins = grid->contentsMargins();
        grid->addItem(
            new QSpacerItem(WidthForTitle(windowTitle()) - margins.left() - margins.right(), 0,
                            QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(), 0, 1, grid->columnCount());
        grid->setProperty("zcTitleWidth", true);
    }
    QMessageBox::showEvent(event);
    const QWidget *owner = parentWidget();
    const bool overOwner =
        FPlacement == Placement::OverOwner && owner && owner->window()->isVisible();
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = overOwner ? owner->window()->geometry() : screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

} // namespace zc
