#include "cli/ImportCommand.h"

#include "cli/CliOptions.h"
#include "firmware/ZelDataTool.h"
#include "lib/MessageToast.h"
#include "platform/runtime/Localization.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

QString ImportCommand::description() const
{
    return localized("CliImportHelp");
}

int ImportCommand::run(const QCommandLineParser& parser)
{
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return usage(localized("CliNeedsArguments").arg(synopsis()));
    QStringList messages;
    // The messages are printed below, once: no toast on standard error as well.
    ToastPresenter* presenter = MessageToast::presenter();
    MessageToast::setPresenter(nullptr);
    const bool imported = ZelDataTool::importArchive(QFileInfo(files.first()).absoluteFilePath(), &messages);
    MessageToast::setPresenter(presenter);
    for (const QString& m : messages)
        std::printf("%s\n", qPrintable(m));
    std::fflush(stdout);
    return imported ? CliOptions::Ok : CliOptions::Failed;
}
