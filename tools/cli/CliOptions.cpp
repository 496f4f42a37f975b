#include "cli/CliOptions.h"

#include "firmware/ReleaseSignature.h"
#include "lib/HttpClient.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QTextStream>

#include <cstdio>

QString CliOptions::helpText()
{
    return QStringLiteral(
        "Usage: q3dart-cli [options] COMMAND [arguments]\n"
        "\n"
        "Options:\n"
        "  --device D        sim | tcp:HOST:PORT | serial:PATH (default: the first USB serial controller)\n"
        "  --simulate        use the simulated controller (same as --device sim)\n"
        "  --documents DIR   documents directory (default: the user's data folder)\n"
        "  --server URL      firmware server address (http: or https:)\n"
        "  --trust-key BASE64\n"
        "                    trust this release key (base64 of a raw 32-byte Ed25519 public key);\n"
        "                    repeatable. With a trusted key an online release installs only when\n"
        "                    its signature verifies, and the release list only when signed by it\n"
        "  --trust-root BASE64\n"
        "                    trust this root key (as keygen prints it); repeatable. Release and list\n"
        "                    signatures then verify with the keys of the key set the root signed\n"
        "  --ca-file FILE    also trust the PEM certificate authorities of FILE for https\n"
        "  --wait SECONDS    how long to wait for a controller to attach (default 5)\n"
        "  --restart-wait SECONDS\n"
        "                    how long a controller may take to come back after a restart (default 60)\n"
        "  --silence-limit SECONDS\n"
        "                    how long a controller may stay silent during a transfer (default 10)\n"
        "  --max-download-mib MIB\n"
        "                    refuse a release archive download larger than this (default 64)\n"
        "  --lang LANG       language of messages: en, zh, ja (default: the system's)\n"
        "  -h, --help        show this help\n"
        "\n"
        "Commands:\n"
        "  versions [--json] print the controller's versions (boot-left-right) and device information;\n"
        "                    --json: the same fields as one JSON object\n"
        "  flash [--json] [--boot FILE] [--left FILE] [--right FILE]\n"
        "                    send firmware images (boot loader, left, right, in that order) across the\n"
        "                    controller's restarts; prints the versions read afterwards\n"
        "  upgrade [--json] [--allow-older] (--local VERSION | --online VERSION | --latest)\n"
        "                    bring the controller to a release: local, online (downloaded and\n"
        "                    checked), or the newest online; exit 0 only when the controller then\n"
        "                    reports the release's versions. --latest sends nothing when the\n"
        "                    controller runs it or a newer one; an older named release needs\n"
        "                    --allow-older\n"
        "                    --json: one event a line on standard output: phase, download,\n"
        "                    progress, and last the outcome (completed, failed or cancelled)\n"
        "  history [--json]  the upgrade runs recorded in the documents directory, newest first:\n"
        "                    start, outcome, release, versions before, after, reason, controller\n"
        "  releases [--local | --online]\n"
        "                    list the releases, newest first: version, then notes or path; online\n"
        "                    releases then signed, unchecked (signed, no key trusted), invalid or unsigned\n"
        "  import FILE       import a release archive (VERSION.zip) as a local release\n"
        "  serve DIR [--listen HOST:PORT]\n"
        "                    serve a folder of release archives as the firmware server does, with\n"
        "                    their SHA-256, unsigned (for development)\n"
        "  serve --site OUT [--listen HOST:PORT]\n"
        "                    serve a published site as a static web host would\n"
        "  publish DIR OUT [--sign-key FILE] [--expires DAYS] [--list-version N] [--base-url URL]\n"
        "                    write the same list and archives as a static site into OUT for any web\n"
        "                    host: OUT/firmware/update/r1 and OUT/releases/ (URL: where OUT is served,\n"
        "                    default the firmware server address). With --sign-key, each release and\n"
        "                    the list as a whole are signed (OUT/firmware/update/r1.sig); the list\n"
        "                    expires after DAYS (default 30, fractions allowed) and has version N\n"
        "                    (default one above OUT's current list)\n"
        "  sign-list OUT --sign-key FILE [--expires DAYS] [--list-version N]\n"
        "                    sign a published site's list again: a new expiry, a version one higher\n"
        "  sign-keys OUT --root-key FILE [--add PUB ...] [--remove ID ...] [--expires DAYS]\n"
        "                    write a new key set signed by the root into OUT/firmware/update/keys.json:\n"
        "                    one version higher, the current keys kept unless removed (by key id)\n"
        "  keygen FILE       write a new Ed25519 key to FILE (PEM, owner only) and print its key id,\n"
        "                    then its public key (base64) as the last line\n"
        "  gamepads          list the connected game controllers, tab-separated: name, player index,\n"
        "                    extended|basic|unmapped, type, vendor:product, GUID (- where unknown)\n"
        "  keytest [--values]\n"
        "                    print every key and stick event until interrupted (Ctrl+C): `key A pressed`,\n"
        "                    `key A released`, `stick left DX DY` (movement since the last report);\n"
        "                    --values adds `axis left X Y` (position) after each stick report and\n"
        "                    `trigger left V` when a trigger's level changes; with --simulate, reads\n"
        "                    `press|release NAME`, `set NAME VALUE`, `stick left|right X Y`,\n"
        "                    `trigger left|right V`, `plug`, `unplug` and `wait MS` (advances the test\n"
        "                    clock) from standard input\n"
        "  keytest --check [--json] [--stick left|right|both] [--seconds S]\n"
        "                    the guided stick check: rest (3 s), rotate each stick along its edge, press\n"
        "                    both triggers (each at most S seconds, default 10), with prompts on standard\n"
        "                    error; prints the report (one JSON object with --json) and saves it in the\n"
        "                    documents directory; with --simulate the script's clock times the steps and\n"
        "                    the end of the script ends the check\n"
        "  rumble [--seconds S]\n"
        "                    run the motors of the first controller that has them (default 0.5 s)\n"
        "\n"
        "With --simulate, gamepads, keytest and rumble use a virtual controller instead of the real ones.\n"
        "Game-controller mappings (SDL's format) are read from SDL_GAMECONTROLLERCONFIG,\n"
        "SDL_GAMECONTROLLERCONFIG_FILE and gamecontrollerdb.txt in the configuration folder (~/.config/q3dart).\n");
}

bool CliOptions::parse(const QStringList& argv, CliOptions* out, int* exitCode)
{
    CliOptions o;
    auto usage = [exitCode](const QString& detail) {
        std::fprintf(stderr, "%s\n%s", localized("CliUsageError").arg(detail).toUtf8().constData(),
                     helpText().toUtf8().constData());
        *exitCode = Usage;
        return false;
    };
    for (int i = 1; i < argv.size(); ++i) {
        const QString& a = argv.at(i);
        auto value = [&](QString* target) {
            if (i + 1 >= argv.size())
                return false;
            *target = argv.at(++i);
            return true;
        };
        if (a == QLatin1String("--trust-key") || a == QLatin1String("--trust-root") || a == QLatin1String("--ca-file")) {
            // Accepted before or after the command: they qualify the whole run.
            QString text;
            if (!value(&text))
                return usage(QStringLiteral("%1 needs a value").arg(a));
            if (a == QLatin1String("--trust-key"))
                o.trustKeys.append(text);
            else if (a == QLatin1String("--trust-root"))
                o.trustRoots.append(text);
            else
                o.caFile = text;
        } else if (!o.command.isEmpty()) {
            o.arguments.append(a);
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::fputs(helpText().toUtf8().constData(), stdout);
            *exitCode = Ok;
            return false;
        } else if (a == QLatin1String("--device")) {
            if (!value(&o.deviceText))
                return usage(QStringLiteral("--device needs a value"));
        } else if (a == QLatin1String("--simulate")) {
            o.simulate = true;
        } else if (a == QLatin1String("--documents")) {
            if (!value(&o.documents))
                return usage(QStringLiteral("--documents needs a folder"));
        } else if (a == QLatin1String("--server")) {
            if (!value(&o.server))
                return usage(QStringLiteral("--server needs a URL"));
        } else if (a == QLatin1String("--wait")) {
            QString text;
            bool ok = false;
            if (value(&text))
                o.waitSeconds = text.toDouble(&ok);
            if (!ok || o.waitSeconds < 0)
                return usage(QStringLiteral("--wait needs a number of seconds"));
        } else if (a == QLatin1String("--restart-wait") || a == QLatin1String("--silence-limit")) {
            QString text;
            bool ok = false;
            double seconds = 0;
            if (value(&text))
                seconds = text.toDouble(&ok);
            if (!ok || !(seconds > 0))
                return usage(QStringLiteral("%1 needs a number of seconds above 0").arg(a));
            (a == QLatin1String("--restart-wait") ? o.restartWaitSeconds : o.silenceLimitSeconds) = seconds;
        } else if (a == QLatin1String("--max-download-mib")) {
            QString text;
            bool ok = false;
            if (value(&text))
                o.maxDownloadMiB = text.toDouble(&ok);
            // Finite and below a terabyte: the size is turned into a byte count.
            if (!ok || !(o.maxDownloadMiB > 0) || !(o.maxDownloadMiB < 1024.0 * 1024.0))
                return usage(QStringLiteral("--max-download-mib needs a size in MiB above 0"));
        } else if (a == QLatin1String("--lang")) {
            QString lang;
            if (!value(&lang))
                return usage(QStringLiteral("--lang needs a language"));
            Localization::shared().setLanguage(lang);
        } else if (a.startsWith(QLatin1String("-"))) {
            return usage(QStringLiteral("unknown option %1").arg(a));
        } else {
            o.command = a;
        }
    }
    if (o.command.isEmpty())
        return usage(QStringLiteral("no command given"));
    if (o.simulate && o.deviceText.isEmpty())
        o.deviceText = QStringLiteral("sim");
    if (o.deviceText.isEmpty())
        o.deviceText = qEnvironmentVariable("Q3DART_DEVICE");
    QString bad;
    if (!DeviceAddress::parse(o.deviceText, &o.device, &bad)) {
        std::fprintf(stderr, "%s\n", localized("DeviceArgumentInvalid").arg(bad).toUtf8().constData());
        *exitCode = Usage;
        return false;
    }
    *out = o;
    return true;
}

void CliOptions::applyEngineLimits() const
{
    if (restartWaitSeconds < 0 && silenceLimitSeconds < 0 && maxDownloadMiB < 0)
        return;
    // The engine's limits are scaled like all its timers: divided here, they
    // last what was asked.
    ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    if (maxDownloadMiB > 0)
        engine.maxDownloadBytes = qint64(maxDownloadMiB * 1024 * 1024);
    if (restartWaitSeconds >= 0)
        engine.restartWaitLimit = restartWaitSeconds / MainQueue::timeScale();
    if (silenceLimitSeconds >= 0)
        engine.transferSilenceLimit = silenceLimitSeconds / MainQueue::timeScale();
}

bool CliOptions::applyTrust(int* exitCode) const
{
    if (QString error; !ReleaseSignature::checkInformation(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        *exitCode = Failed;
        return false;
    }
    for (const QString& key : trustKeys + trustRoots) {
        if (!(trustKeys.contains(key) ? ReleaseSignature::addTrustedKey(key) : ReleaseSignature::addTrustedRoot(key))) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("TrustKeyInvalid").arg(key)));
            *exitCode = Usage;
            return false;
        }
    }
    if (!caFile.isEmpty() && !HttpClient::addCaCertificates(caFile)) {
        std::fprintf(stderr, "%s\n", qPrintable(localized("CaFileInvalid").arg(caFile)));
        *exitCode = Usage;
        return false;
    }
    return true;
}
