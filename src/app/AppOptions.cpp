#include "app/AppOptions.h"

#include "app/MainWindow.h"
#include "firmware/ReleaseSignature.h"
#include "lib/HelpText.h"
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

QString AppOptions::helpText(const QList<QCommandLineOption>& options)
{
    HelpText help;
    help.paragraph(localized("CliHelpUsage")
                       .arg(QCoreApplication::applicationName() + QStringLiteral(" [options] [archive.zip...]")));
    help.paragraph(localized("AppHelpDescription"));
    help.heading(localized("CliHelpOptions"));
    // Each description is its text's key, looked up now: in the language
    // --language chose, which comes after the options are made.
    for (const QCommandLineOption& option : options)
        help.entry(HelpText::optionColumn(option), localized(option.description().toLatin1().constData()));
    help.heading(QString());
    help.heading(localized("HelpArguments"));
    help.entry(QStringLiteral("archive.zip..."), localized("AppArgumentArchives"));
    return help.text().trimmed() + QLatin1Char('\n');
}

bool AppOptions::asksOnlyForText(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--") == 0)
            return false; // what follows are file names
        for (const char* text : { "-h", "--help", "-v", "--version" })
            if (qstrcmp(argv[i], text) == 0)
                return true;
    }
    return false;
}

bool AppOptions::parse(const QStringList& arguments, AppOptions* options, int* exitCode)
{
    QCommandLineParser parser;
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("CliOptionHelp"));
    const QCommandLineOption version(
        { QStringLiteral("v"), QStringLiteral("version") }, QStringLiteral("CliOptionVersion"));
    const QCommandLineOption simulate(QStringLiteral("simulate"), QStringLiteral("AppOptionSimulate"));
    const QCommandLineOption screenshots(
        QStringLiteral("screenshots"), QStringLiteral("AppOptionScreenshots"), QStringLiteral("DIR"));
    const QCommandLineOption device(
        QStringLiteral("device"), QStringLiteral("AppOptionDevice"), QStringLiteral("ADDRESS"));
    const QCommandLineOption documents(
        QStringLiteral("documents"), QStringLiteral("AppOptionDocuments"), QStringLiteral("DIR"));
    const QCommandLineOption server(QStringLiteral("server"), QStringLiteral("AppOptionServer"), QStringLiteral("URL"));
    const QCommandLineOption language(
        QStringLiteral("language"), QStringLiteral("AppOptionLanguage"), QStringLiteral("TAG"));
    const QCommandLineOption measureStartup(
        QStringLiteral("measure-startup"), QStringLiteral("AppOptionMeasureStartup"));
    const QCommandLineOption measureUpgrade(
        QStringLiteral("measure-upgrade"), QStringLiteral("AppOptionMeasureUpgrade"));
    const QCommandLineOption trustKey(
        QStringLiteral("trust-key"), QStringLiteral("AppOptionTrustKey"), QStringLiteral("BASE64"));
    const QCommandLineOption trustRoot(
        QStringLiteral("trust-root"), QStringLiteral("AppOptionTrustRoot"), QStringLiteral("BASE64"));
    const QCommandLineOption caFile(
        QStringLiteral("ca-file"), QStringLiteral("AppOptionCaFile"), QStringLiteral("FILE"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("AppOptionSize"), QStringLiteral("WxH"));
    const QCommandLineOption usbId(
        QStringLiteral("usb-id"), QStringLiteral("CliOptionUsbId"), QStringLiteral("VID:PID"));
    const QList<QCommandLineOption> all { help, version, simulate, screenshots, size, device, usbId, documents, server,
        language, measureStartup, measureUpgrade, trustKey, trustRoot, caFile };
    parser.addOptions(all);

    auto fail = [exitCode](const QString& why) {
        std::fprintf(stderr, "%s\n", localized("CliUsageError").arg(why).toUtf8().constData());
        *exitCode = Usage;
        return false;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        // The help in the language the run asks for.
        if (parser.isSet(language))
            Localization::shared().setPreferredLanguages({ parser.value(language) });
        std::fputs(helpText(all).toUtf8().constData(), stdout);
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
    if (parser.isSet(language) && !Localization::hasTableFor(options->language))
        return fail(localized("LanguageUnavailable")
                        .arg(options->language, Localization::languagesWithTables().join(localized("ListSeparator"))));
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
    for (const QString& text : parser.values(usbId)) {
        const std::optional<UsbIdentity> identity = UsbIdentity::parse(text);
        if (!identity)
            return fail(localized("CliOptionNeedsUsbId").arg(QStringLiteral("--usb-id"), text));
        options->device.usbIdentities.append(*identity);
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
