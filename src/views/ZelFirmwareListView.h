#pragma once

#include "firmware/ZelFirmware.h"
#include "views/ZelOverlayView.h"

#include <QList>

#include <functional>
#include <optional>

class QLabel;
class QListWidget;

enum ZelFirmwareListType : quint64 {
    ZelFirmwareListTypeLocal = 0,
    ZelFirmwareListTypeOnline = 1,
};

// The overlay in which the user picks a release: a dimmed layer with a small
// table of the local or the online releases.
class ZelFirmwareListView : public ZelOverlayView {
    Q_OBJECT
public:
    static constexpr int kTableWidth = 320;
    static constexpr int kTableHeight = 250;
    static constexpr int kRowHeight = 35;
    // What a release's signature is worth, in a word or two; the user's own
    // local releases are never checked, and say so.
    static QString signatureText(const ZelFirmware& firmware);

    explicit ZelFirmwareListView(QWidget* parent = nullptr);

    quint64 type = ZelFirmwareListTypeLocal;
    // Receives the pick; no record when the row lies beyond the list.
    std::function<void(std::optional<ZelFirmware>)> selectFirmwareBlock;
    QListWidget* tableView = nullptr;
    QList<ZelFirmware> firmwares;
    QLabel* emptyContentPropmtLabel = nullptr;

    void loadData();
    void reloadTableView();
    void hideSelf();
    void didSelectRow(int row);

protected:
    // Showing reloads the list of the current type.
    void didSetHidden(bool hidden) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_headerLabel = nullptr;
    // Counts loads; an online answer is used only by the load that asked for it.
    quint64 m_loadGeneration = 0;
};
