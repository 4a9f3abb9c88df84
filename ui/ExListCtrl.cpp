#include "ui/ExListCtrl.h"

#include "ui/FormFont.h"
#include "ui/QtText.h"
#include "ui/SkinPicture.h"
#include "ui/TextEllipsis.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QThread>

#include <algorithm>
#include <numeric>

namespace sonavel {
namespace {

constexpr int kEmptyRowPicture = 355;
constexpr int kNotePicture = 354;
constexpr int kAutoScrollMilliseconds = 25;
const QColor kOddRowColour(224, 224, 224);
const QColor kGridColour(208, 208, 208);

} // namespace

CExListCtrl::CExListCtrl(QWidget* parent)
    : QAbstractScrollArea(parent),
      // The view's 20 x 20 icon list makes every row at least 20 pixels tall.
      rowHeight_(std::max(20, QFontMetrics(FormFont()).height() + 4)),
      headerHeight_(QFontMetrics(FormFont()).height() + 8), rows_(rowHeight_, headerHeight_)
{
    setFrameShape(QFrame::NoFrame);
    setFont(FormFont());
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    // A drag-reorder ends when a move arrives without the button held.
    viewport()->setMouseTracking(true);
    rowPictures_ = {LoadSkinPicture(kEmptyRowPicture), LoadSkinPicture(kNotePicture),
                    LoadSkinPicture(kNotePicture)};

    headerModel_ = new QStandardItemModel(0, 0, this);
    header_ = new QHeaderView(Qt::Horizontal, this);
    header_->setModel(headerModel_);
    header_->setSectionsClickable(false);
    header_->setSortIndicatorShown(false);
    header_->setStretchLastSection(false);
    header_->setMinimumSectionSize(1);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header_->setFixedHeight(headerHeight_);
    connect(header_, &QHeaderView::sectionResized, this, [this] {
        ApplyColumnWidths();
        viewport()->update();
    });
    setViewportMargins(0, headerHeight_, 0, 0);
    // The list scrolls by whole rows; the scroll position is the first visible row.
    verticalScrollBar()->setSingleStep(1);

    autoScrollTimer_.setInterval(kAutoScrollMilliseconds);
    connect(&autoScrollTimer_, &QTimer::timeout, this, [this] {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + (autoScrollUp_ ? -1 : 1));
        viewport()->update();
    });
}

CExListCtrl::~CExListCtrl() = default;

void CExListCtrl::OnGuiThread(std::function<void()> fn)
{
    if (QThread::currentThread() == thread()) {
        fn();
    } else {
        QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
    }
}

void CExListCtrl::ScheduleRepaint()
{
    OnGuiThread([this] {
        UpdateLayout();
        viewport()->update();
    });
}

void CExListCtrl::MoveWindow(const ViewRect& bounds)
{
    rows_.MoveWindow(bounds);
    OnGuiThread([this, bounds] {
        setGeometry(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    });
}

void CExListCtrl::AddExtendedStyle(uint32_t styles)
{
    // Rows are always drawn with full-row selection and grid lines.
    rows_.AddExtendedStyle(styles);
}

void CExListCtrl::DeleteAllColumns()
{
    OnGuiThread([this] { headerModel_->setColumnCount(0); });
}

void CExListCtrl::InsertColumn(int32_t column, std::u16string_view title, int32_t width)
{
    OnGuiThread([this, column, text = ToQString(title), width] {
        const int at = std::clamp<int>(column, 0, headerModel_->columnCount());
        // The width rule runs when the list is drawn, once all columns are there.
        applyingWidths_ = true;
        headerModel_->insertColumn(at);
        headerModel_->setHeaderData(at, Qt::Horizontal, text);
        header_->resizeSection(at, width);
        applyingWidths_ = false;
        viewport()->update();
    });
}

int32_t CExListCtrl::GetItemCount() const
{
    return rows_.GetItemCount();
}

int32_t CExListCtrl::InsertItem(int32_t row, std::u16string_view text, int32_t image)
{
    const int32_t inserted = rows_.InsertItem(row, text, image);
    ScheduleRepaint();
    return inserted;
}

void CExListCtrl::DeleteItem(int32_t row)
{
    rows_.DeleteItem(row);
    ScheduleRepaint();
}

void CExListCtrl::DeleteAllItems()
{
    rows_.DeleteAllItems();
    ScheduleRepaint();
}

void CExListCtrl::SetItemText(int32_t row, int32_t column, std::u16string_view text)
{
    rows_.SetItemText(row, column, text);
    ScheduleRepaint();
}

std::u16string CExListCtrl::GetItemText(int32_t row, int32_t column) const
{
    return rows_.GetItemText(row, column);
}

void CExListCtrl::SetItemImage(int32_t row, int32_t image)
{
    rows_.SetItemImage(row, image);
    ScheduleRepaint();
}

int32_t CExListCtrl::GetItemImage(int32_t row) const
{
    return rows_.GetItemImage(row);
}

void CExListCtrl::RedrawItems(int32_t, int32_t)
{
    ScheduleRepaint();
}

void CExListCtrl::RepaintAll()
{
    OnGuiThread([this] {
        UpdateLayout();
        viewport()->repaint();
    });
}

std::vector<int32_t> CExListCtrl::GetSelectedRows() const
{
    return rows_.GetSelectedRows();
}

void CExListCtrl::SetItemSelected(int32_t row, bool selected)
{
    rows_.SetItemSelected(row, selected);
    ScheduleRepaint();
}

void CExListCtrl::SetItemFocused(int32_t row)
{
    rows_.SetItemFocused(row);
    ScheduleRepaint();
}

int32_t CExListCtrl::GetSelectionMark() const
{
    return rows_.GetSelectionMark();
}

void CExListCtrl::SetSelectionMark(int32_t row)
{
    rows_.SetSelectionMark(row);
}

int32_t CExListCtrl::HitTest(ViewPoint point) const
{
    return rows_.HitTest(point);
}

int32_t CExListCtrl::GetTopIndex() const
{
    return rows_.GetTopIndex();
}

bool CExListCtrl::GetItemRect(int32_t row, ViewRect* rect) const
{
    return rows_.GetItemRect(row, rect);
}

void CExListCtrl::EnableDragReorder(int32_t enable)
{
    rows_.EnableDragReorder(enable);
}

void CExListCtrl::SetMinColumnWidth(int32_t width)
{
    rows_.SetMinColumnWidth(width);
    OnGuiThread([this] { ApplyColumnWidths(); });
}

void CExListCtrl::EnableFileDrop(int32_t enable)
{
    rows_.EnableFileDrop(enable);
    OnGuiThread([this, on = enable != 0] {
        setAcceptDrops(on);
        viewport()->setAcceptDrops(on);
    });
}

int32_t CExListCtrl::GetLastDropPoint(ViewPoint* point)
{
    return rows_.GetLastDropPoint(point);
}

void CExListCtrl::SetDropFilter(std::function<bool(const std::u16string&)> accepts)
{
    dropFilter_ = std::move(accepts);
}

std::vector<int32_t> CExListCtrl::ApplyColumnWidthRule(std::vector<int32_t> widths, int32_t clientWidth,
                                                       int32_t minWidth)
{
    if (widths.empty()) {
        return widths;
    }
    if (minWidth > 0) {
        for (int32_t& width : widths) {
            width = std::max(width, minWidth);
        }
    }
    const int32_t others = std::accumulate(widths.begin(), widths.end() - 1, 0);
    const int32_t last = std::max(minWidth, clientWidth - others);
    if (last >= 0) {
        widths.back() = last;
    }
    return widths;
}

std::vector<int32_t> CExListCtrl::ColumnWidths() const
{
    std::vector<int32_t> widths;
    for (int i = 0; i < header_->count(); ++i) {
        widths.push_back(header_->sectionSize(i));
    }
    return widths;
}

void CExListCtrl::EnsureVisible(int32_t row)
{
    if (row < 0 || row >= GetItemCount()) {
        return;
    }
    UpdateLayout();
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value()) {
        bar->setValue(row);
    } else if (row >= bar->value() + PageRows()) {
        bar->setValue(row - PageRows() + 1);
    }
}

void CExListCtrl::SetRowsSelected(int32_t first, int32_t last)
{
    const int32_t count = GetItemCount();
    for (int32_t row = 0; row < count; ++row) {
        rows_.SetItemSelected(row, row >= first && row <= last);
    }
    viewport()->update();
}

void CExListCtrl::SelectAll()
{
    SetRowsSelected(0, GetItemCount() - 1);
}

void CExListCtrl::ClearSelection()
{
    OnGuiThread([this] { SetRowsSelected(-1, -1); });
}

void CExListCtrl::UpdateLayout()
{
    QScrollBar* bar = verticalScrollBar();
    bar->setPageStep(PageRows());
    bar->setRange(0, std::max(0, GetItemCount() - PageRows()));
    rows_.SetTopIndex(bar->value());
    header_->setGeometry(0, 0, viewport()->width(), headerHeight_);
}

void CExListCtrl::ApplyColumnWidths()
{
    if (applyingWidths_ || header_->count() == 0) {
        return;
    }
    applyingWidths_ = true;
    const std::vector<int32_t> widths =
        ApplyColumnWidthRule(ColumnWidths(), viewport()->width(), rows_.GetMinColumnWidth());
    for (size_t i = 0; i < widths.size(); ++i) {
        if (header_->sectionSize(static_cast<int>(i)) != widths[i]) {
            header_->resizeSection(static_cast<int>(i), widths[i]);
        }
    }
    applyingWidths_ = false;
}

void CExListCtrl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    rows_.MoveWindow(ViewRect{x(), y(), x() + width(), y() + height()});
    UpdateLayout();
    ApplyColumnWidths();
}

void CExListCtrl::scrollContentsBy(int, int)
{
    rows_.SetTopIndex(verticalScrollBar()->value());
    viewport()->update();
}

void CExListCtrl::paintEvent(QPaintEvent*)
{
    ApplyColumnWidths();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    const int32_t count = GetItemCount();
    std::vector<bool> selected(static_cast<size_t>(std::max(count, 0)), false);
    for (const int32_t row : GetSelectedRows()) {
        if (row < count) {
            selected[static_cast<size_t>(row)] = true;
        }
    }
    const int32_t first = GetTopIndex();
    for (int32_t index = first; index < count; ++index) {
        const int32_t top = (index - first) * rowHeight_;
        if (top >= viewport()->height()) {
            break;
        }
        PaintRow(painter, index, selected[static_cast<size_t>(index)], count, top);
    }
}

void CExListCtrl::PaintRow(QPainter& painter, int32_t index, bool selected, int32_t itemCount,
                           int32_t top) const
{
    const int32_t rowWidth = viewport()->width();
    // The bottom pixel line stays for the grid line.
    const QRect area(0, top, rowWidth, rowHeight_ - 1);
    const QColor background = selected ? palette().color(QPalette::Highlight)
                                       : (index % 2 == 0 ? QColor(Qt::white) : kOddRowColour);
    const QColor text = selected ? palette().color(QPalette::HighlightedText) : QColor(Qt::black);
    painter.fillRect(area, background);
    painter.fillRect(QRect(0, top + rowHeight_ - 1, rowWidth, 1), kGridColour);

    if (index == reorderMarker_ || index == dropMarker_) {
        painter.fillRect(QRect(0, top, rowWidth, 2), Qt::black);
    } else if ((reorderMarker_ >= itemCount || dropMarker_ >= itemCount) && index == itemCount - 1) {
        painter.fillRect(QRect(0, top + rowHeight_ - 3, rowWidth, 2), Qt::black);
    }

    painter.setPen(text);
    painter.setFont(font());
    const QFontMetrics metrics = fontMetrics();
    const int32_t image = GetItemImage(index);
    int32_t columnLeft = 0;
    for (int column = 0; column < header_->count(); ++column) {
        const int32_t columnWidth = header_->sectionSize(column);
        const int32_t inset = column == 0 ? 3 : 6;
        QRect textRect(columnLeft + inset, top, columnWidth - 2 * inset, rowHeight_ - 1);
        if (column == 0 && image > 0 && image < static_cast<int32_t>(rowPictures_.size())) {
            const QImage& picture = rowPictures_[static_cast<size_t>(image)];
            const int32_t drawnWidth = std::min(picture.width(), columnWidth);
            const int32_t x = textRect.left() - 2 + std::max(0, (columnWidth - drawnWidth) / 2);
            const int32_t y = top + std::max(0, (rowHeight_ - picture.height()) / 2);
            painter.drawImage(QPoint(x, y), picture, QRect(0, 0, drawnWidth, picture.height()));
            textRect.setLeft(textRect.left() + drawnWidth - 2);
        }
        const std::u16string cell = GetItemText(index, column);
        if (!cell.empty()) {
            bool shortened = false;
            const QString shown = FitTextToWidth(ToQString(cell), textRect.width(), metrics, &shortened);
            const Qt::Alignment horizontal =
                shortened
                    ? Qt::AlignLeft
                    : static_cast<Qt::Alignment>(header_->defaultAlignment() & Qt::AlignHorizontal_Mask);
            painter.drawText(textRect, static_cast<int>(horizontal | Qt::AlignVCenter | Qt::TextSingleLine),
                             shown);
        }
        painter.fillRect(QRect(columnLeft + columnWidth - 1, top, 1, rowHeight_), kGridColour);
        columnLeft += columnWidth;
    }
}

bool CExListCtrl::IsRowSelected(int32_t row) const
{
    const std::vector<int32_t> selected = GetSelectedRows();
    return std::find(selected.begin(), selected.end(), row) != selected.end();
}

QPoint CExListCtrl::ClientPoint(const QPointF& viewportPoint) const
{
    return viewportPoint.toPoint() + QPoint(0, headerHeight_);
}

int32_t CExListCtrl::PageRows() const
{
    return std::max(1, viewport()->height() / rowHeight_);
}

void CExListCtrl::SelectOnly(int32_t row)
{
    SetRowsSelected(row, row);
    if (row >= 0) {
        rows_.SetItemFocused(row);
        rows_.SetSelectionMark(row);
    }
}

void CExListCtrl::MoveFocusTo(int32_t row)
{
    const int32_t count = GetItemCount();
    if (count == 0) {
        return;
    }
    const int32_t target = std::clamp(row, 0, count - 1);
    SelectOnly(target);
    EnsureVisible(target);
}

} // namespace sonavel
