#include "views/ExternalLink.h"

#include "platform/runtime/Localization.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {
Q_LOGGING_CATEGORY(lcLinks, "q3dart.links")
}

bool ExternalLink::open(const QUrl& url, QWidget* parent)
{
    if (QDesktopServices::openUrl(url))
        return true;
    qCWarning(lcLinks) << "no browser could be started for" << url.toString(QUrl::FullyEncoded);
    auto* dialog = new QMessageBox(parent);
    dialog->setObjectName(QStringLiteral("linkDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setIcon(QMessageBox::Information);
    dialog->setText(localized("NoBrowserPrompt"));
    // The address, to be selected and copied by hand as well; encoded, so
    // that a page's address is never read as markup.
    const QString address = url.toString(QUrl::FullyEncoded);
    dialog->setInformativeText(address);
    if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    QPushButton* copy = dialog->addButton(localized("CopyLink"), QMessageBox::AcceptRole);
    QPushButton* close = dialog->addButton(localized("Close"), QMessageBox::RejectRole);
    copy->setObjectName(QStringLiteral("copyLinkButton"));
    close->setObjectName(QStringLiteral("closeLinkButton"));
    dialog->setDefaultButton(copy);
    dialog->setEscapeButton(close);
    QObject::connect(copy, &QPushButton::clicked, copy, [address] { QGuiApplication::clipboard()->setText(address); });
    dialog->open();
    return false;
}
