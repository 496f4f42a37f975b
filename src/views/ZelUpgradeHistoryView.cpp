#include "views/ZelUpgradeHistoryView.h"

#include "platform/runtime/Localization.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kCardMargin = 12;

// The rows sit on the dark card; the overlay's own style sheet takes
// precedence over the application's.
const char* const kOverlayStyle
    = "QListWidget#historyTableView { background: transparent; color: #e6e7ec; font-size: 13px; }"
      "QListWidget#historyTableView::item { padding: 8px 4px; border-bottom: 1px solid #33363f; }";

QString outcomeText(const QString& outcome)
{
    if (outcome == QLatin1String("completed"))
        return localized("OutcomeCompleted");
    if (outcome == QLatin1String("cancelled"))
        return localized("OutcomeCancelled");
    return localized("OutcomeFailed");
}

QString orUnknown(const QString& versions)
{
    return versions.isEmpty() ? QStringLiteral("?") : versions;
}

} // namespace

ZelUpgradeHistoryView::ZelUpgradeHistoryView(QWidget* parent)
    : ZelOverlayView(parent)
{
    setStyleSheet(QString::fromLatin1(kOverlayStyle));

    m_card = new QWidget(this);
    m_card->setObjectName(QStringLiteral("historyCard"));
    m_card->setProperty("role", QStringLiteral("panel"));
    m_card->setAttribute(Qt::WA_StyledBackground, true);
    m_card->setFixedSize(kCardWidth, kCardHeight);
    auto* layout = new QVBoxLayout(m_card);
    layout->setContentsMargins(kCardMargin, kCardMargin, kCardMargin, kCardMargin);

    auto* header = new QLabel(localized("UpgradeHistory"), m_card);
    header->setObjectName(QStringLiteral("historyHeaderLabel"));
    header->setProperty("role", QStringLiteral("prompt"));
    header->setAlignment(Qt::AlignCenter);
    layout->addWidget(header);

    tableView = new QListWidget(m_card);
    tableView->setObjectName(QStringLiteral("historyTableView"));
    tableView->setFrameShape(QFrame::NoFrame);
    tableView->setWordWrap(true);
    tableView->setSelectionMode(QAbstractItemView::NoSelection);
    tableView->setFocusPolicy(Qt::NoFocus);
    tableView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    layout->addWidget(tableView, 1);

    emptyContentPropmtLabel = new QLabel(m_card);
    emptyContentPropmtLabel->setObjectName(QStringLiteral("historyEmptyLabel"));
    emptyContentPropmtLabel->setProperty("role", QStringLiteral("detail"));
    emptyContentPropmtLabel->setAlignment(Qt::AlignCenter);
    emptyContentPropmtLabel->setWordWrap(true);
    layout->addWidget(emptyContentPropmtLabel, 1);

    reloadData();
}

QString ZelUpgradeHistoryView::rowText(const UpgradeRecord& record)
{
    const QString when = record.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString release = record.source == QLatin1String("files") ? localized("HistoryFiles")
                                                                    : localized("HistoryRelease").arg(record.release);
    QString text = when + QStringLiteral("  ") + outcomeText(record.outcome) + QLatin1Char('\n') + release
        + QStringLiteral(" · ") + localized("HistoryVersions").arg(orUnknown(record.before), orUnknown(record.after));
    if (!record.controller.isEmpty())
        text += QStringLiteral(" · ")
            + localized("HistoryController").arg(ZelFirmwareUpgradeManager::addressWithColons(record.controller));
    if (!record.reason.isEmpty())
        text += QLatin1Char('\n') + record.reasonText();
    return text;
}

void ZelUpgradeHistoryView::reloadData()
{
    const UpgradeHistory history;
    bool ok = true;
    QList<UpgradeRecord> records = history.records(&ok);
    std::reverse(records.begin(), records.end());
    tableView->clear();
    for (const UpgradeRecord& record : std::as_const(records))
        new QListWidgetItem(rowText(record), tableView);
    emptyContentPropmtLabel->setText(
        ok ? localized("HistoryEmpty") : localized("HistoryUnreadable").arg(history.path()));
    const bool empty = records.isEmpty();
    emptyContentPropmtLabel->setHidden(!empty);
    tableView->setHidden(empty);
}

void ZelUpgradeHistoryView::didSetHidden(bool hidden)
{
    if (!hidden)
        reloadData();
}

void ZelUpgradeHistoryView::resizeEvent(QResizeEvent* event)
{
    ZelOverlayView::resizeEvent(event);
    // On a small window the card takes what there is.
    m_card->setFixedSize(std::min(kCardWidth, width()), std::min(kCardHeight, height()));
    placeCard(m_card);
}
