#include "app/AppOptions.h"

#include "app/MainWindow.h"
#include "firmware/ReleaseSignature.h"
#include "platform/runtime/Localization.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

bool AppOptions::parseSize(const QString& text, QSize* out)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.width() < MainWindow::kMinimumWidth || size.height() < MainWindow::kMinimumHeight
        || size.width() > kMaximumSide || size.height() > kMaximumSide)
        return false;
    *out = size;
    return true;
}

bool AppOptions::parse(const QStringList& arguments, AppOptions* options, int* exitCode)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Q3 Dart companion: firmware versions, upgrades and key test."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption simulate(QStringLiteral("simulate"),
        QStringLiteral("Run against the simulated controller and the demo releases, "
                       "with a throw-away documents directory."));
    const QCommandLineOption screenshots(QStringLiteral("screenshots"),
        QStringLiteral("Render every screen to PNG files in DIR and exit."), QStringLiteral("DIR"));
    const QCommandLineOption device(QStringLiteral("device"),
        QStringLiteral("The controller: sim, tcp:HOST:PORT or serial:PATH "
                       "(default: the first USB serial controller)."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption documents(
        QStringLiteral("documents"), QStringLiteral("The documents directory."), QStringLiteral("DIR"));
    const QCommandLineOption server(
        QStringLiteral("server"), QStringLiteral("The firmware server's base address."), QStringLiteral("URL"));
    const QCommandLineOption language(QStringLiteral("language"),
        QStringLiteral("The language: a tag such as en, zh-Hans or ja-JP."), QStringLiteral("TAG"));
    const QCommandLineOption measureStartup(QStringLiteral("measure-startup"),
        QStringLiteral("Print the time to the first shown screen and the "
                       "resident memory, then exit (for benchmarks)."));
    const QCommandLineOption measureUpgrade(QStringLiteral("measure-upgrade"),
        QStringLiteral("With --simulate: upgrade the controller to the newest online "
                       "release through the screens, print the time from the press "
                       "of \"Upgrade Now\" to the verified outcome beside the "
                       "protocol's floor, then exit (for benchmarks)."));
    const QCommandLineOption trustKey(QStringLiteral("trust-key"),
        QStringLiteral("Trust this release key (base64 of a raw 32-byte Ed25519 public "
                       "key); repeatable. With a trusted key an online release is "
                       "installed only when its signature verifies."),
        QStringLiteral("BASE64"));
    const QCommandLineOption trustRoot(QStringLiteral("trust-root"),
        QStringLiteral("Trust this root key (base64 of a raw 32-byte Ed25519 public key, "
                       "as keygen prints it); repeatable. The root certifies the release "
                       "keys through the key set published beside the release list."),
        QStringLiteral("BASE64"));
    const QCommandLineOption caFile(QStringLiteral("ca-file"),
        QStringLiteral("Also trust the PEM certificate authorities of FILE for https."), QStringLiteral("FILE"));
    const QCommandLineOption size(QStringLiteral("size"),
        QStringLiteral("The window's size, such as 720x405 (at least that) or 1920x1080."), QStringLiteral("WxH"));
    parser.addOptions({ simulate, screenshots, size, device, documents, server, language, measureStartup,
        measureUpgrade, trustKey, trustRoot, caFile });
    parser.addPositionalArgument(QStringLiteral("archives"), QStringLiteral("Release archives (.zip) to import."),
        QStringLiteral("[archive.zip...]"));

    auto fail = [exitCode](const QString& why) {
        std::fprintf(stderr, "%s\n", localized("CliUsageError").arg(why).toUtf8().constData());
        *exitCode = Usage;
        return false;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        std::fprintf(stdout, "%s", parser.helpText().toUtf8().constData());
        *exitCode = Ok;
        return false;
    }
    if (parser.isSet(version)) {
        std::fprintf(stdout, "%s %s\n", qPrintable(QCoreApplication::applicationName()),
            qPrintable(QCoreApplication::applicationVersion()));
        *exitCode = Ok;
        return false;
    }

    options->simulate = parser.isSet(simulate);
    options->screenshots = parser.value(screenshots);
    options->documents = parser.value(documents);
    options->server = parser.value(server);
    options->language = parser.value(language);
    options->measureStartup = parser.isSet(measureStartup);
    options->measureUpgrade = parser.isSet(measureUpgrade);
    options->trustKeys = parser.values(trustKey);
    options->trustRoots = parser.values(trustRoot);
    options->caFile = parser.value(caFile);
    if (parser.isSet(size) && !parseSize(parser.value(size), &options->size))
        return fail(QStringLiteral("--size: expected WxH of at least %1x%2, not \"%3\"")
                        .arg(MainWindow::kMinimumWidth)
                        .arg(MainWindow::kMinimumHeight)
                        .arg(parser.value(size)));
    for (const QString& key : options->trustKeys + options->trustRoots)
        if (ReleaseSignature::decodePublicKey(key).isEmpty())
            return fail(localized("TrustKeyInvalid").arg(key));
    if (parser.isSet(device)) {
        QString error;
        if (!DeviceAddress::parse(parser.value(device), &options->device, &error))
            return fail(error);
    }
    if (!options->screenshots.isEmpty() && !options->simulate)
        return fail(QStringLiteral("--screenshots needs --simulate"));
    if (options->measureUpgrade && !options->simulate)
        return fail(QStringLiteral("--measure-upgrade needs --simulate"));
    for (const QString& file : parser.positionalArguments()) {
        // A file manager passes paths or file addresses.
        const QUrl url = file.startsWith(QLatin1String("file:"))
            ? QUrl(file)
            : QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
        options->files.append(url);
    }
    return true;
}
