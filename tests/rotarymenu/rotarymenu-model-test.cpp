// SPDX-License-Identifier: MIT
// Rotary menu model: defaults copied into items, change notification, copying, looks.
#include <rotarymenu/rotarymenugeometry.h>
#include <rotarymenu/rotarymenuitems.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zc::ring;

namespace {

// Counts notifications of one signal.
template <typename Object, typename Signal> int *countSignal(Object *object, Signal signal)
{
    auto *count = new int(0);
    QObject::connect(object, signal, object, [count] { ++*count; });
    QObject::connect(object, &QObject::destroyed, [count] { delete count; });
    return count;
}

TEST(RotaryMenuModel, DefaultControlGeometry)
{
    TRotaryMenu menu;
    const TRotaryMenuGeometry g = menu.Geometry();
    EXPECT_EQ(g.R, QRectF(4, 4, 241, 241));
    EXPECT_EQ(g.RI, QRectF(54, 54, 141, 141));
    EXPECT_EQ(menu.StartAngle(), 100.0);
    EXPECT_EQ(menu.StopAngle(), 360.0);
    EXPECT_EQ(menu.DefaultFont().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(menu.focusPolicy(), Qt::StrongFocus);

    // A hidden control gets no resize event, yet its ring follows the new size at once.
    menu.resize(656, 658);
    menu.SetShadowOffset(0);
    menu.SetSize(150);
    EXPECT_EQ(menu.Geometry().R, QRectF(0, 0, 655, 657));
    EXPECT_EQ(menu.Geometry().RI, QRectF(150, 150, 355, 357));
}

TEST(RotaryMenuModel, SettersNotifyOnlyOnChange)
{
    TRotaryMenu menu;
    int *size = countSignal(&menu, &TRotaryMenu::SizeChanged);
    menu.SetSize(50);
    EXPECT_EQ(*size, 0);
    menu.SetSize(150);
    menu.SetSize(150);
    EXPECT_EQ(*size, 1);

    int *offset = countSignal(&menu, &TRotaryMenu::ShadowOffsetChanged);
    menu.SetShadowOffset(-3); // stored as 0
    menu.SetShadowOffset(0);
    EXPECT_EQ(menu.ShadowOffset(), 0);
    EXPECT_EQ(*offset, 1);

    int *layout = countSignal(&menu, &TRotaryMenu::LayoutChanged);
    menu.SetLayout(TRotaryMenu::rmlCircularDonut);
    menu.setProperty("Layout", QVariant::fromValue(TRotaryMenu::rmlVertical));
    EXPECT_EQ(menu.Layout(), TRotaryMenu::rmlVertical);
    EXPECT_EQ(*layout, 1);

    TRotaryMenuItem *item = menu.Items()->Add();
    int *itemChanges = countSignal(item, &TRotaryMenuItem::OnChange);
    item->SetCaption(QStringLiteral("A"));
    item->SetCaption(QStringLiteral("A"));
    item->SetFill(item->Fill()); // copying onto itself changes nothing
    item->Fill()->SetColor(item->Fill()->Color());
    EXPECT_EQ(*itemChanges, 1);
    item->Fill()->SetColor(0x123456); // an owned fill's change is the item's change
    EXPECT_EQ(*itemChanges, 2);
}

TEST(RotaryMenuModel, ChangesRequestRepaints)
{
    TRotaryMenu menu;
    int repaints = 0;
    menu.SetChangeHook([&repaints] { ++repaints; });
    for (int i = 0; i < 10; ++i) {
        menu.Items()->Add();
    }
    EXPECT_GE(repaints, 10);
    repaints = 0;
    menu.Items()->Clear();
    EXPECT_EQ(menu.Items()->Count(), 0);
    EXPECT_GE(repaints, 10);

    repaints = 0;
    menu.SetShowFocus(false); // shows at the next repaint, asks for none
    EXPECT_EQ(repaints, 0);
    menu.DefaultFill()->SetColorTo(0x00FF00);
    EXPECT_EQ(repaints, 1);
}

TEST(RotaryMenuModel, NewItemsTakeTheDefaultsOfTheirTime)
{
    TRotaryMenu menu;
    TRotaryMenuItem *before = menu.Items()->Add();
    menu.DefaultFill()->SetColor(0x00CCFFCC);
    QFont font(QStringLiteral("Tahoma"), 9);
    font.setBold(true);
    menu.SetDefaultFont(font);
    TRotaryMenuItem *after = menu.Items()->Add();
    EXPECT_EQ(before->Fill()->Color(), 0xC0C0C0);
    EXPECT_EQ(after->Fill()->Color(), 0x00CCFFCC);
    EXPECT_EQ(after->Font(), font);
    EXPECT_NE(before->Font(), font);

    // Setting a default copies: later changes to the source stay out.
    TGradientFill other;
    other.SetColor(0x111111);
    menu.SetDefaultHoverFill(&other);
    other.SetColor(0x222222);
    EXPECT_EQ(menu.DefaultHoverFill()->Color(), 0x111111);
    EXPECT_EQ(menu.Items()->Add()->HoverFill()->Color(), 0x111111);
}

TEST(RotaryMenuModel, CollectionOperations)
{
    TRotaryMenu menu;
    for (int i = 0; i < 4; ++i) {
        menu.Items()->Add()->SetTag(i);
    }
    TRotaryMenuItem *inserted = menu.Items()->Insert(1);
    EXPECT_EQ(inserted->Index(), 1);
    EXPECT_EQ(menu.Items()->Items(2)->Tag(), 1);

    TRotaryMenuItem *last = menu.Items()->Items(4);
    last->SetIndex(0); // moves the item
    EXPECT_EQ(menu.Items()->Items(0), last);
    EXPECT_EQ(inserted->Index(), 2);
    last->SetIndex(99);
    EXPECT_EQ(last->Index(), 4);

    menu.Items()->Delete(7); // out of range: nothing
    menu.Items()->Delete(4);
    EXPECT_EQ(menu.Items()->Count(), 4);
    EXPECT_EQ(menu.Items()->Items(4), nullptr);

    // Item angles divide the current sweep evenly.
    menu.SetAnimation(false);
    menu.SetStartAngle(0);
    EXPECT_DOUBLE_EQ(menu.Items()->Items(1)->StartAngle(), 90);
    EXPECT_DOUBLE_EQ(menu.Items()->Items(1)->StopAngle(), 180);
}

TEST(RotaryMenuModel, ItemAssignCopiesAllButStateAndData)
{
    TRotaryMenu menu;
    TRotaryMenuItem *a = menu.Items()->Add();
    TRotaryMenuItem *b = menu.Items()->Add();
    a->SetCaption(QStringLiteral("&Ruby"));
    a->SetHint(QStringLiteral("RUBY"));
    a->SetToggle(true);
    a->SetDown(true);
    a->SetTag(7);
    a->SetDataInteger(3);
    a->SetReadOnly(true);
    a->SetShortCut(Qt::Key_R);
    a->SetImageLocation(TRotaryMenu::clCustom);
    a->DownFill()->SetColor(0x0083C1);
    menu.Items()->SetItems(1, a); // writing an entry copies into it
    EXPECT_EQ(b->Caption(), QStringLiteral("&Ruby"));
    EXPECT_EQ(b->Hint(), QStringLiteral("RUBY"));
    EXPECT_TRUE(b->Toggle());
    EXPECT_TRUE(b->ReadOnly());
    EXPECT_EQ(b->ShortCut(), int(Qt::Key_R));
    EXPECT_EQ(b->ImageLocation(), TRotaryMenu::clCustom);
    EXPECT_EQ(b->DownFill()->Color(), 0x0083C1);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(b->Tag(), 0);
    EXPECT_EQ(b->DataInteger(), 0);
    b->Assign(&menu); // not an item: ignored
    EXPECT_EQ(b->Caption(), QStringLiteral("&Ruby"));
}

TEST(RotaryMenuModel, MenuAssignCopiesAppearanceAndItems)
{
    TRotaryMenu source;
    source.SetAnimation(false);
    source.SetStartAngle(0);
    source.SetSize(150);
    source.SetShadowOpacity(80);
    source.SetLayout(TRotaryMenu::rmlCircularPie);
    source.DefaultDownFill()->SetColor(0x59C9FF);
    source.Items()->Add()->SetHint(QStringLiteral("DIAMOND"));
    source.Items()->Add()->SetHint(QStringLiteral("EMERALD"));

    TRotaryMenu copy;
    copy.Items()->Add();
    copy.Assign(&source);
    EXPECT_FALSE(copy.Animation());
    EXPECT_EQ(copy.StartAngle(), 0);
    EXPECT_EQ(copy.Size(), 150);
    EXPECT_EQ(copy.ShadowOpacity(), 80);
    EXPECT_EQ(copy.Layout(), TRotaryMenu::rmlCircularPie);
    EXPECT_EQ(copy.DefaultDownFill()->Color(), 0x59C9FF);
    ASSERT_EQ(copy.Items()->Count(), 2);
    EXPECT_EQ(copy.Items()->Items(1)->Hint(), QStringLiteral("EMERALD"));
    EXPECT_NE(copy.Items()->Items(1), source.Items()->Items(1));
}

TEST(RotaryMenuModel, LoadedFocusesTheFirstItem)
{
    TRotaryMenu menu;
    menu.Loaded();
    EXPECT_EQ(menu.FocusedItem(), nullptr);
    for (int i = 0; i < 10; ++i) {
        menu.Items()->Add();
    }
    menu.Loaded();
    EXPECT_EQ(menu.FocusedItem(), menu.Items()->Items(0));
    EXPECT_EQ(menu.HoveredItem(), nullptr);
    EXPECT_EQ(menu.DownItem(), nullptr);
}

TEST(RotaryMenuModel, UpdateBracketMakesAngleChangesJump)
{
    TRotaryMenu menu;
    int repaints = 0;
    menu.SetChangeHook([&repaints] { ++repaints; });
    menu.BeginUpdate();
    menu.SetStartAngle(0);
    EXPECT_EQ(menu.StartAngle(), 0);
    EXPECT_FALSE(menu.IsAnimating());
    repaints = 0;
    menu.EndUpdate();
    EXPECT_EQ(repaints, 1);
    menu.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(repaints, 1);
}

TEST(RotaryMenuModel, AnglesThatCanNeverBeReachedAreRefused)
{
    TRotaryMenu menu;
    menu.SetStartAngle(std::nan(""));
    menu.SetStopAngle(std::numeric_limits<double>::infinity());
    EXPECT_FALSE(menu.IsAnimating());
    EXPECT_EQ(menu.StartAngle(), 100.0);
    EXPECT_EQ(menu.StopAngle(), 360.0);
}

TEST(RotaryMenuModel, DefaultStyle)
{
    TRotaryMenu menu;
    TRotaryMenuItem *item = menu.Items()->Add();
    menu.SetDefaultStyle();
    EXPECT_EQ(menu.DefaultFill()->Color(), 0xFFFFFF);
    EXPECT_EQ(menu.DefaultFill()->ColorTo(), 0xC0C0C0);
    EXPECT_EQ(menu.DefaultHoverFill()->ColorTo(), 16772031);
    EXPECT_EQ(menu.DefaultHoverFill()->BorderColor(), 0x808080);
    EXPECT_EQ(menu.DefaultDownFill()->Color(), 16763225);
    EXPECT_EQ(menu.DefaultDownFill()->ColorTo(), 12681984);
    EXPECT_EQ(item->DownFill()->ColorTo(), 12681984);
}

TEST(RotaryMenuModel, ComponentStyles)
{
    TRotaryMenu menu;
    menu.SetComponentStyle(TRotaryMenu::tsOffice2003Blue); // no items: only the defaults
    EXPECT_EQ(menu.DefaultFill()->Color(), 0xD68759);
    EXPECT_EQ(menu.DefaultHoverFill()->Color(), 0xEBFDFF);
    EXPECT_EQ(menu.DefaultHoverFill()->BorderColor(), 0x962D00); // inherited
    EXPECT_EQ(menu.DefaultDownFill()->ColorTo(), 0x1595EE);

    TRotaryMenuItem *item = menu.Items()->Add();
    item->Fill()->SetColor(0x0000FF);
    item->DisabledFill()->SetColor(0x00FF00);
    QFont own(QStringLiteral("Tahoma"), 20);
    item->SetFont(own);
    const TColor disabledBefore = menu.DefaultDisabledFill()->Color();

    // Custom leaves the defaults alone and still overwrites every item.
    menu.SetComponentStyle(TRotaryMenu::tsCustom);
    EXPECT_EQ(menu.DefaultFill()->Color(), 0xD68759);
    EXPECT_EQ(item->Fill()->Color(), 0xD68759);
    EXPECT_EQ(item->DisabledFill()->Color(), disabledBefore);
    EXPECT_EQ(item->Font(), menu.DefaultFont());

    menu.SetComponentStyle(TRotaryMenu::tsWindowsXP);
    EXPECT_EQ(menu.DefaultFill()->Color(), clSystemColor | 15);
    EXPECT_EQ(menu.DefaultDownFill()->Color(), clSystemColor | 3);
    EXPECT_EQ(menu.DefaultDisabledFill()->Color(), disabledBefore); // never changed

    item->Fill()->SetColor(0x0000FF);
    menu.SetComponentStyle(TRotaryMenu::TComponentStyle(25)); // beyond the last: as custom
    EXPECT_EQ(menu.DefaultFill()->Color(), clSystemColor | 15);
    EXPECT_EQ(item->Fill()->Color(), clSystemColor | 15);

    menu.SetComponentStyle(TRotaryMenu::tsOffice2013Gray);
    EXPECT_EQ(item->HoverFill()->Color(), 0xFCF0E4);
    EXPECT_EQ(item->HoverFill()->BorderColor(), 0xABABAB);
}

TEST(RotaryMenuModel, ReferencedStoresAreForgottenWhenDestroyed)
{
    TRotaryMenu menu;
    auto *container = new TPictureContainer;
    auto *list = new TImageList;
    menu.SetPictureContainer(container);
    menu.SetImageList(list);
    delete container;
    delete list;
    EXPECT_EQ(menu.PictureContainer(), nullptr);
    EXPECT_EQ(menu.ImageList(), nullptr);
}

} // namespace
