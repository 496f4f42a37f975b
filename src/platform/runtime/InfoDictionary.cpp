#include "platform/runtime/InfoDictionary.h"

#include <QFile>

#include <plist/plist.h>

namespace {

QVariant toVariant(plist_t node, int depth = 0)
{
    if (!node || depth > 32)
        return {};
    switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return QString::fromUtf8(text ? text : "", text ? qsizetype(length) : 0);
    }
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return bool(b);
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return QVariant::fromValue<qulonglong>(v);
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return v;
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i)
            list.append(toVariant(plist_array_get_item(node, i), depth + 1));
        return list;
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!key)
                break;
            map.insert(QString::fromUtf8(key), toVariant(value, depth + 1));
            free(key);
        }
        free(it);
        return map;
    }
    default:
        return {};
    }
}

} // namespace

bool InfoDictionary::parse(const QByteArray& bytes, QVariantMap* out)
{
    if (bytes.isEmpty())
        return false;
    plist_t root = nullptr;
    if (bytes.startsWith("bplist00"))
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    else
        plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root)
        return false;
    const bool isDict = plist_get_node_type(root) == PLIST_DICT;
    if (isDict && out)
        *out = toVariant(root).toMap();
    plist_free(root);
    return isDict;
}

InfoDictionary& InfoDictionary::mainBundle()
{
    static InfoDictionary* instance = new InfoDictionary; // lives as long as the process
    return *instance;
}

InfoDictionary::InfoDictionary()
{
    QFile file(QStringLiteral(":/Info.plist"));
    if (file.open(QIODevice::ReadOnly))
        parse(file.readAll(), &m_values);
}

QVariant InfoDictionary::value(const QString& key) const
{
    return m_values.value(key);
}

QString InfoDictionary::string(const QString& key) const
{
    return m_values.value(key).toString();
}

QStringList InfoDictionary::stringList(const QString& key) const
{
    QStringList result;
    for (const QVariant& v : m_values.value(key).toList())
        result.append(v.toString());
    return result;
}

QStringList InfoDictionary::supportedAccessoryProtocols() const
{
    return stringList(QStringLiteral("UISupportedExternalAccessoryProtocols"));
}
