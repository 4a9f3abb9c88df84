#include "ui/ExListCtrl.h"
#include "ui/TextEllipsis.h"
#include "tests/ui/QtTestEnvironment.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include <gtest/gtest.h>

#include <thread>

namespace sonavel::test {
namespace {

TEST(ColumnWidthRuleTest, LastColumnFillsTheClientAboveTheMinimum)
{
    EXPECT_EQ(CExListCtrl::ApplyColumnWidthRule({60, 165, 340, 110}, 676, 50),
              (std::vector<int32_t>{60, 165, 340, 111}));
    EXPECT_EQ(CExListCtrl::ApplyColumnWidthRule({60, 165, 340, 110}, 400, 50),
              (std::vector<int32_t>{60, 165, 340, 50}));
    EXPECT_EQ(CExListCtrl::ApplyColumnWidthRule({20, 165, 340, 110}, 676, 50),
              (std::vector<int32_t>{50, 165, 340, 121}));
}

TEST(EllipsisTest, LongestFittingPrefixWithDots)
{
    const QFontMetrics metrics(QApplication::font());
    bool shortened = true;
    EXPECT_EQ(FitTextToWidth(QStringLiteral("Title"), 1000, metrics, &shortened), QStringLiteral("Title"));
    EXPECT_FALSE(shortened);
    const QString text = QStringLiteral("A rather long title of a track");
    const int width = metrics.horizontalAdvance(QStringLiteral("A rather...")) + 1;
    EXPECT_EQ(FitTextToWidth(text, width, metrics, &shortened), QStringLiteral("A rather..."));
    EXPECT_TRUE(shortened);
    // Nothing fits: one character stays.
    EXPECT_EQ(FitTextToWidth(text, 2, metrics, &shortened), QStringLiteral("A..."));
    // Texts are cut to 259 characters before fitting.
    EXPECT_EQ(FitTextToWidth(QString(400, QLatin1Char('x')), 100000, metrics, &shortened).size(), 259);
}

// The playlist as the core sets it up, with ten rows.
class ExListCtrlTest : public ::testing::Test {
  protected:
    ExListCtrlTest() : list(&parent)
    {
        parent.resize(709, 567);
        list.setGeometry(18, 191, 676, 330);
        list.InsertColumn(0, u"Playing", 60);
        list.InsertColumn(1, u"Artist", 165);
        list.InsertColumn(2, u"Title", 340);
        list.InsertColumn(3, u"Duration", 110);
        list.SetMinColumnWidth(50);
        list.EnableDragReorder(1);
        list.EnableFileDrop(1);
        for (int i = 0; i < 10; ++i) {
            const int32_t row = list.InsertItem(i, u"", 0);
            list.SetItemText(row, 2, u"Track " + std::u16string(1, static_cast<char16_t>(u'0' + i)));
        }
        parent.show();
        QApplication::processEvents();
    }

    // The middle of a row, in the viewport's coordinates.
    QPoint RowPoint(int row, int dy = 0) const
    {
        ViewRect rect;
        list.GetItemRect(row, &rect);
        return QPoint(100, (rect.top + rect.bottom) / 2 - list.HeaderHeight() + dy);
    }
    void Drag(int fromRow, QPoint to)
    {
        QWidget& port = *list.viewport();
        SendMouse(port, QEvent::MouseButtonPress, RowPoint(fromRow), Qt::LeftButton, Qt::LeftButton);
        SendMouse(port, QEvent::MouseMove, RowPoint(fromRow, 12), Qt::NoButton, Qt::LeftButton);
        SendMouse(port, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        SendMouse(port, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    QWidget parent;
    CExListCtrl list;
};

TEST_F(ExListCtrlTest, ColumnsFollowTheWidthRule)
{
    const std::vector<int32_t> widths = list.ColumnWidths();
    ASSERT_EQ(widths.size(), 4U);
    EXPECT_EQ(widths[3], list.viewport()->width() - 565);
    EXPECT_GE(list.RowHeight(), 20);
}

TEST_F(ExListCtrlTest, DragReorderPostsTheInsertionRow)
{
    QSignalSpy reorders(&list, &CExListCtrl::reorderRequested);
    const int half = list.RowHeight() / 4;
    Drag(0, RowPoint(3, -half));
    Drag(0, RowPoint(3, half));
    // Below the last row appends; above the list inserts at 0.
    Drag(2, QPoint(100, list.viewport()->height() - 2));
    Drag(5, QPoint(100, -list.HeaderHeight() - 5));
    ASSERT_EQ(reorders.count(), 4);
    EXPECT_EQ(reorders.at(0).first().toInt(), 3);
    EXPECT_EQ(reorders.at(1).first().toInt(), 4);
    EXPECT_EQ(reorders.at(2).first().toInt(), 10);
    EXPECT_EQ(reorders.at(3).first().toInt(), 0);
    EXPECT_EQ(list.ReorderMarker(), -1);
}

TEST_F(ExListCtrlTest, DragMarkerFollowsThePointerAndAMoveWithoutButtonEndsSilently)
{
    QSignalSpy reorders(&list, &CExListCtrl::reorderRequested);
    QWidget& port = *list.viewport();
    SendMouse(port, QEvent::MouseButtonPress, RowPoint(1), Qt::LeftButton, Qt::LeftButton);
    SendMouse(port, QEvent::MouseMove, RowPoint(1, 12), Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(list.IsDragging());
    SendMouse(port, QEvent::MouseMove, RowPoint(4, list.RowHeight() / 4), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(list.ReorderMarker(), 5);
    SendMouse(port, QEvent::MouseMove, RowPoint(6), Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(list.IsDragging());
    EXPECT_EQ(list.ReorderMarker(), -1);
    EXPECT_EQ(reorders.count(), 0);
}

TEST_F(ExListCtrlTest, FileDropsGiveTheirPathsAndPoint)
{
    list.SetDropFilter([](const std::u16string& path) { return path.ends_with(u".wav"); });
    QSignalSpy drops(&list, &CExListCtrl::filesDropped);
    QMimeData unsupported;
    unsupported.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"))});
    QDragEnterEvent refused(RowPoint(2), Qt::CopyAction, &unsupported, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/b.wav"))});
    QDragEnterEvent enter(RowPoint(2, list.RowHeight() / 4), Qt::CopyAction, &files, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(list.DropMarker(), 3);
    QDropEvent drop(RowPoint(2, -list.RowHeight() / 4), Qt::CopyAction, &files, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &drop);
    ASSERT_EQ(drops.count(), 1);
    EXPECT_EQ(drops.first().first().toStringList(),
              (QStringList{QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/b.wav")}));
    ViewPoint point;
    ASSERT_EQ(list.GetLastDropPoint(&point), 1);
    EXPECT_EQ(list.HitTest(point), 2);
    EXPECT_EQ(list.DropMarker(), -1);
    EXPECT_EQ(list.GetLastDropPoint(nullptr), 0);
}

TEST_F(ExListCtrlTest, CtrlASelectsEveryRow)
{
    QKeyEvent plainA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&list, &plainA);
    EXPECT_TRUE(list.GetSelectedRows().empty());
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
    QApplication::sendEvent(&list, &ctrlA);
    EXPECT_EQ(list.GetSelectedRows().size(), 10U);
}

TEST_F(ExListCtrlTest, RowsEditedFromAnotherThreadRepaintOnTheGuiThread)
{
    list.SetItemImage(4, kRowImageNone);
    QApplication::processEvents();
    const QImage before = list.viewport()->grab().toImage();
    std::thread engine([this] {
        list.SetItemImage(4, kRowImagePlaying);
        list.SetItemText(4, 1, u"Artist");
        list.RedrawItems(4, 4);
    });
    engine.join();
    // The rows changed at once; the widget only when the GUI thread has run its queue.
    EXPECT_EQ(list.GetItemImage(4), kRowImagePlaying);
    EXPECT_EQ(list.GetItemText(4, 1), u"Artist");
    QApplication::processEvents();
    const QImage after = list.viewport()->grab().toImage();
    EXPECT_NE(before, after);
}

} // namespace
} // namespace sonavel::test
