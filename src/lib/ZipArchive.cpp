#include "lib/ZipArchive.h"

#include "lib/WriteFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <minizip/unzip.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The upper 16 bits of an entry's external attributes hold a Unix mode when
// the archive was made on a Unix system.
constexpr uint32_t kUnixTypeMask = 0170000;
constexpr uint32_t kUnixRegular = 0100000;
constexpr uint32_t kUnixDirectory = 0040000;
constexpr uint32_t kUnixSymlink = 0120000;
constexpr uLong kFlagEncrypted = 0x1;
constexpr uLong kMethodStored = 0;
constexpr uLong kMethodDeflated = Z_DEFLATED;
constexpr int kMaxEntryNameLength = 0xFFFF;
constexpr int kReadBufferSize = 64 * 1024;

struct Entry {
    QString name; // as stored, for messages
    QString relative; // safe relative path, without a trailing "/"
    bool isDirectory = false;
    uint64_t size = 0;
    unz64_file_pos position {};
};

struct ZipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};
using ZipHandle = std::unique_ptr<void, ZipCloser>;

QString decodeEntryName(const QByteArray& name)
{
    // Zip tools on Unix store UTF-8 whether or not they set the UTF-8 flag;
    // anything else is read byte for byte. Neither decoding can produce a
    // separator or a dot that is not in the bytes.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(name);
    if (utf8.hasError())
        text = QString::fromLatin1(name);
    return text;
}

QString printable(const QByteArray& name)
{
    QString text = decodeEntryName(name);
    text.replace(QChar(0), QStringLiteral("\\0"));
    return text;
}

class Extraction {
public:
    Extraction(const QString& destination, QString* error)
        : m_destination(QDir::cleanPath(QDir(destination).absolutePath()))
        , m_error(error)
    {
    }

    ~Extraction() { rollBack(); }

    ZipArchive::Result run(const QString& path);

private:
    ZipArchive::Result fail(ZipArchive::Result result, const QString& message)
    {
        if (m_error)
            *m_error = message;
        return result;
    }
    ZipArchive::Result readDirectory(void* zip);
    ZipArchive::Result checkConsistency();
    ZipArchive::Result checkExistingPaths();
    ZipArchive::Result makeFolder(const QString& folder);
    ZipArchive::Result stage(void* zip, const Entry& entry);
    ZipArchive::Result commit();
    bool isInsideDestination(const QString& existingPath) const;
    void rollBack();

    const QString m_destination;
    QString m_canonicalDestination; // once the destination exists
    QString* m_error;
    std::vector<Entry> m_entries;
    uint64_t m_totalSize = 0;
    QStringList m_createdFolders; // in creation order, removed again on failure
    struct Staged {
        std::unique_ptr<QTemporaryFile> file;
        QString target;
    };
    std::vector<Staged> m_staged;
    bool m_committed = false;
};

ZipArchive::Result Extraction::run(const QString& path)
{
    const QFileInfo source(path);
    if (!source.exists())
        return fail(ZipArchive::Result::Unreadable, QStringLiteral("%1 does not exist").arg(path));
    if (!source.isFile())
        return fail(ZipArchive::Result::Unreadable, QStringLiteral("%1 is not a file").arg(path));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return fail(
            ZipArchive::Result::Unreadable, QStringLiteral("cannot open %1: %2").arg(path, probe.errorString()));
    probe.close();

    ZipHandle zip(unzOpen64(QFile::encodeName(path).constData()));
    if (!zip)
        return fail(ZipArchive::Result::NotAnArchive,
            QStringLiteral("%1 is not a zip archive or its directory is damaged").arg(path));

    // Everything is checked before anything is written.
    if (const auto result = readDirectory(zip.get()); result != ZipArchive::Result::Ok)
        return result;
    if (const auto result = checkConsistency(); result != ZipArchive::Result::Ok)
        return result;
    if (const auto result = checkExistingPaths(); result != ZipArchive::Result::Ok)
        return result;

    if (const auto result = makeFolder(m_destination); result != ZipArchive::Result::Ok)
        return result;
    m_canonicalDestination = QFileInfo(m_destination).canonicalFilePath();

    for (const Entry& entry : m_entries) {
        const auto result = entry.isDirectory ? makeFolder(m_destination + QLatin1Char('/') + entry.relative)
                                              : stage(zip.get(), entry);
        if (result != ZipArchive::Result::Ok)
            return result;
    }
    return commit();
}

ZipArchive::Result Extraction::readDirectory(void* zip)
{
    QByteArray nameBuffer(kMaxEntryNameLength + 1, Qt::Uninitialized);
    uint64_t count = 0;
    int status = unzGoToFirstFile(zip);
    while (status == UNZ_OK) {
        if (++count > ZipArchive::kMaxEntryCount)
            return fail(
                ZipArchive::Result::TooLarge, QStringLiteral("more than %1 entries").arg(ZipArchive::kMaxEntryCount));
        unz_file_info64 info {};
        Entry entry;
        if (unzGetCurrentFileInfo64(zip, &info, nameBuffer.data(), uLong(nameBuffer.size()), nullptr, 0, nullptr, 0)
                != UNZ_OK
            || unzGetFilePos64(zip, &entry.position) != UNZ_OK)
            return fail(ZipArchive::Result::NotAnArchive, QStringLiteral("the archive's directory is damaged"));
        const QByteArray rawName(nameBuffer.constData(), int(qMin<uLong>(info.size_filename, kMaxEntryNameLength)));
        entry.name = printable(rawName);
        const std::optional<QString> relative = ZipArchive::safeRelativePath(rawName);
        if (!relative)
            return fail(ZipArchive::Result::UnsafeEntry,
                QStringLiteral("entry \"%1\" would be written outside the destination").arg(entry.name));
        entry.relative = *relative;

        const uint32_t type = (uint32_t(info.external_fa) >> 16) & kUnixTypeMask;
        if (type == kUnixSymlink)
            return fail(
                ZipArchive::Result::UnsafeEntry, QStringLiteral("entry \"%1\" is a symbolic link").arg(entry.name));
        if (type != 0 && type != kUnixRegular && type != kUnixDirectory)
            return fail(ZipArchive::Result::UnsafeEntry,
                QStringLiteral("entry \"%1\" is neither a file nor a folder").arg(entry.name));

        entry.isDirectory = rawName.endsWith('/') || rawName.endsWith('\\') || type == kUnixDirectory;
        if (entry.relative.isEmpty() && !entry.isDirectory)
            return fail(ZipArchive::Result::UnsafeEntry,
                QStringLiteral("entry \"%1\" names the destination itself").arg(entry.name));

        if (!entry.isDirectory) {
            if (info.flag & kFlagEncrypted)
                return fail(
                    ZipArchive::Result::Unsupported, QStringLiteral("entry \"%1\" is encrypted").arg(entry.name));
            if (info.compression_method != kMethodStored && info.compression_method != kMethodDeflated)
                return fail(ZipArchive::Result::Unsupported,
                    QStringLiteral("entry \"%1\" uses compression method %2")
                        .arg(entry.name)
                        .arg(info.compression_method));
            entry.size = info.uncompressed_size;
            if (entry.size > ZipArchive::kMaxEntrySize)
                return fail(ZipArchive::Result::TooLarge,
                    QStringLiteral("entry \"%1\" claims %2 bytes, more than the limit of %3")
                        .arg(entry.name)
                        .arg(entry.size)
                        .arg(ZipArchive::kMaxEntrySize));
            m_totalSize += entry.size;
            if (m_totalSize > ZipArchive::kMaxTotalSize)
                return fail(ZipArchive::Result::TooLarge,
                    QStringLiteral("the entries claim more than %1 bytes").arg(ZipArchive::kMaxTotalSize));
        }
        if (!entry.relative.isEmpty())
            m_entries.push_back(entry);
        status = unzGoToNextFile(zip);
    }
    if (status != UNZ_END_OF_LIST_OF_FILE)
        return fail(
            ZipArchive::Result::NotAnArchive, QStringLiteral("the archive's directory is damaged (%1)").arg(status));
    return ZipArchive::Result::Ok;
}

ZipArchive::Result Extraction::checkConsistency()
{
    // A name that is a file in one entry and a folder in another could only
    // be unpacked halfway.
    QSet<QString> files;
    QSet<QString> folders;
    // Two entries of one name, or of names that differ only in case, would
    // leave whichever came last: on a disk that ignores case, possibly an
    // image other than the one a check saw.
    QSet<QString> named;
    QHash<QString, QString> spellings;
    for (const Entry& entry : m_entries) {
        if (named.contains(entry.relative))
            return fail(
                ZipArchive::Result::UnsafeEntry, QStringLiteral("\"%1\" is in the archive twice").arg(entry.relative));
        named.insert(entry.relative);
        for (qsizetype end = entry.relative.indexOf(QLatin1Char('/'));;
             end = entry.relative.indexOf(QLatin1Char('/'), end + 1)) {
            const QString path = end < 0 ? entry.relative : entry.relative.left(end);
            const auto known = spellings.constFind(path.toCaseFolded());
            if (known != spellings.constEnd() && *known != path)
                return fail(ZipArchive::Result::UnsafeEntry,
                    QStringLiteral("\"%1\" and \"%2\" differ only in case").arg(*known, path));
            spellings.insert(path.toCaseFolded(), path);
            if (end < 0)
                break;
        }
    }
    for (const Entry& entry : m_entries) {
        (entry.isDirectory ? folders : files).insert(entry.relative);
        for (qsizetype slash = entry.relative.indexOf(QLatin1Char('/')); slash > 0;
             slash = entry.relative.indexOf(QLatin1Char('/'), slash + 1))
            folders.insert(entry.relative.left(slash));
    }
    for (const QString& file : std::as_const(files)) {
        if (folders.contains(file))
            return fail(ZipArchive::Result::Damaged,
                QStringLiteral("\"%1\" is both a file and a folder in the archive").arg(file));
    }
    return ZipArchive::Result::Ok;
}

bool Extraction::isInsideDestination(const QString& existingPath) const
{
    const QString canonical = QFileInfo(existingPath).canonicalFilePath();
    const QString root
        = m_canonicalDestination.isEmpty() ? QFileInfo(m_destination).canonicalFilePath() : m_canonicalDestination;
    if (canonical.isEmpty() || root.isEmpty())
        return false;
    return canonical == root || canonical.startsWith(root + QLatin1Char('/'));
}

ZipArchive::Result Extraction::checkExistingPaths()
{
    // Folders in the way are found while unpacking, before anything is
    // renamed into place; a folder in the way of a file would only be found
    // while renaming, when some files are already in place.
    for (const Entry& entry : m_entries) {
        const QFileInfo target(m_destination + QLatin1Char('/') + entry.relative);
        if (!entry.isDirectory && target.isDir() && !target.isSymLink())
            return fail(
                ZipArchive::Result::WriteFailed, QStringLiteral("a folder is in the way of \"%1\"").arg(entry.name));
    }
    return ZipArchive::Result::Ok;
}

ZipArchive::Result Extraction::makeFolder(const QString& folder)
{
    QStringList missing;
    for (QString path = folder; !QFileInfo::exists(path); path = QFileInfo(path).absolutePath()) {
        missing.prepend(path);
        if (path == QDir::rootPath())
            break;
    }
    for (const QString& path : std::as_const(missing)) {
        if (!QDir().mkdir(path))
            return fail(ZipArchive::Result::WriteFailed, QStringLiteral("cannot create the folder %1").arg(path));
        m_createdFolders.append(path);
    }
    if (!QFileInfo(folder).isDir())
        return fail(ZipArchive::Result::WriteFailed, QStringLiteral("%1 is not a folder").arg(folder));
    // A folder that already exists may be a link; unpacking through it must
    // not lead out of the destination. What was staged so far is removed.
    if (!m_canonicalDestination.isEmpty() && !isInsideDestination(folder))
        return fail(ZipArchive::Result::UnsafeEntry,
            QStringLiteral("%1 is a link that leads out of the destination").arg(folder));
    return ZipArchive::Result::Ok;
}

ZipArchive::Result Extraction::stage(void* zip, const Entry& entry)
{
    const QString target = m_destination + QLatin1Char('/') + entry.relative;
    const QString folder = QFileInfo(target).absolutePath();
    if (const auto result = makeFolder(folder); result != ZipArchive::Result::Ok)
        return result;

    if (unzGoToFilePos64(zip, &entry.position) != UNZ_OK || unzOpenCurrentFile(zip) != UNZ_OK)
        return fail(ZipArchive::Result::Damaged, QStringLiteral("entry \"%1\" cannot be opened").arg(entry.name));

    auto file = std::make_unique<QTemporaryFile>(folder + QStringLiteral("/.unzip-XXXXXX"));
    if (!file->open()) {
        unzCloseCurrentFile(zip);
        return fail(ZipArchive::Result::WriteFailed,
            QStringLiteral("cannot create a file in %1: %2").arg(folder, file->errorString()));
    }

    QByteArray buffer(kReadBufferSize, Qt::Uninitialized);
    uint64_t written = 0;
    for (;;) {
        const int count = unzReadCurrentFile(zip, buffer.data(), unsigned(buffer.size()));
        if (count < 0) {
            unzCloseCurrentFile(zip);
            return fail(ZipArchive::Result::Damaged,
                QStringLiteral("entry \"%1\" is damaged (%2)")
                    .arg(entry.name,
                        count == UNZ_CRCERROR ? QStringLiteral("CRC mismatch")
                                              : QStringLiteral("error %1").arg(count)));
        }
        if (count == 0)
            break;
        errno = 0;
        if (file->write(buffer.constData(), count) != count) {
            const int systemError = errno;
            unzCloseCurrentFile(zip);
            return fail(ZipArchive::Result::WriteFailed,
                QStringLiteral("cannot write %1: %2").arg(target, WriteFailure::reason(*file, systemError)));
        }
        written += uint64_t(count);
    }
    const int closed = unzCloseCurrentFile(zip);
    // The CRC is only checked when the whole declared size came out, so a
    // short entry has to be caught here.
    if (written != entry.size)
        return fail(ZipArchive::Result::Damaged,
            QStringLiteral("entry \"%1\" ends after %2 of its %3 bytes").arg(entry.name).arg(written).arg(entry.size));
    if (closed != UNZ_OK)
        return fail(ZipArchive::Result::Damaged,
            QStringLiteral("entry \"%1\" is damaged (%2)")
                .arg(entry.name,
                    closed == UNZ_CRCERROR ? QStringLiteral("CRC mismatch") : QStringLiteral("error %1").arg(closed)));
    errno = 0;
    if (!file->flush()) {
        return fail(ZipArchive::Result::WriteFailed,
            QStringLiteral("cannot write %1: %2").arg(target, WriteFailure::reason(*file, errno)));
    }
    file->close();
    file->setPermissions(
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    m_staged.push_back({ std::move(file), target });
    return ZipArchive::Result::Ok;
}

ZipArchive::Result Extraction::commit()
{
    m_committed = true; // what has been renamed cannot be taken back
    for (Staged& staged : m_staged) {
        // rename() replaces an existing file in one step, unlike QFile::rename.
        if (std::rename(
                QFile::encodeName(staged.file->fileName()).constData(), QFile::encodeName(staged.target).constData())
            != 0)
            return fail(ZipArchive::Result::WriteFailed,
                QStringLiteral("cannot move the unpacked %1 into place: %2")
                    .arg(staged.target, QString::fromLocal8Bit(std::strerror(errno))));
        staged.file->setAutoRemove(false);
    }
    return ZipArchive::Result::Ok;
}

void Extraction::rollBack()
{
    m_staged.clear(); // removes the temporaries that were not renamed
    if (m_committed)
        return;
    for (auto it = m_createdFolders.crbegin(); it != m_createdFolders.crend(); ++it)
        QDir().rmdir(*it);
}

} // namespace

std::optional<QString> ZipArchive::safeRelativePath(const QByteArray& entryName)
{
    if (entryName.isEmpty() || entryName.contains('\0'))
        return {};
    QString name = decodeEntryName(entryName);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')))
        return {};
    if (name.size() >= 2 && name[1] == QLatin1Char(':') && name[0].isLetter())
        return {};

    QStringList parts;
    for (const QString& part : name.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (parts.isEmpty())
                return {};
            parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return parts.join(QLatin1Char('/'));
}

ZipArchive::Result ZipArchive::unzip(const QString& path, const QString& destination, QString* error)
{
    if (error)
        error->clear();
    Extraction extraction(destination, error);
    return extraction.run(path);
}

bool ZipArchive::unzipFileAtPath(const QString& path, const QString& destination, QString* error)
{
    return unzip(path, destination, error) == Result::Ok;
}
