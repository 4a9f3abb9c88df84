#include "ui/SeekControlHelper.h"
#include "ui/SeekbarSliderCtrl.h"
#include "tests/ui/QtTestEnvironment.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <vector>

namespace sonavel::test {
namespace {

TEST(SeekChannelTest, FollowsTheGrooveAndCollapsesWhenDegenerate)
{
    const struct {
        ViewRect groove;
        ViewRect margins;
        ViewRect channel;
    } cases[] = {
        // The view's groove and margins: the channel spans the groove seen from the window's left edge.
        {{212, 127, 488, 157}, {0, 11, 0, 10}, {33, 13, 309, 22}},
        // A negative edge clears all four.
        {{212, 127, 488, 157}, {-40, 11, 0, 10}, {0, 0, 0, 0}},
        // Right left of left, bottom above top: that pair becomes 0.
        {{212, 127, 230, 137}, {30, 0, 0, 0}, {0, 2, 0, 12}},
        {{212, 127, 488, 137}, {0, 20, 0, 0}, {13, 0, 289, 0}},
    };
    for (const auto& c : cases) {
        const ViewRect channel = ComputeSeekChannel(c.groove, c.margins);
        EXPECT_EQ(channel.left, c.channel.left);
        EXPECT_EQ(channel.top, c.channel.top);
        EXPECT_EQ(channel.right, c.channel.right);
        EXPECT_EQ(channel.bottom, c.channel.bottom);
    }
}

class Recorder : public ISeekControlEventListener, public ISeekbarSliderCtrlEventListener {
  public:
    void OnSeekTracking(int32_t, int32_t) override { ++tracking; }
    void OnSeekBegin(int32_t position) override { begins.push_back(position); }
    void OnSeekEnd(int32_t position) override { ends.push_back(position); }
    void OnThumbPressChanged(bool pressed) override { presses.push_back(pressed); }

    int tracking = 0;
    std::vector<int32_t> begins;
    std::vector<int32_t> ends;
    std::vector<bool> presses;
};

// The seek bar as the main view sets it up, with a 300-second track.
class SeekBarTest : public ::testing::Test {
  protected:
    SeekBarTest() : bar(&parent), helper(&recorder)
    {
        parent.resize(709, 567);
        bar.SetListener(&recorder);
        bar.SetGeometryRects(ViewRect{212, 127, 488, 157}, ViewRect{179, 125, 521, 157},
                             ViewRect{0, 11, 0, 10});
        bar.ComputeChannel();
        bar.MoveToWindowRect();
        bar.SetRangeMax(300);
        QObject::connect(&bar, &CSeekbarSliderCtrl::scrolled,
                         [this](int32_t code) { helper.OnHScroll(code, bar); });
    }

    void Press(QPoint at) { SendMouse(bar, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void Move(QPoint at) { SendMouse(bar, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); }
    void Release(QPoint at) { SendMouse(bar, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }

    QWidget parent;
    CSeekbarSliderCtrl bar;
    Recorder recorder;
    CSeekControlHelper helper;
};

TEST_F(SeekBarTest, ClickInTheChannelJumpsAndDragsFromThere)
{
    EXPECT_EQ(bar.geometry(), QRect(179, 125, 342, 32));
    Press({171, 17});
    EXPECT_EQ(bar.Pos(), 150);
    EXPECT_TRUE(bar.IsPressed());
    EXPECT_EQ(recorder.begins, std::vector<int32_t>{150});
    // The thumb is now under the pointer, centred on the channel's middle.
    EXPECT_TRUE(bar.IsOnThumb({171, 17}));
    EXPECT_FALSE(bar.IsOnThumb({200, 17}));
    Move({309, 17});
    EXPECT_EQ(bar.Pos(), 300);
    // Released far outside the control: still exactly one end, with the dragged position.
    Release({600, 200});
    EXPECT_EQ(recorder.ends, std::vector<int32_t>{300});
    EXPECT_EQ(recorder.presses, (std::vector<bool>{true, false}));
    // A further thumb-position code of the same drag makes no second end.
    helper.OnHScroll(kSeekThumbPosition, bar);
    EXPECT_EQ(recorder.ends.size(), 1U);
}

TEST_F(SeekBarTest, JumpArithmeticRoundsHalfUpWithinTheRange)
{
    const struct {
        int32_t x;
        int32_t position;
    } cases[] = {{33, 0}, {309, 300}, {34, 1}, {35, 2}, {171, 150}, {20, 0}, {400, 300}};
    for (const auto& c : cases) {
        EXPECT_EQ(bar.PositionAt(c.x), c.position) << c.x;
    }
}

TEST_F(SeekBarTest, PressesOffTheThumbAndOutsideTheChannelDoNothing)
{
    bar.SetPos(0);
    for (const QPoint point : {QPoint(100, 2), QPoint(171, 30), QPoint(5, 17), QPoint(330, 17)}) {
        Press(point);
        Release(point);
    }
    EXPECT_EQ(bar.Pos(), 0);
    EXPECT_TRUE(recorder.begins.empty());
    EXPECT_TRUE(recorder.ends.empty());
    EXPECT_TRUE(recorder.presses.empty());
    EXPECT_EQ(bar.focusPolicy(), Qt::NoFocus);
}

TEST_F(SeekBarTest, WheelAndKeysNeverMoveIt)
{
    bar.SetPos(100);
    QWheelEvent wheel(QPointF(171, 17), bar.mapToGlobal(QPointF(171, 17)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&bar, &wheel);
    for (const int key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&bar, &press);
    }
    EXPECT_EQ(bar.Pos(), 100);
    EXPECT_TRUE(recorder.begins.empty());
}

TEST_F(SeekBarTest, LosingTheMouseWhileDraggingEndsTheDrag)
{
    Press({171, 17});
    QEvent ungrab(QEvent::UngrabMouse);
    QApplication::sendEvent(&bar, &ungrab);
    EXPECT_FALSE(bar.IsPressed());
    EXPECT_EQ(recorder.ends, std::vector<int32_t>{150});
    // The release that follows changes nothing more.
    Release({171, 17});
    EXPECT_EQ(recorder.ends.size(), 1U);
}

} // namespace
} // namespace sonavel::test
