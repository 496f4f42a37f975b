#pragma once

#include "firmware/ZelFirmware.h"
#include "views/ZelOverlayView.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class QAbstractButton;
class QLabel;
class QListWidget;
class ZelFirmwareDataTool;

enum ZelFirmwareListType : quint64 {
    ZelFirmwareListTypeLocal = 0,
    ZelFirmwareListTypeOnline = 1,
};

// The overlay in which the user picks a release: a dimmed layer with a card
// listing the local or the online releases, each with its date, its
// signature and whether the controller runs it already. The local list
// imports archives; the online list says why the server gave none.
class ZelFirmwareListView : public ZelOverlayView {
    Q_OBJECT
public:
    static constexpr int kTableWidth = 340;
    static constexpr int kTableHeight = 290;
    static constexpr int kRowHeight = 48;
    // A row's parts besides its text, for the painting and for tests.
    enum Role { VersionRole = Qt::UserRole + 1, DetailRole, InstalledRole };

    // When the release is from: the server's release date of an online
    // release, the day a local one was imported; empty when unknown.
    static QString dateText(const ZelFirmware& firmware);
    // A row's second line: its date and its signature.
    static QString detailText(const ZelFirmware& firmware);

    // The catalogue whose local and online releases it lists; it outlives the list.
    explicit ZelFirmwareListView(ZelFirmwareDataTool& catalogue, QWidget* parent = nullptr);

    quint64 type = ZelFirmwareListTypeLocal;
    // Receives the pick; no record when the row lies beyond the list.
    std::function<void(std::optional<ZelFirmware>)> selectFirmwareBlock;
    // The card the list sits on.
    QWidget* cardView = nullptr;
    QListWidget* tableView = nullptr;
    QList<ZelFirmware> firmwares;
    // Shown instead of the rows when the list is empty: how to add a local
    // release, or why the server gave none.
    QLabel* emptyContentPropmtLabel = nullptr;
    // The local list's way to add releases: a file dialog for archives.
    QAbstractButton* importButton = nullptr;
    // The online list's, when the server could not be reached.
    QAbstractButton* retryButton = nullptr;

    void loadData();
    void reloadTableView();
    void hideSelf();
    void didSelectRow(int row);
    // Opens the file dialog; the archives chosen are imported in the background.
    void importAction();
    // Imports archives as if chosen in the dialog; the list reloads when
    // the imports have ended.
    void importFiles(const QStringList& paths);
    void retryAction();

    // The attached controller's versions as the engine last read them from
    // it, empty when there are none: the release that matches is marked.
    static QString installedVersions();

protected:
    // Showing reloads the list of the current type.
    void didSetHidden(bool hidden) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ZelFirmwareDataTool& m_catalogue;
    QLabel* m_headerLabel = nullptr;
    QWidget* m_emptyPanel = nullptr;
    QWidget* m_footer = nullptr;
    // Counts loads; an online answer is used only by the load that asked for it.
    quint64 m_loadGeneration = 0;
    // Why the online list is empty, when the server could not give it, and
    // whether asking again may help.
    QString m_emptyReason;
    bool m_canRetry = false;
    // Where the file dialog opens: the folder of the last archives chosen.
    QString m_importFolder;
};
