#pragma once

#include "views/ZelOverlayView.h"

class QLabel;
class QListWidget;
struct UpgradeRecord;

// The overlay that lists the recorded upgrade runs, newest first, in the
// user's language: when, how each ended and why, and the versions before
// and after.
class ZelUpgradeHistoryView : public ZelOverlayView {
    Q_OBJECT
public:
    static constexpr int kCardWidth = 460;
    static constexpr int kCardHeight = 300;

    explicit ZelUpgradeHistoryView(QWidget* parent = nullptr);

    QListWidget* tableView = nullptr;
    // Says that nothing is recorded, or that the file cannot be read.
    QLabel* emptyContentPropmtLabel = nullptr;

    // Reads the history file again.
    void reloadData();
    // One run as a row: "when · outcome", the release and versions, the reason.
    static QString rowText(const UpgradeRecord& record);

protected:
    // Showing reads the history again.
    void didSetHidden(bool hidden) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_card = nullptr;
};
