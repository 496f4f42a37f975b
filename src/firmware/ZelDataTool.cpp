#include "firmware/ZelDataTool.h"

#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "lib/WriteFailure.h"
#include "lib/ZipArchive.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThreadPool>
#include <QUrl>

#include <algorithm>
#include <cerrno>

namespace {

Q_LOGGING_CATEGORY(lcImport, "q3dart.import")

const QLatin1String kVersionCharacters("1234567890.-");
const QLatin1String kArchiveExtension("zip");
constexpr qint64 kCopyChunkSize = 1 << 20;

// The messages of an import, in order, with how long each is shown; the
// progress message is flagged, so that an import in the background can show
// it before it starts.
struct Shown {
    QString text;
    double seconds;
    bool progress;
};

// "Unzipping NAME…", in the language's own punctuation.
QString unzipping(const QString& names)
{
    return localized("UnzippingFile").arg(names);
}

void show(const QString& text, double seconds, QList<Shown>* shown, bool progress = false)
{
    shown->append({ text, seconds, progress });
}

void present(const QList<Shown>& shown, QStringList* messages, bool skipProgress)
{
    for (const Shown& s : shown) {
        if (skipProgress && s.progress)
            continue;
        MessageToast::showMsgWithtext(s.text, s.seconds);
        if (messages)
            messages->append(s.text);
    }
}

// One import at a time: two of the same version would unpack into one folder.
QThreadPool& importPool()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool; // lives as long as the process
        p->setMaxThreadCount(1);
        return p;
    }();
    return *pool;
}

bool importInto(const QString& path, QList<Shown>* messages);

void makeFolder(const QString& path)
{
    if (!QFileInfo::exists(path))
        QDir().mkdir(path);
}

// Why a copy failed: the user's file could not be read, or our copy not written.
enum class CopyFailure { None, Read, Write };

// Copies source into the open file; the failure with the system's reason in error.
CopyFailure copyInto(const QString& source, QFile& destination, QString* error)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        *error = input.errorString();
        return CopyFailure::Read;
    }
    QByteArray buffer(kCopyChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 count = input.read(buffer.data(), buffer.size());
        if (count < 0) {
            *error = input.errorString();
            return CopyFailure::Read;
        }
        if (count == 0)
            break;
        errno = 0;
        if (destination.write(buffer.constData(), count) != count) {
            *error = WriteFailure::reason(destination, errno);
            return CopyFailure::Write;
        }
    }
    // A full disk may only show when the buffered bytes reach it.
    errno = 0;
    if (!destination.flush()) {
        *error = WriteFailure::reason(destination, errno);
        return CopyFailure::Write;
    }
    destination.close();
    return CopyFailure::None;
}

} // namespace

QString ZelDataTool::transData2HexString(const QByteArray& data)
{
    return QString::fromLatin1(data.toHex());
}

QString ZelDataTool::w8FirmwareNameString(const QString& name)
{
    QString kept;
    for (const QChar c : name) {
        if (kVersionCharacters.contains(c))
            kept.append(c);
    }
    return kept;
}

QString ZelDataTool::localProductFolder()
{
    return ZelFirmwareDataTool::localFirmwareFolder();
}

bool ZelDataTool::handleFile(const QUrl& fileUrl)
{
    if (!fileUrl.isLocalFile())
        return false;
    return importArchive(fileUrl.toLocalFile(), nullptr);
}

bool ZelDataTool::importArchive(const QString& path, QStringList* messages)
{
    QList<Shown> shown;
    const bool imported = importInto(path, &shown);
    present(shown, messages, false);
    return imported;
}

QList<ZelDataTool::ImportResult> ZelDataTool::importArchives(const QStringList& paths)
{
    QList<ImportResult> results;
    for (const QString& path : paths) {
        QList<Shown> shown;
        ImportResult result;
        result.imported = importInto(path, &shown);
        // The outcome is the last message an import shows.
        result.outcome = shown.isEmpty() ? QString() : shown.last().text;
        results.append(result);
    }
    return results;
}

QString ZelDataTool::resultLine(const QString& name, const ImportResult& result)
{
    return name + localized(":") + result.outcome;
}

void ZelDataTool::handleFileInBackground(const QUrl& fileUrl, std::function<void(bool imported)> done)
{
    if (!fileUrl.isLocalFile())
        return;
    const QString path = fileUrl.toLocalFile();
    MessageToast::showMsgWithtext(unzipping(QFileInfo(path).fileName()), kProgressSeconds);
    importPool().start([path, done] {
        auto shown = std::make_shared<QList<Shown>>();
        const bool imported = importInto(path, shown.get());
        MainQueue::dispatchAsync([shown, imported, done] {
            present(*shown, nullptr, true);
            if (done)
                done(imported);
        });
    });
}

void ZelDataTool::handleFilesInBackground(
    const QList<QUrl>& fileUrls, std::function<void(const QList<bool>& imported)> done)
{
    QStringList paths;
    for (const QUrl& url : fileUrls)
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (paths.size() == 1) {
        handleFileInBackground(QUrl::fromLocalFile(paths.first()), [done](bool imported) {
            if (done)
                done({ imported });
        });
        return;
    }
    if (paths.isEmpty())
        return;
    QStringList names;
    for (const QString& path : std::as_const(paths))
        names.append(QFileInfo(path).fileName());
    MessageToast::showMsgWithtext(unzipping(names.join(localized("ListSeparator"))), kProgressSeconds);
    importPool().start([paths, names, done] {
        QList<bool> results;
        QStringList lines;
        const QList<ImportResult> imports = importArchives(paths);
        for (int i = 0; i < paths.size(); ++i) {
            results.append(imports.at(i).imported);
            lines.append(resultLine(names.at(i), imports.at(i)));
        }
        MainQueue::dispatchAsync([results, lines, done] {
            MessageToast::showMsgWithtext(lines.join(QLatin1Char('\n')),
                ZelDataTool::kRefusedSeconds + ZelDataTool::kSecondsPerResultLine * double(lines.size()));
            if (done)
                done(results);
        });
    });
}

namespace {

bool importInto(const QString& path, QList<Shown>* messages)
{
    const QFileInfo incoming(path);
    const QString fileName = incoming.fileName();
    // A browser that downloads one name twice adds " (1)": not part of the version.
    static const QRegularExpression duplicateSuffix(QStringLiteral("\\s*\\(\\d+\\)$"));
    const QString folderName = ZelDataTool::w8FirmwareNameString(incoming.completeBaseName().remove(duplicateSuffix));

    const QString importFolder = DocumentStore::current().path(DocumentStore::kLocalReleases);
    makeFolder(importFolder);
    const QString productFolder = ZelDataTool::localProductFolder();
    makeFolder(productFolder);

    if (incoming.suffix() != kArchiveExtension) {
        show(localized("CannotUnzipPrompt"), ZelDataTool::kRefusedSeconds, messages);
        return false;
    }
    // The folder name is the release's version. Without a digit in it the
    // archive would unpack into the product folder itself ("firmware.zip")
    // or above it ("...zip" gives "..").
    if (std::none_of(folderName.cbegin(), folderName.cend(), [](QChar c) { return c.isDigit(); })) {
        qCWarning(lcImport) << "refused" << path << ": its name holds no version";
        show(localized("ArchiveNameNoVersion").arg(fileName), ZelDataTool::kRefusedSeconds, messages);
        return false;
    }

    // The archive is unpacked from a private copy: the user's file stays
    // where it is, unchanged, and cannot change while it is read.
    QTemporaryFile copy(productFolder + QLatin1Char('/') + fileName + QStringLiteral(".XXXXXX"));
    QString error;
    if (!copy.open()) {
        qCWarning(lcImport) << "cannot copy" << path << ":" << copy.errorString();
        show(localized("ImportCopyFailed").arg(copy.errorString()), ZelDataTool::kRefusedSeconds, messages);
        return false;
    }
    if (const CopyFailure failure = copyInto(path, copy, &error); failure != CopyFailure::None) {
        qCWarning(lcImport) << "cannot copy" << path << ":" << error;
        show(localized(failure == CopyFailure::Read ? "ImportReadFailed" : "ImportCopyFailed").arg(error),
            ZelDataTool::kRefusedSeconds, messages);
        return false;
    }

    show(unzipping(fileName), ZelDataTool::kProgressSeconds, messages, true);
    const QString releaseFolder = productFolder + QLatin1Char('/') + folderName;
    const ZipArchive::Result result = ZipArchive::unzip(copy.fileName(), releaseFolder, &error);
    copy.remove();

    switch (result) {
    case ZipArchive::Result::Ok:
        // Named, so that the user knows which release the list gained.
        show(localized("ReleaseImported").arg(folderName), ZelDataTool::kFinishedSeconds, messages);
        return true;
    case ZipArchive::Result::UnsafeEntry:
        qCWarning(lcImport) << "refused" << path << ":" << error;
        show(localized("ArchiveUnsafePaths"), ZelDataTool::kRefusedSeconds, messages);
        return false;
    case ZipArchive::Result::WriteFailed:
        // The package is sound; the disk (full, or a file in the way) is not.
        qCWarning(lcImport) << "cannot unpack" << path << ":" << error;
        show(localized("ImportCopyFailed").arg(error), ZelDataTool::kRefusedSeconds, messages);
        return false;
    default:
        qCWarning(lcImport) << "cannot unpack" << path << ":" << error;
        show(localized("UnzipFailed"), ZelDataTool::kRefusedSeconds, messages);
        return false;
    }
}

} // namespace
