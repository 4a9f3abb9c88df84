#pragma once

#include "core/PlaylistListCtrl.h"
#include "core/PlaylistViewCtrl.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace sonavel {

// A list window without a screen, for the headless front end and the tests: rows of equal height
// below an optional header, scrolled so that the top index is the first visible row. It keeps
// what a drawn list would show and counts redraws. Safe to call from several threads, as the
// player core does from the GUI and the playback thread.
class CMemoryListCtrl : public IPlaylistListCtrl, public IPlaylistViewCtrl {
  public:
    explicit CMemoryListCtrl(int32_t rowHeight = 16, int32_t headerHeight = 0);

    void MoveWindow(const ViewRect& bounds) override;
    void AddExtendedStyle(uint32_t styles) override;
    void DeleteAllColumns() override;
    void InsertColumn(int32_t column, std::u16string_view title, int32_t width) override;

    int32_t GetItemCount() const override;
    int32_t InsertItem(int32_t row, std::u16string_view text, int32_t image) override;
    void DeleteItem(int32_t row) override;
    void DeleteAllItems() override;
    void SetItemText(int32_t row, int32_t column, std::u16string_view text) override;
    std::u16string GetItemText(int32_t row, int32_t column) const override;
    void SetItemImage(int32_t row, int32_t image) override;
    int32_t GetItemImage(int32_t row) const override;
    void RedrawItems(int32_t first, int32_t last) override;
    void RepaintAll() override;

    std::vector<int32_t> GetSelectedRows() const override;
    void SetItemSelected(int32_t row, bool selected) override;
    void SetItemFocused(int32_t row) override;
    int32_t GetSelectionMark() const override;
    void SetSelectionMark(int32_t row) override;

    int32_t HitTest(ViewPoint point) const override;
    int32_t GetTopIndex() const override;
    bool GetItemRect(int32_t row, ViewRect* rect) const override;

    void EnableDragReorder(int32_t enable) override;
    void SetMinColumnWidth(int32_t width) override;
    void EnableFileDrop(int32_t enable) override;
    int32_t GetLastDropPoint(ViewPoint* point) override;

    // What the tests and the headless front end set or inspect.
    void SetTopIndex(int32_t row);
    void SetLastDropPoint(ViewPoint point);
    int32_t GetFocusedRow() const;
    ViewRect GetBounds() const;
    uint32_t GetExtendedStyle() const;
    std::vector<std::u16string> GetColumnTitles() const;
    std::vector<int32_t> GetColumnWidths() const;
    bool IsDragReorderEnabled() const;
    bool IsFileDropEnabled() const;
    int32_t GetMinColumnWidth() const;
    int32_t GetRedrawCount() const;
    int32_t GetRepaintCount() const;

  private:
    struct Row {
        std::vector<std::u16string> texts;
        int32_t image = kRowImageNone;
        bool selected = false;
    };
    struct Column {
        std::u16string title;
        int32_t width = 0;
    };

    bool HasRow(int32_t row) const { return row >= 0 && row < static_cast<int32_t>(rows_.size()); }
    ViewRect RowRect(int32_t row) const;

    const int32_t rowHeight_;
    const int32_t headerHeight_;
    mutable std::mutex mutex_;
    std::vector<Row> rows_;
    std::vector<Column> columns_;
    ViewRect bounds_{};
    uint32_t extendedStyle_ = 0;
    int32_t topIndex_ = 0;
    int32_t focusedRow_ = -1;
    int32_t selectionMark_ = -1;
    bool dragReorder_ = false;
    bool fileDrop_ = false;
    int32_t minColumnWidth_ = 0;
    ViewPoint lastDrop_{};
    int32_t redrawCount_ = 0;
    int32_t repaintCount_ = 0;
};

} // namespace sonavel
