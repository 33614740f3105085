// SPDX-License-Identifier: MIT
// Rotary menu widget: the animation timer and the popup open/close transitions.
#include "widget/rotarymenu_p.h"

#include <QTimerEvent>

using namespace zc::ring;

bool TRotaryMenu::IsAnimating() const
{
    return d->anim.animate;
}

void TRotaryMenu::Animate()
{
    if (d->anim.step(d->animation, d->animationFactor)) {
        Changed();
    }
    if (!d->anim.busy(d->animation)) {
        d->timer.stop();
    }
}

void TRotaryMenu::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == d->timer.timerId()) {
        Animate();
        return;
    }
    QWidget::timerEvent(event);
}

namespace {

bool animatesAngle(const TRotaryMenuPrivate &d)
{
    return d.animationMode.testFlag(TRotaryMenu::amAngle) &&
           (d.layout == TRotaryMenu::rmlCircularDonut || d.layout == TRotaryMenu::rmlCircularPie);
}

bool animatesSize(const TRotaryMenuPrivate &d)
{
    return d.animationMode.testFlag(TRotaryMenu::amSize);
}

} // namespace

void TRotaryMenu::StartInAnimation()
{
    d->syncSize();
    const bool angle = animatesAngle(*d);
    const bool size = animatesSize(*d);
    if (angle && d->saveStopAngle == -1.0) {
        d->saveStopAngle = StopAngle();
    }
    if (size && d->saveW == -1.0) {
        d->saveW = d->anim.width.current;
    }
    if (size && d->saveH == -1.0) {
        d->saveH = d->anim.height.current;
    }
    const bool animation = d->animation;
    d->animation = false;
    // Collapse at once, then head back to the saved shape.
    if (angle) {
        SetStopAngle(StartAngle());
    }
    if (size) {
        d->setAnimated(d->anim.width, 0);
        d->setAnimated(d->anim.height, 0);
    }
    if (d->animationType == atInOut || d->animationType == atIn) {
        d->animation = animation;
    }
    d->anim.blockAnimate = true;
    if (angle) {
        SetStopAngle(d->saveStopAngle);
    }
    if (size) {
        d->setAnimated(d->anim.width, d->saveW);
        d->setAnimated(d->anim.height, d->saveH);
    }
    d->anim.blockAnimate = false;
    if (d->updateCount == 0) {
        d->anim.animate = true;
    }
    if (d->animationType == atOut) {
        d->animation = animation;
    }
    d->wakeTimer();
}

void TRotaryMenu::StartOutAnimation()
{
    d->syncSize();
    const bool angle = animatesAngle(*d);
    const bool size = animatesSize(*d);
    const bool animation = d->animation;
    d->animation = false;
    d->anim.blockAnimate = true;
    if (angle) {
        // Closing a menu that was never opened keeps its own stop angle instead of -1.
        SetStopAngle(d->saveStopAngle == -1.0 ? StopAngle() : d->saveStopAngle);
    }
    if (size) {
        d->setAnimated(d->anim.width, width());
        d->setAnimated(d->anim.height, height());
    }
    if (d->animationType == atInOut || d->animationType == atOut) {
        d->animation = animation;
    }
    if (angle) {
        SetStopAngle(StartAngle());
    }
    if (size) {
        d->setAnimated(d->anim.width, 0);
        d->setAnimated(d->anim.height, 0);
    }
    d->anim.blockAnimate = false;
    if (d->updateCount == 0) {
        d->anim.animate = true;
    }
    if (d->animationType == atIn) {
        d->animation = animation;
    }
    d->wakeTimer();
}
