// The playlist's mouse and keyboard handling: selection, drag-reorder with its insertion line and
// auto-scroll, and files dropped from file managers.
#include "ui/ExListCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>

namespace sonavel {

void CExListCtrl::mousePressEvent(QMouseEvent* event)
{
    if (dragging_) {
        return;
    }
    const QPoint client = ClientPoint(event->position());
    const int32_t row = HitTest(ViewPoint{client.x(), client.y()});
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::RightButton) {
        if (row >= 0 && !IsRowSelected(row)) {
            SelectOnly(row);
        }
        emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressRow_ = row;
    pressPoint_ = client;
    pendingSingleSelect_ = -1;
    if (row < 0) {
        if (!(event->modifiers() & Qt::ControlModifier)) {
            SelectOnly(-1);
        }
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        rows_.SetItemSelected(row, !IsRowSelected(row));
        rows_.SetItemFocused(row);
        rows_.SetSelectionMark(row);
    } else if (event->modifiers() & Qt::ShiftModifier) {
        const int32_t mark = GetSelectionMark();
        const int32_t anchor = mark >= 0 ? mark : row;
        SetRowsSelected(std::min(anchor, row), std::max(anchor, row));
        rows_.SetItemFocused(row);
    } else if (IsRowSelected(row)) {
        // A press on a selected row keeps the selection so that all selected rows can be dragged.
        pendingSingleSelect_ = row;
    } else {
        SelectOnly(row);
    }
    viewport()->update();
}

void CExListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint client = ClientPoint(event->position());
    if (dragging_) {
        if (!(event->buttons() & Qt::LeftButton)) {
            StopDrag();
            return;
        }
        TrackDragReorder(client);
        return;
    }
    if (pressRow_ >= 0 && (event->buttons() & Qt::LeftButton) && rows_.IsDragReorderEnabled() &&
        (client - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
        BeginDragReorder();
        TrackDragReorder(client);
    }
}

void CExListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (dragging_) {
        EndDragReorder(ClientPoint(event->position()));
    } else if (pendingSingleSelect_ >= 0) {
        SelectOnly(pendingSingleSelect_);
    }
    pendingSingleSelect_ = -1;
    pressRow_ = -1;
}

void CExListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint client = ClientPoint(event->position());
    emit rowActivated(HitTest(ViewPoint{client.x(), client.y()}));
}

void CExListCtrl::keyPressEvent(QKeyEvent* event)
{
    const int32_t current = rows_.GetFocusedRow();
    switch (event->key()) {
    case Qt::Key_A:
        if (event->modifiers() & Qt::ControlModifier) {
            SelectAll();
            setFocus(Qt::ShortcutFocusReason);
            return;
        }
        break;
    case Qt::Key_Delete:
        emit deleteKeyPressed();
        return;
    case Qt::Key_Up:
        MoveFocusTo(current - 1);
        return;
    case Qt::Key_Down:
        MoveFocusTo(current + 1);
        return;
    case Qt::Key_PageUp:
        MoveFocusTo(current - PageRows());
        return;
    case Qt::Key_PageDown:
        MoveFocusTo(current + PageRows());
        return;
    case Qt::Key_Home:
        MoveFocusTo(0);
        return;
    case Qt::Key_End:
        MoveFocusTo(GetItemCount() - 1);
        return;
    default:
        break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CExListCtrl::BeginDragReorder()
{
    pendingSingleSelect_ = -1;
    dragging_ = true;
    dragStartIndex_ = pressRow_;
    reorderMarker_ = pressRow_;
    viewport()->update();
}

void CExListCtrl::TrackDragReorder(QPoint client)
{
    const int32_t hit = HitTest(ViewPoint{0, client.y()});
    if (hit >= 0) {
        ViewRect rect;
        GetItemRect(hit, &rect);
        const int32_t marker = client.y() > (rect.top + rect.bottom) / 2 ? hit + 1 : hit;
        if (marker != reorderMarker_) {
            reorderMarker_ = marker;
            viewport()->update();
        }
    }
    UpdateAutoScroll(hit);
}

void CExListCtrl::EndDragReorder(QPoint client)
{
    const int32_t count = GetItemCount();
    int32_t hit = HitTest(ViewPoint{0, client.y()});
    if (hit < 0) {
        hit = client.y() >= 0 ? count - 1 : 0;
    }
    ViewRect rect;
    int32_t insertion = hit;
    if (GetItemRect(hit, &rect) && client.y() > (rect.top + rect.bottom) / 2) {
        insertion = hit + 1;
    }
    StopDrag();
    emit reorderRequested(std::max(0, insertion));
}

void CExListCtrl::StopDrag()
{
    autoScrollTimer_.stop();
    dragging_ = false;
    dragStartIndex_ = -1;
    reorderMarker_ = -1;
    dropMarker_ = -1;
    pressRow_ = -1;
    viewport()->update();
}

void CExListCtrl::UpdateAutoScroll(int32_t hitRow)
{
    const int32_t count = GetItemCount();
    const int32_t top = GetTopIndex();
    const int32_t page = PageRows();
    if (count <= page || hitRow < 0) {
        autoScrollTimer_.stop();
        return;
    }
    if (hitRow == top && top > 0) {
        autoScrollUp_ = true;
        autoScrollTimer_.start();
    } else if (hitRow >= top + page - 1 && hitRow != count - 1) {
        autoScrollUp_ = false;
        autoScrollTimer_.start();
    } else {
        autoScrollTimer_.stop();
    }
}

QStringList CExListCtrl::AcceptedLocalPaths(const QMimeData* data) const
{
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    return paths;
}

void CExListCtrl::SetDropMarker(QPoint client)
{
    const int32_t count = GetItemCount();
    const int32_t hit = HitTest(ViewPoint{client.x(), client.y()});
    int32_t marker = count;
    if (hit >= 0) {
        ViewRect rect;
        GetItemRect(hit, &rect);
        marker = hit < GetTopIndex() ? GetTopIndex()
                                     : (client.y() >= (rect.top + rect.bottom) / 2 ? hit + 1 : hit);
    }
    if (marker != dropMarker_) {
        dropMarker_ = marker;
        viewport()->update();
    }
}

void CExListCtrl::dragEnterEvent(QDragEnterEvent* event)
{
    const QStringList paths = AcceptedLocalPaths(event->mimeData());
    const bool playable = std::any_of(paths.begin(), paths.end(), [this](const QString& path) {
        return !dropFilter_ || dropFilter_(path.toStdU16String());
    });
    if (!rows_.IsFileDropEnabled() || !playable) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    SetDropMarker(ClientPoint(event->position()));
}

void CExListCtrl::dragMoveEvent(QDragMoveEvent* event)
{
    if (!rows_.IsFileDropEnabled()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    SetDropMarker(ClientPoint(event->position()));
}

void CExListCtrl::dragLeaveEvent(QDragLeaveEvent*)
{
    dropMarker_ = -1;
    viewport()->update();
}

void CExListCtrl::dropEvent(QDropEvent* event)
{
    dropMarker_ = -1;
    viewport()->update();
    const QStringList paths = AcceptedLocalPaths(event->mimeData());
    if (!rows_.IsFileDropEnabled() || paths.isEmpty()) {
        event->ignore();
        return;
    }
    const QPoint client = ClientPoint(event->position());
    rows_.SetLastDropPoint(ViewPoint{client.x(), client.y()});
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(paths);
}

} // namespace sonavel
