#include "views/ZelFirmwareListView.h"

#include "firmware/FirmwareVersion.h"
#include "firmware/LatestReleaseText.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/Localization.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int kHeaderHeight = 45;
constexpr int kCardMargin = 12;
constexpr int kRowPadding = 14;
constexpr int kVersionPixels = 15;
constexpr int kDetailPixels = 12;
constexpr int kBadgePadding = 6;
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// The card's header, rows and empty-list text have looks of their own, in the
// overlay's style sheet, which takes precedence over the application's.
const char* const kOverlayStyle
    = "QLabel#tableHeaderLabel { color: #ffffff; font-size: 16px; border-bottom: 1px solid #2c2f38; }"
      "QLabel#emptyContentPropmtLabel { color: #9a9ca8; font-size: 14px; }"
      "QListWidget#tableView { background: transparent; }";

// Paints a release's row in two lines: its version, with a mark when the
// controller runs it, over its date and signature. The row's text stays the
// version alone, so that typing a version finds its row.
class ReleaseRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

        const QRect area = option.rect.adjusted(kRowPadding, 0, -kRowPadding, 0);
        const QRect top(area.left(), area.top(), area.width(), area.height() / 2);
        const QRect bottom(area.left(), area.top() + area.height() / 2, area.width(), area.height() / 2);
        painter->save();

        int versionRoom = top.width();
        if (index.data(ZelFirmwareListView::InstalledRole).toBool()) {
            QFont badgeFont = option.font;
            badgeFont.setPixelSize(kDetailPixels);
            badgeFont.setBold(true);
            const QString badge = localized("ReleaseMarkInstalled");
            const QFontMetrics metrics(badgeFont);
            const int width = std::min(metrics.horizontalAdvance(badge) + 2 * kBadgePadding, top.width() / 2);
            const QRect frame(
                top.right() + 1 - width, top.bottom() + 1 - metrics.height() - 2, width, metrics.height() + 2);
            painter->setPen(QColor(0xfc, 0x7a, 0x24));
            painter->setBrush(QColor(0xfc, 0x7a, 0x24, 0x30));
            painter->drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
            painter->setFont(badgeFont);
            painter->drawText(
                frame, Qt::AlignCenter, metrics.elidedText(badge, Qt::ElideRight, frame.width() - 2 * kBadgePadding));
            versionRoom -= width + kBadgePadding;
        }

        QFont versionFont = option.font;
        versionFont.setPixelSize(kVersionPixels);
        versionFont.setBold(true);
        painter->setFont(versionFont);
        painter->setPen(QColor(0xff, 0xff, 0xff));
        const QRect versionRect(top.left(), top.top(), versionRoom, top.height());
        painter->drawText(versionRect, Qt::AlignLeft | Qt::AlignBottom,
            QFontMetrics(versionFont).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, versionRoom));

        QFont detailFont = option.font;
        detailFont.setPixelSize(kDetailPixels);
        painter->setFont(detailFont);
        painter->setPen(QColor(0x9a, 0x9c, 0xa8));
        painter->drawText(bottom.adjusted(0, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
            QFontMetrics(detailFont)
                .elidedText(index.data(ZelFirmwareListView::DetailRole).toString(), Qt::ElideRight, bottom.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), ZelFirmwareListView::kRowHeight);
    }
};

} // namespace

QString ZelFirmwareListView::dateText(const ZelFirmware& firmware)
{
    if (!firmware.isOnline()) {
        // A local release's folder carries no release date; the day it came
        // is what the computer knows.
        const QDateTime imported = QFileInfo(firmware.path).lastModified();
        return imported.isValid() ? localized("ReleaseImportedOn").arg(imported.toString(kDateFormat)) : QString();
    }
    const QDate released = firmware.releaseDate();
    return released.isValid() ? localized("ReleaseDatedOn").arg(released.toString(kDateFormat)) : QString();
}

QString ZelFirmwareListView::detailText(const ZelFirmware& firmware)
{
    QStringList parts;
    if (const QString date = dateText(firmware); !date.isEmpty())
        parts << date;
    parts << ReleaseSignature::markText(firmware);
    return parts.join(QStringLiteral(" \u00b7 "));
}

QString ZelFirmwareListView::installedVersions()
{
    // Never made here: only a screen that asked for the engine has versions to show.
    const ZelFirmwareUpgradeManager* engine = ZelFirmwareUpgradeManager::existingInstance();
    return engine ? engine->followedVersionsText() : QString();
}

ZelFirmwareListView::ZelFirmwareListView(ZelFirmwareDataTool& catalogue, QWidget* parent)
    : ZelOverlayView(parent)
    , m_catalogue(catalogue)
{
    setStyleSheet(QString::fromLatin1(kOverlayStyle));

    cardView = new QWidget(this);
    cardView->setObjectName(QStringLiteral("firmwareCard"));
    cardView->setProperty("role", QStringLiteral("panel"));
    cardView->setAttribute(Qt::WA_StyledBackground, true);
    cardView->setFixedSize(kTableWidth, kTableHeight);
    auto* layout = new QVBoxLayout(cardView);
    layout->setContentsMargins(0, 0, 0, kCardMargin);
    layout->setSpacing(0);

    m_headerLabel = new QLabel(localized("SelectAFirmware"), cardView);
    m_headerLabel->setObjectName(QStringLiteral("tableHeaderLabel"));
    m_headerLabel->setFixedHeight(kHeaderHeight);
    m_headerLabel->setAlignment(Qt::AlignCenter);
    m_headerLabel->setWordWrap(true);
    layout->addWidget(m_headerLabel);

    tableView = new QListWidget(cardView);
    tableView->setObjectName(QStringLiteral("tableView"));
    tableView->setItemDelegate(new ReleaseRowDelegate(tableView));
    tableView->setFrameShape(QFrame::NoFrame);
    tableView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(
        tableView, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { didSelectRow(index.row()); });
    // Enter picks the current row, as a click does.
    tableView->installEventFilter(this);
    tableView->setAccessibleName(localized("SelectAFirmware"));
    layout->addWidget(tableView, 1);

    // In the rows' place when there are none: what to do about it.
    m_emptyPanel = new QWidget(cardView);
    m_emptyPanel->setObjectName(QStringLiteral("emptyPanel"));
    auto* emptyLayout = new QVBoxLayout(m_emptyPanel);
    emptyLayout->setContentsMargins(kRowPadding, kCardMargin, kRowPadding, 0);
    emptyContentPropmtLabel = new QLabel(m_emptyPanel);
    emptyContentPropmtLabel->setObjectName(QStringLiteral("emptyContentPropmtLabel"));
    emptyContentPropmtLabel->setAlignment(Qt::AlignCenter);
    emptyContentPropmtLabel->setWordWrap(true);
    emptyContentPropmtLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    emptyLayout->addStretch(1);
    emptyLayout->addWidget(emptyContentPropmtLabel);
    retryButton = new QPushButton(localized("Retry"), m_emptyPanel);
    retryButton->setObjectName(QStringLiteral("retryButton"));
    connect(retryButton, &QAbstractButton::clicked, this, &ZelFirmwareListView::retryAction);
    emptyLayout->addWidget(retryButton, 0, Qt::AlignHCenter);
    emptyLayout->addStretch(1);
    layout->addWidget(m_emptyPanel, 1);

    m_footer = new QWidget(cardView);
    m_footer->setObjectName(QStringLiteral("listFooter"));
    auto* footerLayout = new QVBoxLayout(m_footer);
    footerLayout->setContentsMargins(kCardMargin, kCardMargin, kCardMargin, 0);
    importButton = new QPushButton(localized("ImportReleases"), m_footer);
    importButton->setObjectName(QStringLiteral("importButton"));
    importButton->setProperty("role", QStringLiteral("primary"));
    importButton->setAccessibleDescription(localized("ImportReleasesDescription"));
    importButton->setCursor(Qt::PointingHandCursor);
    connect(importButton, &QAbstractButton::clicked, this, &ZelFirmwareListView::importAction);
    footerLayout->addWidget(importButton);
    layout->addWidget(m_footer);

    // Where browsers put what they download; the home folder when there is none.
    m_importFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (!QFileInfo(m_importFolder).isDir())
        m_importFolder = QDir::homePath();
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
    switch (type) {
    case ZelFirmwareListTypeLocal:
        firmwares = m_catalogue.getLocalFirmwares();
        m_emptyReason.clear();
        m_canRetry = false;
        reloadTableView();
        break;
    case ZelFirmwareListTypeOnline:
        // Until the answer the table keeps the rows it has; in place of none,
        // what is going on. The local list's import is not this list's.
        m_footer->setHidden(true);
        // A Retry that asks stays, disabled, where the keyboard's focus is.
        if (retryButton->isEnabled())
            retryButton->setHidden(true);
        emptyContentPropmtLabel->setText(localized("ReleaseListLoading"));
        m_catalogue.getRemoteFirmwares([view = QPointer<ZelFirmwareListView>(this), load](
                                           const QList<ZelFirmware>& records, const QString& error) {
            // The list was loaded again meanwhile (the user switched to the
            // local list): this answer would put online rows under it.
            if (!view || view->m_loadGeneration != load)
                return;
            view->firmwares = records;
            // Why the server gave nothing, and whether asking again may help.
            const LatestReleaseText latest = LatestReleaseText::make(records, error, view->m_catalogue.refusal);
            view->m_emptyReason = latest.reason;
            view->m_canRetry = latest.retry;
            view->reloadTableView();
        });
        break;
    default:
        break;
    }
}

void ZelFirmwareListView::reloadTableView()
{
    const QString installed = installedVersions();
    tableView->clear();
    for (const ZelFirmware& firmware : std::as_const(firmwares)) {
        auto* row = new QListWidgetItem(firmware.version, tableView);
        const QString detail = detailText(firmware);
        const bool runs = ReleaseVersion::same(firmware.version, installed);
        row->setData(DetailRole, detail);
        row->setData(InstalledRole, runs);
        QStringList spoken { firmware.version, detail };
        if (runs)
            spoken << localized("ReleaseMarkInstalled");
        row->setData(Qt::AccessibleTextRole, spoken.join(localized("ListSeparator")));
        row->setSizeHint(QSize(kTableWidth, kRowHeight));
    }
    const bool empty = firmwares.isEmpty();
    const bool local = type == ZelFirmwareListTypeLocal;
    if (!m_emptyReason.isEmpty())
        emptyContentPropmtLabel->setText(m_emptyReason);
    else
        emptyContentPropmtLabel->setText(localized(local ? "EmptyLocalFirmware" : "EmptyFirmware"));
    retryButton->setHidden(!empty || local || !m_canRetry);
    retryButton->setEnabled(true);
    m_footer->setHidden(!local);
    // The list hands the keyboard's focus to whatever takes its place.
    QAbstractButton* instead = local ? importButton : (retryButton->isHidden() ? nullptr : retryButton);
    tableView->setFocusProxy(empty ? instead : nullptr);
    const bool listHadFocus = tableView->hasFocus();
    tableView->setHidden(empty);
    m_emptyPanel->setHidden(!empty);
    emptyContentPropmtLabel->setHidden(!empty);
    if (empty && listHadFocus && instead)
        instead->setFocus();
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

void ZelFirmwareListView::importAction()
{
    auto* dialog = new QFileDialog(this, localized("ImportReleasesTitle"), m_importFolder,
        localized("ReleaseArchives") + QStringLiteral(" (*.zip)"));
    dialog->setObjectName(QStringLiteral("importDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // Its corner grip lies over its buttons; the window's frame resizes it.
    dialog->setSizeGripEnabled(false);
    connect(dialog, &QFileDialog::filesSelected, this, &ZelFirmwareListView::importFiles);
    dialog->open();
}

void ZelFirmwareListView::importFiles(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    m_importFolder = QFileInfo(paths.first()).absolutePath();
    QList<QUrl> files;
    for (const QString& path : paths)
        files.append(QUrl::fromLocalFile(path));
    importButton->setEnabled(false);
    // The same import as files opened into the application: its toasts say
    // what became of each archive, the release named.
    ZelDataTool::handleFilesInBackground(files, [view = QPointer<ZelFirmwareListView>(this)](const QList<bool>&) {
        if (!view)
            return;
        view->importButton->setEnabled(true);
        if (!view->isHidden() && view->type == ZelFirmwareListTypeLocal)
            view->loadData();
    });
}

void ZelFirmwareListView::retryAction()
{
    // Disabled, not hidden, until the answer: the keyboard's focus stays on it.
    retryButton->setEnabled(false);
    loadData();
}

void ZelFirmwareListView::resizeEvent(QResizeEvent* event)
{
    ZelOverlayView::resizeEvent(event);
    placeCard(cardView);
}
