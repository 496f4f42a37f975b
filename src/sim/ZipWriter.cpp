#include "sim/ZipWriter.h"

#include <QDateTime>
#include <QFile>

#include <minizip/zip.h>

namespace {

constexpr uLong kMadeOnUnix = 3 << 8;
constexpr uLong kZipVersion = 20; // 2.0: folders and deflate
constexpr uLong kFlagUtf8Names = 1 << 11;
constexpr unsigned kRegularMode = 0100644;
constexpr unsigned kDirectoryMode = 0040755;
constexpr unsigned kSymlinkMode = 0120777;
constexpr uLong kMsDosDirectory = 0x10;
constexpr int kMemLevel = 8;
constexpr qint64 kChunkSize = 1 << 20;
// Entries of 4 GiB and more need the 64-bit extension.
constexpr qint64 kLargeEntrySize = 0xFFFFFFFFLL;

} // namespace

ZipWriter::ZipWriter(const QString& path)
{
    m_zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!m_zip)
        m_error = QStringLiteral("cannot create %1").arg(path);
}

ZipWriter::~ZipWriter()
{
    close();
}

bool ZipWriter::failed(const QString& message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

bool ZipWriter::begin(const QString& name, unsigned unixMode, bool stored, bool large)
{
    if (!m_zip)
        return failed(QStringLiteral("the archive is not open"));
    const QDateTime now = QDateTime::currentDateTime();
    zip_fileinfo info {};
    info.tmz_date.tm_year = uInt(now.date().year());
    info.tmz_date.tm_mon = uInt(now.date().month() - 1);
    info.tmz_date.tm_mday = uInt(now.date().day());
    info.tmz_date.tm_hour = uInt(now.time().hour());
    info.tmz_date.tm_min = uInt(now.time().minute());
    info.tmz_date.tm_sec = uInt(now.time().second());
    info.external_fa = uLong(unixMode) << 16;
    if ((unixMode & 0170000) == 0040000)
        info.external_fa |= kMsDosDirectory;
    const int status = zipOpenNewFileInZip4_64(m_zip, name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0, nullptr,
        stored ? 0 : Z_DEFLATED, stored ? 0 : Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, kMemLevel, Z_DEFAULT_STRATEGY,
        nullptr, 0, kMadeOnUnix | kZipVersion, kFlagUtf8Names, large ? 1 : 0);
    if (status != ZIP_OK)
        return failed(QStringLiteral("cannot add \"%1\" (%2)").arg(name).arg(status));
    return true;
}

bool ZipWriter::write(const char* data, qint64 size)
{
    while (size > 0) {
        const unsigned chunk = unsigned(qMin(size, kChunkSize));
        if (zipWriteInFileInZip(m_zip, data, chunk) != ZIP_OK)
            return failed(QStringLiteral("cannot write the archive"));
        data += chunk;
        size -= chunk;
    }
    return true;
}

bool ZipWriter::end()
{
    if (zipCloseFileInZip(m_zip) != ZIP_OK)
        return failed(QStringLiteral("cannot finish an entry"));
    return true;
}

bool ZipWriter::addFile(const QString& nameInArchive, const QByteArray& data, bool stored)
{
    if (!begin(nameInArchive, kRegularMode, stored, data.size() >= kLargeEntrySize))
        return false;
    const bool written = write(data.constData(), data.size());
    return end() && written;
}

bool ZipWriter::addFileFromPath(const QString& nameInArchive, const QString& sourcePath, bool stored)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("cannot read %1: %2").arg(sourcePath, source.errorString()));
    if (!begin(nameInArchive, kRegularMode, stored, source.size() >= kLargeEntrySize))
        return false;
    bool written = true;
    QByteArray buffer(kChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 count = source.read(buffer.data(), buffer.size());
        if (count < 0)
            written = failed(QStringLiteral("cannot read %1: %2").arg(sourcePath, source.errorString()));
        if (count <= 0 || !written)
            break;
        written = write(buffer.constData(), count);
    }
    return end() && written;
}

bool ZipWriter::addDirectory(const QString& nameInArchive)
{
    const QString name = nameInArchive.endsWith(QLatin1Char('/')) ? nameInArchive : nameInArchive + QLatin1Char('/');
    return begin(name, kDirectoryMode, true, false) && end();
}

bool ZipWriter::addSymlink(const QString& nameInArchive, const QString& target)
{
    // A Unix link entry stores its target as the entry's contents.
    if (!begin(nameInArchive, kSymlinkMode, true, false))
        return false;
    const QByteArray bytes = QFile::encodeName(target);
    const bool written = write(bytes.constData(), bytes.size());
    return end() && written;
}

bool ZipWriter::close()
{
    if (!m_zip)
        return false;
    const int status = zipClose(m_zip, nullptr);
    m_zip = nullptr;
    if (status != ZIP_OK)
        return failed(QStringLiteral("cannot write the archive's directory"));
    return m_error.isEmpty();
}
