#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QString>
#include <QtEndian>

// Helpers for tests that build zip archives, damage them on purpose and check
// what ended up on disk.
namespace testsupport {

inline QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(random.bounded(256));
    return bytes;
}

inline QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every file, folder and link under root with its contents, to compare a tree
// before and after an operation. Hidden files count.
inline QMap<QString, QByteArray> treeSnapshot(const QString& root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(
        root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        const QString key = QDir(root).relativeFilePath(path);
        if (info.isSymLink())
            tree[key] = "link to " + QFile::encodeName(info.symLinkTarget());
        else if (info.isDir())
            tree[key] = "folder";
        else
            tree[key] = fileContents(path);
    }
    return tree;
}

// Offsets into an archive made by ZipWriter, for damaging it in a chosen place.
struct ZipLayout {
    // Local header fields.
    static constexpr int kLocalSignature = 0;
    static constexpr int kLocalCrc = 14;
    static constexpr int kLocalUncompressedSize = 22;
    static constexpr int kLocalHeaderSize = 30;
    // Central directory fields.
    static constexpr int kCentralSignature = 0;
    static constexpr int kCentralFlags = 8;
    static constexpr int kCentralMethod = 10;
    static constexpr int kCentralCrc = 16;
    static constexpr int kCentralUncompressedSize = 24;
    static constexpr int kCentralExternalAttributes = 38;

    // Where the index-th local header or central directory entry starts.
    static qsizetype local(const QByteArray& zip, int index) { return nth(zip, QByteArray("PK\x03\x04", 4), index); }
    static qsizetype central(const QByteArray& zip, int index) { return nth(zip, QByteArray("PK\x01\x02", 4), index); }

    static void put16(QByteArray& zip, qsizetype at, quint16 value) { qToLittleEndian(value, zip.data() + at); }
    static void put32(QByteArray& zip, qsizetype at, quint32 value) { qToLittleEndian(value, zip.data() + at); }
    static quint32 get32(const QByteArray& zip, qsizetype at)
    {
        return qFromLittleEndian<quint32>(zip.constData() + at);
    }

private:
    static qsizetype nth(const QByteArray& zip, const QByteArray& signature, int index)
    {
        qsizetype at = -1;
        for (int i = 0; i <= index; ++i) {
            at = zip.indexOf(signature, at + 1);
            if (at < 0)
                return -1;
        }
        return at;
    }
};

} // namespace testsupport
