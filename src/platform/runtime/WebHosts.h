#pragma once

#include "platform/runtime/InfoDictionary.h"

#include <QString>
#include <QStringList>

// Where the screens' web pages come from: the help server (the tutorial) and
// the maker's server (the game list), named in the information dictionary.
// The demo points both at its own local server. Header-only, so that both the
// core (which starts the demo server) and the screens reach the same setting.
class WebHosts {
public:
    // e.g. "http://127.0.0.1:8080" for both servers; empty restores the configured ones.
    static void setBaseOverride(const QString& baseUrl)
    {
        QString base = baseUrl;
        while (base.endsWith(QLatin1Char('/')))
            base.chop(1);
        baseOverride() = base;
    }
    static QString baseOverrideUrl() { return baseOverride(); }

    // Scheme and host, without a trailing slash.
    static QString helpBaseUrl() { return baseUrl(QStringLiteral("https://"), QStringLiteral("Q3HelpWebHost")); }
    static QString makerBaseUrl() { return baseUrl(QStringLiteral("http://"), QStringLiteral("Q3MakerWebHost")); }

    // The origins the web page screens may show pages from: the help and
    // the maker's servers.
    static QStringList pageOrigins() { return { helpBaseUrl(), makerBaseUrl() }; }

    // Addresses beginning with this leave the application for the store.
    static QString appStorePrefix() { return InfoDictionary::mainBundle().string(QStringLiteral("Q3AppStorePrefix")); }

private:
    static QString& baseOverride()
    {
        static QString value;
        return value;
    }
    static QString baseUrl(const QString& scheme, const QString& hostKey)
    {
        const QString base = baseOverride();
        return base.isEmpty() ? scheme + InfoDictionary::mainBundle().string(hostKey) : base;
    }
};
