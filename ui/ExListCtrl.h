#pragma once

#include "core/MemoryListCtrl.h"
#include "core/PlaylistListCtrl.h"
#include "core/PlaylistViewCtrl.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QHeaderView;
class QMimeData;
class QStandardItemModel;

namespace sonavel {

// The playlist: an owner-drawn report list with alternating row colours, the note picture on the
// playing row, texts shortened with "...", a last column that fills the width, reordering by
// dragging with an insertion line and auto-scroll, files dropped from file managers, Ctrl+A.
//
// The player core edits the rows from the GUI thread and from the playback thread. The rows live
// in a thread-safe in-memory list; calls from other threads change them there and ask the GUI
// thread to repaint, so no other thread ever touches the widget.
class CExListCtrl : public QAbstractScrollArea, public IPlaylistListCtrl, public IPlaylistViewCtrl {
    Q_OBJECT
  public:
    explicit CExListCtrl(QWidget* parent);
    ~CExListCtrl() override;

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

    // Which dropped paths the list takes; a drag whose paths all fail is refused.
    void SetDropFilter(std::function<bool(const std::u16string&)> accepts);
    // Widens columns below the minimum and lets the last one fill the client width.
    static std::vector<int32_t> ApplyColumnWidthRule(std::vector<int32_t> widths, int32_t clientWidth,
                                                     int32_t minWidth);
    std::vector<int32_t> ColumnWidths() const;
    int32_t RowHeight() const { return rowHeight_; }
    int32_t HeaderHeight() const { return headerHeight_; }
    int32_t ReorderMarker() const { return reorderMarker_; }
    int32_t DropMarker() const { return dropMarker_; }
    bool IsDragging() const { return dragging_; }
    void EnsureVisible(int32_t row);
    void SelectAll();
    void ClearSelection();
    // Selects only that row and makes it the focused row and the selection mark.
    void SelectOnly(int32_t row);

  signals:
    void reorderRequested(int32_t insertionIndex);
    void filesDropped(QStringList paths);
    void rowActivated(int32_t row);
    void contextMenuRequested(QPoint globalPosition);
    void deleteKeyPressed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Runs fn now on the GUI thread, or queues it there from another thread.
    void OnGuiThread(std::function<void()> fn);
    void ScheduleRepaint();
    void UpdateLayout();
    void ApplyColumnWidths();
    void PaintRow(QPainter& painter, int32_t index, bool selected, int32_t itemCount, int32_t top) const;
    bool IsRowSelected(int32_t row) const;
    void SetRowsSelected(int32_t first, int32_t last);
    QPoint ClientPoint(const QPointF& viewportPoint) const;
    int32_t PageRows() const;
    void MoveFocusTo(int32_t row);
    void BeginDragReorder();
    void TrackDragReorder(QPoint client);
    void EndDragReorder(QPoint client);
    void StopDrag();
    void UpdateAutoScroll(int32_t hitRow);
    void SetDropMarker(QPoint client);
    QStringList AcceptedLocalPaths(const QMimeData* data) const;

    const int32_t rowHeight_;
    const int32_t headerHeight_;
    CMemoryListCtrl rows_;

    QHeaderView* header_ = nullptr;
    QStandardItemModel* headerModel_ = nullptr;
    std::array<QImage, 3> rowPictures_;
    bool applyingWidths_ = false;
    std::function<bool(const std::u16string&)> dropFilter_;

    bool dragging_ = false;
    int32_t pressRow_ = -1;
    QPoint pressPoint_;
    int32_t pendingSingleSelect_ = -1;
    int32_t dragStartIndex_ = -1;
    int32_t reorderMarker_ = -1;
    int32_t dropMarker_ = -1;
    QTimer autoScrollTimer_;
    bool autoScrollUp_ = false;
};

} // namespace sonavel
