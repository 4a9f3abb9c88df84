#include "ui/CustomButton.h"
#include "ui/CustomLED.h"
#include "ui/SkinPicture.h"
#include "ui/StatusTextArea.h"
#include "tests/ui/QtTestEnvironment.h"

#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace sonavel::test {
namespace {

TEST(ArtworkTest, EveryPictureHasTheSizeTheControlsCutFrom)
{
    const struct {
        int id;
        int width;
        int height;
        bool alpha;
    } pictures[] = {
        {300, 709, 567, false}, {340, 224, 15, false}, {341, 224, 15, false}, {342, 75, 320, false},
        {343, 52, 97, false},   {344, 220, 32, false}, {345, 27, 27, true},   {346, 27, 27, true},
        {358, 9, 9, true},      {359, 9, 9, true},     {303, 30, 30, true},   {302, 30, 30, true},
        {354, 16, 16, true},    {355, 16, 16, true},
    };
    for (const auto& picture : pictures) {
        const QImage image = LoadSkinPicture(picture.id);
        ASSERT_FALSE(image.isNull()) << picture.id;
        EXPECT_EQ(image.width(), picture.width) << picture.id;
        EXPECT_EQ(image.height(), picture.height) << picture.id;
        EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied) << picture.id;
        // Alpha pictures are transparent in their corners; the bitmaps are opaque.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)) < 255, picture.alpha) << picture.id;
    }
    // The panel's playlist bay is white and its display window black, under the controls.
    const QImage panel = LoadSkinBitmap(300);
    EXPECT_EQ(panel.pixel(300, 350), qRgb(255, 255, 255));
    EXPECT_EQ(panel.pixel(350, 90), qRgb(0, 0, 0));
    // The note is drawn, the empty row picture is not.
    const QImage note = LoadSkinPicture(354);
    const QImage empty = LoadSkinPicture(355);
    int notePixels = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            notePixels += qAlpha(note.pixel(x, y)) > 128 ? 1 : 0;
            EXPECT_EQ(qAlpha(empty.pixel(x, y)), 0);
        }
    }
    EXPECT_GT(notePixels, 20);
}

TEST(CustomButtonTest, OnlyPressesInsideTheKnobCircleClick)
{
    QWidget parent;
    CCustomButton button(32812, &parent);
    button.setGeometry(0, 0, 27, 27);
    QSignalSpy commands(&button, &CCustomButton::commandTriggered);
    const struct {
        QPoint point;
        bool clicks;
    } cases[] = {{{13, 13}, true}, {{0, 0}, false},  {{26, 26}, false}, {{2, 13}, true},
                 {{1, 13}, false}, {{26, 0}, false}, {{14, 1}, true}};
    for (const auto& c : cases) {
        SendMouse(button, QEvent::MouseButtonPress, c.point, Qt::LeftButton, Qt::LeftButton);
        SendMouse(button, QEvent::MouseButtonRelease, c.point, Qt::LeftButton, Qt::NoButton);
    }
    int expected = 0;
    for (const auto& c : cases) {
        expected += c.clicks ? 1 : 0;
    }
    ASSERT_EQ(commands.count(), expected);
    EXPECT_EQ(commands.first().first().toInt(), 32812);
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
}

TEST(CustomButtonTest, PaintsNothingUntilItHasTheBackground)
{
    QWidget parent;
    parent.resize(100, 100);
    CCustomButton button(32810, &parent);
    button.setGeometry(10, 20, 27, 27);
    QImage background(100, 100, QImage::Format_RGB32);
    background.fill(Qt::red);
    background.setPixel(10, 20, qRgb(0, 0, 255));
    EXPECT_FALSE(button.HasParentBackground());
    button.SetParentBackground(background);
    ASSERT_TRUE(button.HasParentBackground());
    // The copy starts at the button's place on the parent: its corner shows the marked pixel.
    const QImage shown = button.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(26, 0), qRgb(255, 0, 0));
}

TEST(CustomLedTest, LightsWithTheOnPicture)
{
    QWidget parent;
    parent.resize(20, 20);
    CCustomLED led(&parent);
    led.setGeometry(0, 0, 9, 9);
    QImage background(20, 20, QImage::Format_RGB32);
    background.fill(Qt::white);
    led.SetParentBackground(background);
    const QImage off = led.grab().toImage();
    led.SetLit(true);
    const QImage on = led.grab().toImage();
    EXPECT_TRUE(led.IsLit());
    // The lit lamp is blue at its centre, the dark one grey.
    EXPECT_GT(qBlue(on.pixel(4, 4)), qRed(on.pixel(4, 4)) + 40);
    EXPECT_LT(std::abs(qBlue(off.pixel(4, 4)) - qRed(off.pixel(4, 4))), 20);
}

TEST(StatusTextAreaTest, AShorterTextLeavesNothingOfTheLongerOne)
{
    QWidget parent;
    parent.resize(200, 20);
    parent.setAutoFillBackground(true);
    QPalette colours = parent.palette();
    colours.setColor(QPalette::Window, QColor(200, 200, 210));
    parent.setPalette(colours);
    CStatusTextArea text(&parent);
    text.setGeometry(0, 0, 180, 20);
    text.setText(QStringLiteral("10:00:00 / 10:00:00"));
    const QImage longer = parent.grab().toImage();
    text.setText(QStringLiteral("0:01"));
    const QImage shorter = parent.grab().toImage();
    int inkBefore = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 60; x < 180; ++x) {
            inkBefore += longer.pixel(x, y) != qRgb(200, 200, 210) ? 1 : 0;
            EXPECT_EQ(shorter.pixel(x, y), qRgb(200, 200, 210));
        }
    }
    EXPECT_GT(inkBefore, 0);
}

} // namespace
} // namespace sonavel::test
