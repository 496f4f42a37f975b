#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTranslator;

// Localised text lookup by key in the default table. A key missing from the
// table gives the empty text, never the key itself. Tables: English,
// Simplified Chinese and Japanese; English backs up the other two.
class Localization {
public:
    static Localization& shared();

    // The language of the loaded table: "en", "zh_CN" or "ja".
    QString language() const;
    // Loads the table for a language tag such as "zh-Hans", "ja-JP" or "de";
    // unknown languages get English.
    void setLanguage(const QString& languageTag);
    // The user's preferred languages, first the most preferred: those set by
    // setPreferredLanguages (--language, tests), else Q3DART_LANGUAGE, else
    // the system's. The one source for every language choice of the program.
    QStringList preferredLanguages() const;
    // Replaces the preferred languages and loads the table for the first.
    void setPreferredLanguages(const QStringList& languages);
    // The table that matches the first preferred language.
    void loadPreferredLanguage();

    // Installs the tables into the running application, for id-based texts in
    // interface resources.
    void installIntoApplication();

    QString text(const char* key) const;
    QString text(const QString& key) const;
    // The text's plural form for n, with %n replaced by n.
    QString text(const char* key, int n) const;

    // "en", "zh_CN" or "ja" for a language tag.
    static QString tableForLanguageTag(const QString& tag);
    // Whether a language tag ("ja", "zh-Hans", "en_GB") names a language
    // with a table of its own: English, Chinese or Japanese, in any region
    // or script. Any other falls back to English, which an explicit choice
    // should not do unsaid.
    static bool hasTableFor(const QString& tag);
    // The languages with tables, as tags ("en zh ja").
    static QStringList languagesWithTables();

private:
    Localization();
    ~Localization();
    QString m_language;
    std::optional<QStringList> m_preferred;
    QTranslator* m_table = nullptr;
    QTranslator* m_english = nullptr;
};

// Shorthand for Localization::shared().text(key).
QString localized(const char* key);
// Shorthand for Localization::shared().text(key, n).
QString localizedCount(const char* key, int n);
