// SPDX-License-Identifier: MIT
// The program's message boxes: owned by the window they speak for, wide enough for their title.
#pragma once

#include <QMessageBox>

namespace zc {

/// A QMessageBox that keeps its whole title readable in the title bar and can stand in
/// the middle of the screen while its owner stays the window it speaks for (so it is
/// modal over that window and goes when that window goes).
class MessageBox : public QMessageBox
{
public:
    enum class Placement
    {
        OverOwner,
        ScreenCentre,
    };

    MessageBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons,
               QWidget *owner, Placement placement = Placement::OverOwner);

    /// The least width that shows `title` whole in a window manager's title bar, with
    /// room for its icon and buttons.
    static int WidthForTitle(const QString &title);

protected:
    void showEvent(QShowEvent *event) override;

private:
    Placement FPlacement;
};

} // namespace zc
