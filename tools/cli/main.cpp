#include "cli/CatalogueCommands.h"
#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "cli/FlashCommand.h"
#include "cli/InputCommands.h"
#include "cli/UpgradeCommand.h"
#include "cli/VersionsCommand.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "platform/DocumentsDirectory.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "sim/DemoEnvironment.h"
#include "sim/SimAccessoryTransport.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    MainQueue::chooseEventDispatcher();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q3dart-cli"));
    if (const double scale = qEnvironmentVariable("Q3DART_TIME_SCALE").toDouble(); scale > 0)
        MainQueue::setTimeScale(scale);
    Localization::shared().installIntoApplication();

    SimAccessoryTransport::registerAddressScheme();
    CliOptions options;
    int exitCode = 0;
    if (!CliOptions::parse(QCoreApplication::arguments(), &options, &exitCode))
        return exitCode;
    if (!options.documents.isEmpty())
        DocumentsDirectory::setPath(options.documents);
    if (!options.server.isEmpty())
        ZelFirmwareDataTool::setServerOverride(options.server);
    options.applyEngineLimits();
    if (!options.applyTrust(&exitCode))
        return exitCode;

    // --simulate: the simulated controller, demo releases, throw-away documents.
    std::unique_ptr<DemoEnvironment> demo;
    if (options.simulate)
        demo = std::make_unique<DemoEnvironment>(options.documents, options.server);

    StderrToastPresenter toasts;
    MessageToast::setPresenter(&toasts);

    ControllerConnector connector(options);
    if (options.command == QLatin1String("versions")) {
        VersionsCommand command(options, &connector);
        return command.run() ? app.exec() : int(CliOptions::Usage);
    }
    CatalogueCommands catalogue(options);
    InputCommands input(options);
    const QHash<QString, std::function<int()>> catalogueCommands{
        {QStringLiteral("releases"), [&] { return catalogue.releases(); }},
        {QStringLiteral("import"), [&] { return catalogue.importFile(); }},
        {QStringLiteral("serve"), [&] { return catalogue.serve(); }},
        {QStringLiteral("publish"), [&] { return catalogue.publish(); }},
        {QStringLiteral("sign-list"), [&] { return catalogue.signList(); }},
        {QStringLiteral("sign-keys"), [&] { return catalogue.signKeys(); }},
        {QStringLiteral("keygen"), [&] { return catalogue.keygen(); }},
        {QStringLiteral("history"), [&] { return catalogue.history(); }},
        {QStringLiteral("gamepads"), [&] { return input.gamepads(); }},
        {QStringLiteral("keytest"), [&] { return input.keytest(); }},
        {QStringLiteral("rumble"), [&] { return input.rumble(); }},
    };
    if (catalogueCommands.contains(options.command)) {
        const int code = catalogueCommands.value(options.command)();
        return code >= 0 ? code : app.exec();
    }
    if (options.command == QLatin1String("upgrade")) {
        UpgradeCommand command(options, &connector);
        return command.run() ? app.exec() : int(CliOptions::Usage);
    }
    if (options.command == QLatin1String("flash")) {
        FlashCommand command(options, &connector);
        return command.run() ? app.exec() : int(CliOptions::Usage);
    }
    std::fprintf(stderr, "%s\n%s", localized("CliUsageError").arg(QStringLiteral("unknown command %1").arg(options.command)).toUtf8().constData(),
                 CliOptions::helpText().toUtf8().constData());
    return CliOptions::Usage;
}
