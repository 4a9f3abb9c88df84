#include "core/MemoryListCtrl.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

class MemoryListCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        list.MoveWindow({18, 191, 694, 521});
        for (int32_t row = 0; row < 10; ++row) {
            list.InsertItem(row, u"", kRowImageNone);
            list.SetItemText(row, 2, std::u16string(1, static_cast<char16_t>(u'a' + row)));
        }
    }

    CMemoryListCtrl list{16, 20};
};

TEST_F(MemoryListCtrlTest, HitTestAndRowRectangleFollowTheFirstVisibleRow)
{
    list.SetTopIndex(3);
    EXPECT_EQ(list.GetTopIndex(), 3);
    EXPECT_EQ(list.HitTest({10, 20}), 3);
    EXPECT_EQ(list.HitTest({10, 20 + 16 * 2 + 15}), 5);
    EXPECT_EQ(list.HitTest({10, 19}), -1);          // header
    EXPECT_EQ(list.HitTest({676, 30}), -1);         // right of the window
    EXPECT_EQ(list.HitTest({10, 20 + 16 * 7}), -1); // below the last row

    ViewRect rect;
    ASSERT_TRUE(list.GetItemRect(5, &rect));
    EXPECT_EQ(rect.top, 20 + 32);
    EXPECT_EQ(rect.bottom, 20 + 48);
    EXPECT_EQ(rect.right, 676);
    EXPECT_FALSE(list.GetItemRect(10, &rect));
}

TEST_F(MemoryListCtrlTest, RowReferencesFollowInsertsAndDeletes)
{
    list.SetItemSelected(4, true);
    list.SetItemSelected(6, true);
    list.SetSelectionMark(6);
    list.SetItemFocused(6);
    list.DeleteItem(1);
    list.InsertItem(0, u"new", kRowImagePlaying);
    EXPECT_EQ(list.GetSelectedRows(), (std::vector<int32_t>{4, 6}));
    EXPECT_EQ(list.GetSelectionMark(), 6);
    EXPECT_EQ(list.GetFocusedRow(), 6);
    EXPECT_EQ(list.GetItemText(6, 2), u"g");
    EXPECT_EQ(list.GetItemText(0, 0), u"new");
    EXPECT_EQ(list.GetItemImage(0), kRowImagePlaying);

    list.DeleteItem(6);
    EXPECT_EQ(list.GetSelectionMark(), -1);
    EXPECT_EQ(list.InsertItem(12, u"", kRowImageNone), -1);
    EXPECT_EQ(list.GetItemText(40, 0), u"");
}

TEST_F(MemoryListCtrlTest, SteeringInterfaceKeepsItsSettings)
{
    IPlaylistViewCtrl& view = list;
    view.EnableDragReorder(1);
    view.EnableFileDrop(1);
    view.SetMinColumnWidth(50);
    list.SetLastDropPoint({40, 77});
    ViewPoint point;
    EXPECT_EQ(view.GetLastDropPoint(&point), 1);
    EXPECT_EQ(point.y, 77);
    EXPECT_EQ(view.GetLastDropPoint(nullptr), 0);
    EXPECT_TRUE(list.IsDragReorderEnabled());
    EXPECT_TRUE(list.IsFileDropEnabled());
    EXPECT_EQ(list.GetMinColumnWidth(), 50);
}

} // namespace
} // namespace sonavel
