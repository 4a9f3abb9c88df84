#pragma once

#include "core/ViewGeometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

// Extended styles of the list window.
inline constexpr uint32_t kListStyleGridLines = 0x01;
inline constexpr uint32_t kListStyleFullRowSelect = 0x20;

// Images in column 0 of a row.
enum PlaylistRowImage : int32_t {
    kRowImageNone = 0,
    kRowImagePlaying = 1,
    kRowImagePaused = 2,
};

// The playlist list window as the player core drives it: row i always shows playlist entry i. The
// view's list control implements it; the headless front end and the tests use CMemoryListCtrl.
// Rows and columns count from 0; operations on a row that does not exist do nothing.
class IPlaylistListCtrl {
  public:
    virtual ~IPlaylistListCtrl() = default;

    virtual void MoveWindow(const ViewRect& bounds) = 0;
    virtual void AddExtendedStyle(uint32_t styles) = 0;
    virtual void DeleteAllColumns() = 0;
    virtual void InsertColumn(int32_t column, std::u16string_view title, int32_t width) = 0;

    virtual int32_t GetItemCount() const = 0;
    // Inserts a row before `row` (the row count appends) with the text of column 0; returns its
    // index, or -1 when the row is out of range.
    virtual int32_t InsertItem(int32_t row, std::u16string_view text, int32_t image) = 0;
    virtual void DeleteItem(int32_t row) = 0;
    virtual void DeleteAllItems() = 0;
    virtual void SetItemText(int32_t row, int32_t column, std::u16string_view text) = 0;
    virtual std::u16string GetItemText(int32_t row, int32_t column) const = 0;
    virtual void SetItemImage(int32_t row, int32_t image) = 0;
    virtual int32_t GetItemImage(int32_t row) const = 0;
    virtual void RedrawItems(int32_t first, int32_t last) = 0;
    // Invalidates the whole window with erase and repaints it at once.
    virtual void RepaintAll() = 0;

    // Selected rows in ascending order.
    virtual std::vector<int32_t> GetSelectedRows() const = 0;
    virtual void SetItemSelected(int32_t row, bool selected) = 0;
    virtual void SetItemFocused(int32_t row) = 0;
    // -1 when no row carries the selection mark.
    virtual int32_t GetSelectionMark() const = 0;
    virtual void SetSelectionMark(int32_t row) = 0;

    // The row under a point in client coordinates, or -1.
    virtual int32_t HitTest(ViewPoint point) const = 0;
    // The first visible row.
    virtual int32_t GetTopIndex() const = 0;
    // The bounding rectangle of a row in client coordinates; false when the row does not exist.
    virtual bool GetItemRect(int32_t row, ViewRect* rect) const = 0;
};

} // namespace sonavel
