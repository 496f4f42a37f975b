#include "firmware/DownloadStore.h"

#include "firmware/ZelFirmwareDataTool.h"
#include "lib/RecordFile.h"
#include "platform/runtime/DocumentStore.h"

#include <QFile>

#include <plist/plist.h>

#include <memory>

namespace {

struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using Plist = std::unique_ptr<void, PlistDeleter>;

// The file's dictionary; null when the file is missing, unreadable or not a dictionary.
Plist readDictionary(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return nullptr;
    plist_t root = nullptr;
    if (bytes.startsWith("bplist00"))
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    else
        plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
    Plist owned(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT)
        return nullptr;
    return owned;
}

bool writeDictionary(const QString& path, plist_t root, QString* reason)
{
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    if (!xml)
        return false;
    const QByteArray bytes(xml, qsizetype(length));
    free(xml);
    return RecordFile::write(path, bytes, reason);
}

// A string node's text; strings may hold any bytes, NUL included, so the
// length comes from the node, never from the text.
QByteArray stringBytes(plist_t node)
{
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    return text ? QByteArray(text, qsizetype(length)) : QByteArray();
}

bool arrayHoldsString(plist_t array, const QString& text)
{
    if (!array || plist_get_node_type(array) != PLIST_ARRAY)
        return false;
    const QByteArray wanted = text.toUtf8();
    for (uint32_t i = 0; i < plist_array_get_size(array); ++i) {
        plist_t item = plist_array_get_item(array, i);
        if (plist_get_node_type(item) == PLIST_STRING && stringBytes(item) == wanted)
            return true;
    }
    return false;
}

} // namespace

DownloadStore::DownloadStore(const QString& filePath, const QString& product)
    : m_path(filePath)
    , m_product(product)
{
}

DownloadStore DownloadStore::in(const DocumentStore& documents)
{
    return DownloadStore(documents.downloadsRecord(), DocumentStore::kProductFolder);
}

DownloadStore DownloadStore::inDocuments()
{
    return in(DocumentStore::current());
}

QString DownloadStore::folderForVersion(const QString& version) const
{
    const Plist root = readDictionary(m_path);
    if (!root || !arrayHoldsString(plist_dict_get_item(root.get(), kGamepadsKey.toUtf8().constData()), m_product))
        return QString();
    plist_t records = plist_dict_get_item(root.get(), m_product.toUtf8().constData());
    if (!records || plist_get_node_type(records) != PLIST_DICT)
        return QString();
    plist_t folder = plist_dict_get_item(records, version.toUtf8().constData());
    if (!folder || plist_get_node_type(folder) != PLIST_STRING)
        return QString();
    return QString::fromUtf8(stringBytes(folder));
}

QHash<QString, QString> DownloadStore::records() const
{
    QHash<QString, QString> out;
    const Plist root = readDictionary(m_path);
    if (!root || !arrayHoldsString(plist_dict_get_item(root.get(), kGamepadsKey.toUtf8().constData()), m_product))
        return out;
    plist_t records = plist_dict_get_item(root.get(), m_product.toUtf8().constData());
    if (!records || plist_get_node_type(records) != PLIST_DICT)
        return out;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(records, &it);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(records, it, &key, &value);
        if (!key)
            break;
        if (value && plist_get_node_type(value) == PLIST_STRING)
            out.insert(QString::fromUtf8(key), QString::fromUtf8(stringBytes(value)));
        free(key);
    }
    free(it);
    return out;
}

bool DownloadStore::recordDownload(const QString& version, const QString& folder, QString* reason)
{
    Plist root = readDictionary(m_path);
    if (!root) {
        // No file yet, or one that cannot be read as a dictionary: that one is
        // kept aside rather than overwritten.
        if (QFile::exists(m_path)) {
            QFile::remove(m_path + DocumentStore::kDamagedSuffix);
            QFile::rename(m_path, m_path + DocumentStore::kDamagedSuffix);
        }
        root.reset(plist_new_dict());
    }
    const QByteArray product = m_product.toUtf8();
    plist_t gamepads = plist_dict_get_item(root.get(), kGamepadsKey.toUtf8().constData());
    if (!arrayHoldsString(gamepads, m_product)) {
        if (!gamepads || plist_get_node_type(gamepads) != PLIST_ARRAY) {
            gamepads = plist_new_array();
            plist_dict_set_item(root.get(), kGamepadsKey.toUtf8().constData(), gamepads);
        }
        plist_array_append_item(gamepads, plist_new_string(product.constData()));
        plist_dict_set_item(root.get(), product.constData(), plist_new_dict());
    }
    plist_t records = plist_dict_get_item(root.get(), product.constData());
    if (!records || plist_get_node_type(records) != PLIST_DICT) {
        records = plist_new_dict();
        plist_dict_set_item(root.get(), product.constData(), records);
    }
    const QByteArray key = version.toUtf8();
    if (!plist_dict_get_item(records, key.constData()))
        plist_dict_set_item(records, key.constData(), plist_new_string(folder.toUtf8().constData()));
    return writeDictionary(m_path, root.get(), reason);
}

bool DownloadStore::removeVersion(const QString& version, QString* reason)
{
    Plist root = readDictionary(m_path);
    if (!root)
        return false;
    plist_t records = plist_dict_get_item(root.get(), m_product.toUtf8().constData());
    if (!records || plist_get_node_type(records) != PLIST_DICT)
        return false;
    plist_dict_remove_item(records, version.toUtf8().constData());
    return writeDictionary(m_path, root.get(), reason);
}
