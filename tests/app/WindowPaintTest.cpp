// What reaches the screen when values change faster than the window redraws: the
// window paints at most once a tick, each needle repaints only the ground it sweeps,
// and the dial faces are painted once and kept until the zoom or the unit changes.
// The screen is read back from the window's backing store (QScreen::grabWindow).
#include "WindowRig.h"

#include "dashboard/qt/PictureWidget.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QScreen>

#include <gtest/gtest.h>

#include <cmath>

using namespace vcm;
using namespace vcm::test;

namespace {

// Brightness on screen of the point (twips) of the dial panel, as painted into the
// window's backing store.
int brightnessAt(WindowRig& rig, QPointF twips)
{
    QWidget* dials = rig.view().widget({"CadransPic"});
    const QPoint at = dials->mapTo(&rig.form(), (twips / 15).toPoint());
    return qGray(rig.form().screen()->grabWindow(rig.form().winId()).toImage().pixel(at));
}

QPointF rpmNeedleMiddle(WindowRig& rig)
{
    const Line l = rig.view().line({"AiguilleRpm"});
    return {(l.x1 + l.x2) / 2, (l.y1 + l.y2) / 2};
}

TEST(WindowPainting, TheScreenShowsEachNeedleWhereItsLastValuePutsIt)
{
    WindowRig rig;
    // Engine speed 1600 rpm, then a burst of frames ending at 4800 rpm: the needle is
    // drawn at 4800 and nothing is left where it stood.
    rig.feed("3C8 00 00 32\r\n");
    rig.tick();
    const QPointF before = rpmNeedleMiddle(rig);
    ASSERT_TRUE(runUntil([&] { return brightnessAt(rig, before) > 150; }));
    for (int b = 0x33; b <= 0x96; ++b)
        rig.feed("3C8 00 00 " + QString::number(b, 16).toUpper().toStdString() + "\r\n");
    EXPECT_EQ(rig.text("RpmValue"), "4800");
    const QPointF after = rpmNeedleMiddle(rig);
    ASSERT_TRUE(runUntil([&] { return brightnessAt(rig, after) > 150; }));
    EXPECT_LT(brightnessAt(rig, before), 100);
}

TEST(WindowPainting, DialFacesArePaintedAgainOnlyForZoomAndUnits)
{
    WindowRig rig;
    auto* face = rig.form().findChild<PictureWidget*>(QStringLiteral("CadransBmp"));
    ASSERT_NE(face, nullptr);
    const auto moveNeedles = [&] {
        for (int i = 0; i < 20; ++i) {
            rig.feed("3C8 00 00 " + QString::number(0x30 + i, 16).toUpper().toStdString() + "\r\n");
            rig.feed("03B 0F 9C 00 D2\r\n");
            rig.tick();
            rig.grab("CadransPic");
        }
    };
    rig.grab("CadransPic");
    const int painted = face->picturePaints();
    moveNeedles();
    EXPECT_EQ(face->picturePaints(), painted);

    rig.pressKey(Qt::Key_Delete);
    rig.pressKey(Qt::Key_Delete); // layout C: zoomed dials, a face of the new size
    rig.grab("CadransPic");
    const int zoomed = face->picturePaints();
    EXPECT_GT(zoomed, painted);
    moveNeedles();
    EXPECT_EQ(face->picturePaints(), zoomed);

    rig.click("Command1", 1); // units change while stopped
    rig.form().findChild<QAction*>(QStringLiteral("m_Fahrenheit"))->trigger();
    rig.grab("CadransPic");
    EXPECT_EQ(face->picturePaints(), zoomed + 1);
}

} // namespace
