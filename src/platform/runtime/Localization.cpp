#include "platform/runtime/Localization.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

Localization& Localization::shared()
{
    static Localization* instance = new Localization; // lives as long as the process
    return *instance;
}

Localization::Localization()
    : m_table(new QTranslator)
    , m_english(new QTranslator)
{
    (void)m_english->load(QStringLiteral(":/i18n/q3dart_en.qm"));
    loadPreferredLanguage();
}

Localization::~Localization()
{
    delete m_table;
    delete m_english;
}

QString Localization::tableForLanguageTag(const QString& tag)
{
    const QString lower = tag.toLower();
    if (lower.startsWith(QLatin1String("zh")))
        return QStringLiteral("zh_CN");
    if (lower.startsWith(QLatin1String("ja")))
        return QStringLiteral("ja");
    return QStringLiteral("en");
}

QStringList Localization::languagesWithTables()
{
    return { QStringLiteral("en"), QStringLiteral("zh"), QStringLiteral("ja") };
}

bool Localization::hasTableFor(const QString& tag)
{
    // BCP 47 ("zh-Hans-CN") or POSIX ("ja_JP.UTF-8@x") forms.
    static const QRegularExpression form(
        QStringLiteral("^([A-Za-z]{2,3})(?:[-_][A-Za-z0-9]{1,8})*(?:\\.[A-Za-z0-9-]+)?(?:@[A-Za-z0-9]+)?$"));
    const QRegularExpressionMatch match = form.match(tag);
    return match.hasMatch() && languagesWithTables().contains(match.captured(1).toLower());
}

QString Localization::language() const
{
    return m_language;
}

void Localization::setLanguage(const QString& languageTag)
{
    m_language = tableForLanguageTag(languageTag);
    (void)m_table->load(QStringLiteral(":/i18n/q3dart_%1.qm").arg(m_language));
}

QStringList Localization::preferredLanguages() const
{
    if (m_preferred)
        return *m_preferred;
    const QString forced = qEnvironmentVariable("Q3DART_LANGUAGE");
    if (!forced.isEmpty())
        return { forced };
    return QLocale::system().uiLanguages();
}

void Localization::setPreferredLanguages(const QStringList& languages)
{
    m_preferred = languages;
    loadPreferredLanguage();
}

void Localization::loadPreferredLanguage()
{
    const QStringList preferred = preferredLanguages();
    setLanguage(preferred.isEmpty() ? QStringLiteral("en") : preferred.first());
}

void Localization::installIntoApplication()
{
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::installTranslator(m_english);
    QCoreApplication::installTranslator(m_table);
}

QString Localization::text(const char* key) const
{
    QString found = m_table->translate(nullptr, key);
    if (found.isEmpty())
        found = m_english->translate(nullptr, key);
    return found; // empty for a missing key
}

QString Localization::text(const QString& key) const
{
    return text(key.toUtf8().constData());
}

QString Localization::text(const char* key, int n) const
{
    QString found = m_table->translate(nullptr, key, nullptr, n);
    if (found.isEmpty())
        found = m_english->translate(nullptr, key, nullptr, n);
    return found.replace(QLatin1String("%n"), QString::number(n));
}

QString localized(const char* key)
{
    return Localization::shared().text(key);
}

QString localizedCount(const char* key, int n)
{
    return Localization::shared().text(key, n);
}
