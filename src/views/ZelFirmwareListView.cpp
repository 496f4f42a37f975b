#include "views/ZelFirmwareListView.h"

#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int kHeaderHeight = 45;
constexpr int kCornerRadius = 5;

// The table is a card of the dark theme; its header and empty-list text have
// looks of their own, in the overlay's style sheet, which takes precedence
// over the application's.
const char* const kOverlayStyle
    = "QLabel#tableHeaderLabel { color: #ffffff; background: #1f2128; font-size: 16px;"
      " border-bottom: 1px solid #2c2f38; }"
      "QLabel#emptyContentPropmtLabel { color: #9a9ca8; background: transparent; font-size: 14px; }";

// A list whose rows start below a header that stays in place.
class FirmwareTable : public QListWidget {
public:
    using QAbstractScrollArea::setViewportMargins;
    using QListWidget::QListWidget;
};

} // namespace

QString ZelFirmwareListView::signatureText(const ZelFirmware& firmware)
{
    if (!firmware.isOnline())
        return localized("ReleaseMarkLocalFile");
    // ReleaseMarkSigned, ReleaseMarkUnchecked, ReleaseMarkInvalid, ReleaseMarkUnsigned.
    QString name = ReleaseSignature::statusName(ReleaseSignature::status(firmware));
    name[0] = name[0].toUpper();
    return localized((QByteArrayLiteral("ReleaseMark") + name.toLatin1()).constData());
}

ZelFirmwareListView::ZelFirmwareListView(QWidget* parent)
    : ZelOverlayView(parent)
{
    setStyleSheet(QString::fromLatin1(kOverlayStyle));

    auto* table = new FirmwareTable(this);
    table->setViewportMargins(0, kHeaderHeight, 0, 0);
    tableView = table;
    tableView->setObjectName(QStringLiteral("tableView"));
    tableView->setFixedSize(kTableWidth, kTableHeight);
    tableView->setFrameShape(QFrame::NoFrame);
    tableView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    QPainterPath corners;
    corners.addRoundedRect(QRectF(tableView->rect()), kCornerRadius, kCornerRadius);
    tableView->setMask(QRegion(corners.toFillPolygon().toPolygon()));
    connect(
        tableView, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { didSelectRow(index.row()); });
    // Enter picks the current row, as a click does.
    tableView->installEventFilter(this);
    tableView->setAccessibleName(localized("SelectAFirmware"));

    m_headerLabel = new QLabel(localized("SelectAFirmware"), tableView);
    m_headerLabel->setObjectName(QStringLiteral("tableHeaderLabel"));
    m_headerLabel->setGeometry(0, 0, kTableWidth, kHeaderHeight);
    m_headerLabel->setAlignment(Qt::AlignCenter);
    m_headerLabel->setWordWrap(true);

    loadData();
}

bool ZelFirmwareListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tableView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && tableView->currentRow() >= 0) {
            didSelectRow(tableView->currentRow());
            return true;
        }
    }
    return ZelOverlayView::eventFilter(watched, event);
}

void ZelFirmwareListView::didSetHidden(bool hidden)
{
    if (!hidden)
        loadData();
}

void ZelFirmwareListView::loadData()
{
    const quint64 load = ++m_loadGeneration;
    ZelFirmwareDataTool& catalogue = ZelFirmwareDataTool::sharedInstance();
    switch (type) {
    case ZelFirmwareListTypeLocal:
        firmwares = catalogue.getLocalFirmwares();
        reloadTableView();
        break;
    case ZelFirmwareListTypeOnline:
        // Until the answer the table keeps the rows it has.
        catalogue.getRemoteFirmwares(
            [view = QPointer<ZelFirmwareListView>(this), load](const QList<ZelFirmware>& records, const QString&) {
                // The list was loaded again meanwhile (the user switched to the
                // local list): this answer would put online rows under it.
                if (!view || view->m_loadGeneration != load)
                    return;
                view->firmwares = records;
                view->reloadTableView();
            });
        break;
    default:
        break;
    }
}

void ZelFirmwareListView::reloadTableView()
{
    tableView->clear();
    for (const ZelFirmware& firmware : std::as_const(firmwares)) {
        auto* row
            = new QListWidgetItem(firmware.version + QStringLiteral("  (%1)").arg(signatureText(firmware)), tableView);
        row->setSizeHint(QSize(kTableWidth, kRowHeight));
    }
    const bool empty = firmwares.isEmpty();
    if (empty && !emptyContentPropmtLabel) {
        emptyContentPropmtLabel = new QLabel(tableView);
        emptyContentPropmtLabel->setObjectName(QStringLiteral("emptyContentPropmtLabel"));
        emptyContentPropmtLabel->setGeometry(0, kHeaderHeight, kTableWidth, kTableHeight - kHeaderHeight);
        emptyContentPropmtLabel->setAlignment(Qt::AlignCenter);
        emptyContentPropmtLabel->setWordWrap(true);
    }
    if (emptyContentPropmtLabel) {
        // A refused online list is shown as refused, with why, not as empty.
        const QString& refusal = ZelFirmwareDataTool::sharedInstance().refusal;
        emptyContentPropmtLabel->setText(
            type == ZelFirmwareListTypeOnline && !refusal.isEmpty() ? refusal : localized("EmptyFirmware"));
        emptyContentPropmtLabel->setHidden(!empty);
    }
    // A disabled scroll bar also ignores the wheel.
    tableView->verticalScrollBar()->setEnabled(!empty);
}

void ZelFirmwareListView::hideSelf()
{
    setHidden(true);
}

void ZelFirmwareListView::didSelectRow(int row)
{
    tableView->clearSelection();
    if (!selectFirmwareBlock)
        return;
    // The closure may be replaced while it runs: call a copy.
    const auto block = selectFirmwareBlock;
    if (row >= 0 && row < firmwares.size())
        block(firmwares.at(row));
    else
        block(std::nullopt);
}

void ZelFirmwareListView::resizeEvent(QResizeEvent* event)
{
    ZelOverlayView::resizeEvent(event);
    placeCard(tableView);
}
