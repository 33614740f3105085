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
    // QMessageBox sizes itself to its layout's least width whenever it lays itself out;
    // a spacer across the layout's columns makes that least width the title's.
    if (auto *grid = qobject_cast<QGridLayout *>(layout())) {
        const QMargins margins = grid->contentsMargins();
        grid->addItem(new QSpacerItem(WidthForTitle(title) - margins.left() - margins.right(), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
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
    // QMessageBox fixes its size here, before the window is mapped.
    QMessageBox::showEvent(event);
    const QWidget *owner = parentWidget();
    const bool overOwner =
        FPlacement == Placement::OverOwner && owner && owner->window()->isVisible();
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = overOwner ? owner->window()->geometry() : screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

} // namespace zc
