#include "core/MemoryListCtrl.h"

#include <algorithm>

namespace sonavel {

namespace {

using Guard = std::lock_guard<std::mutex>;

// Keeps a row reference (focus, selection mark) on its row when rows come and go before it.
void ShiftOnInsert(int32_t& reference, int32_t row)
{
    if (reference >= row) {
        ++reference;
    }
}

void ShiftOnDelete(int32_t& reference, int32_t row)
{
    if (reference == row) {
        reference = -1;
    } else if (reference > row) {
        --reference;
    }
}

} // namespace

CMemoryListCtrl::CMemoryListCtrl(int32_t rowHeight, int32_t headerHeight)
    : rowHeight_(std::max(rowHeight, 1))
    , headerHeight_(std::max(headerHeight, 0))
{
}

void CMemoryListCtrl::MoveWindow(const ViewRect& bounds)
{
    Guard guard(mutex_);
    bounds_ = bounds;
}

void CMemoryListCtrl::AddExtendedStyle(uint32_t styles)
{
    Guard guard(mutex_);
    extendedStyle_ |= styles;
}

void CMemoryListCtrl::DeleteAllColumns()
{
    Guard guard(mutex_);
    columns_.clear();
}

void CMemoryListCtrl::InsertColumn(int32_t column, std::u16string_view title, int32_t width)
{
    Guard guard(mutex_);
    column = std::clamp(column, 0, static_cast<int32_t>(columns_.size()));
    columns_.insert(columns_.begin() + column, Column{std::u16string(title), width});
}

int32_t CMemoryListCtrl::GetItemCount() const
{
    Guard guard(mutex_);
    return static_cast<int32_t>(rows_.size());
}

int32_t CMemoryListCtrl::InsertItem(int32_t row, std::u16string_view text, int32_t image)
{
    Guard guard(mutex_);
    if (row < 0 || row > static_cast<int32_t>(rows_.size())) {
        return -1;
    }
    Row inserted;
    inserted.texts.emplace_back(text);
    inserted.image = image;
    rows_.insert(rows_.begin() + row, std::move(inserted));
    ShiftOnInsert(focusedRow_, row);
    ShiftOnInsert(selectionMark_, row);
    return row;
}

void CMemoryListCtrl::DeleteItem(int32_t row)
{
    Guard guard(mutex_);
    if (!HasRow(row)) {
        return;
    }
    rows_.erase(rows_.begin() + row);
    ShiftOnDelete(focusedRow_, row);
    ShiftOnDelete(selectionMark_, row);
}

void CMemoryListCtrl::DeleteAllItems()
{
    Guard guard(mutex_);
    rows_.clear();
    focusedRow_ = -1;
    selectionMark_ = -1;
    topIndex_ = 0;
}

void CMemoryListCtrl::SetItemText(int32_t row, int32_t column, std::u16string_view text)
{
    Guard guard(mutex_);
    if (!HasRow(row) || column < 0) {
        return;
    }
    auto& texts = rows_[row].texts;
    if (static_cast<size_t>(column) >= texts.size()) {
        texts.resize(static_cast<size_t>(column) + 1);
    }
    texts[column] = text;
}

std::u16string CMemoryListCtrl::GetItemText(int32_t row, int32_t column) const
{
    Guard guard(mutex_);
    if (!HasRow(row) || column < 0 || static_cast<size_t>(column) >= rows_[row].texts.size()) {
        return {};
    }
    return rows_[row].texts[column];
}

void CMemoryListCtrl::SetItemImage(int32_t row, int32_t image)
{
    Guard guard(mutex_);
    if (HasRow(row)) {
        rows_[row].image = image;
    }
}

int32_t CMemoryListCtrl::GetItemImage(int32_t row) const
{
    Guard guard(mutex_);
    return HasRow(row) ? rows_[row].image : kRowImageNone;
}

void CMemoryListCtrl::RedrawItems(int32_t, int32_t)
{
    Guard guard(mutex_);
    ++redrawCount_;
}

void CMemoryListCtrl::RepaintAll()
{
    Guard guard(mutex_);
    ++repaintCount_;
}

std::vector<int32_t> CMemoryListCtrl::GetSelectedRows() const
{
    Guard guard(mutex_);
    std::vector<int32_t> selected;
    for (size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].selected) {
            selected.push_back(static_cast<int32_t>(row));
        }
    }
    return selected;
}

void CMemoryListCtrl::SetItemSelected(int32_t row, bool selected)
{
    Guard guard(mutex_);
    if (HasRow(row)) {
        rows_[row].selected = selected;
    }
}

void CMemoryListCtrl::SetItemFocused(int32_t row)
{
    Guard guard(mutex_);
    if (HasRow(row)) {
        focusedRow_ = row;
    }
}

int32_t CMemoryListCtrl::GetSelectionMark() const
{
    Guard guard(mutex_);
    return selectionMark_;
}

void CMemoryListCtrl::SetSelectionMark(int32_t row)
{
    Guard guard(mutex_);
    selectionMark_ = HasRow(row) ? row : -1;
}

int32_t CMemoryListCtrl::HitTest(ViewPoint point) const
{
    Guard guard(mutex_);
    const int32_t width = bounds_.right - bounds_.left;
    if (point.x < 0 || (width > 0 && point.x >= width) || point.y < headerHeight_) {
        return -1;
    }
    const int32_t row = topIndex_ + (point.y - headerHeight_) / rowHeight_;
    return HasRow(row) ? row : -1;
}

int32_t CMemoryListCtrl::GetTopIndex() const
{
    Guard guard(mutex_);
    return topIndex_;
}

bool CMemoryListCtrl::GetItemRect(int32_t row, ViewRect* rect) const
{
    Guard guard(mutex_);
    if (rect == nullptr || !HasRow(row)) {
        return false;
    }
    *rect = RowRect(row);
    return true;
}

void CMemoryListCtrl::EnableDragReorder(int32_t enable)
{
    Guard guard(mutex_);
    dragReorder_ = enable != 0;
}

void CMemoryListCtrl::SetMinColumnWidth(int32_t width)
{
    Guard guard(mutex_);
    minColumnWidth_ = width < 1 ? 0 : width;
}

void CMemoryListCtrl::EnableFileDrop(int32_t enable)
{
    Guard guard(mutex_);
    fileDrop_ = enable != 0;
}

int32_t CMemoryListCtrl::GetLastDropPoint(ViewPoint* point)
{
    Guard guard(mutex_);
    if (point == nullptr) {
        return 0;
    }
    *point = lastDrop_;
    return 1;
}

void CMemoryListCtrl::SetTopIndex(int32_t row)
{
    Guard guard(mutex_);
    topIndex_ = std::clamp(row, 0, std::max(static_cast<int32_t>(rows_.size()) - 1, 0));
}

void CMemoryListCtrl::SetLastDropPoint(ViewPoint point)
{
    Guard guard(mutex_);
    lastDrop_ = point;
}

int32_t CMemoryListCtrl::GetFocusedRow() const
{
    Guard guard(mutex_);
    return focusedRow_;
}

ViewRect CMemoryListCtrl::GetBounds() const
{
    Guard guard(mutex_);
    return bounds_;
}

uint32_t CMemoryListCtrl::GetExtendedStyle() const
{
    Guard guard(mutex_);
    return extendedStyle_;
}

std::vector<std::u16string> CMemoryListCtrl::GetColumnTitles() const
{
    Guard guard(mutex_);
    std::vector<std::u16string> titles;
    for (const auto& column : columns_) {
        titles.push_back(column.title);
    }
    return titles;
}

std::vector<int32_t> CMemoryListCtrl::GetColumnWidths() const
{
    Guard guard(mutex_);
    std::vector<int32_t> widths;
    for (const auto& column : columns_) {
        widths.push_back(column.width);
    }
    return widths;
}

bool CMemoryListCtrl::IsDragReorderEnabled() const
{
    Guard guard(mutex_);
    return dragReorder_;
}

bool CMemoryListCtrl::IsFileDropEnabled() const
{
    Guard guard(mutex_);
    return fileDrop_;
}

int32_t CMemoryListCtrl::GetMinColumnWidth() const
{
    Guard guard(mutex_);
    return minColumnWidth_;
}

int32_t CMemoryListCtrl::GetRedrawCount() const
{
    Guard guard(mutex_);
    return redrawCount_;
}

int32_t CMemoryListCtrl::GetRepaintCount() const
{
    Guard guard(mutex_);
    return repaintCount_;
}

ViewRect CMemoryListCtrl::RowRect(int32_t row) const
{
    const int32_t top = headerHeight_ + (row - topIndex_) * rowHeight_;
    return {0, top, bounds_.right - bounds_.left, top + rowHeight_};
}

} // namespace sonavel
