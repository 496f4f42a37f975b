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
    if (files.isEmpty())
        return usage(localized("CliNeedsArguments").arg(synopsis()));
    // The messages are printed below, once: no toast on standard error as well.
    ToastPresenter* presenter = MessageToast::presenter();
    MessageToast::setPresenter(nullptr);
    const int code = files.size() == 1 ? importOne(files.first()) : importSeveral(files);
    MessageToast::setPresenter(presenter);
    return code;
}

int ImportCommand::importOne(const QString& file)
{
    QStringList messages;
    const bool imported = ZelDataTool::importArchive(QFileInfo(file).absoluteFilePath(), &messages);
    for (const QString& m : messages)
        std::printf("%s\n", qPrintable(m));
    std::fflush(stdout);
    return imported ? CliOptions::Ok : CliOptions::Failed;
}

int ImportCommand::importSeveral(const QStringList& files)
{
    QStringList paths;
    for (const QString& file : files)
        paths.append(QFileInfo(file).absoluteFilePath());
    const QList<ZelDataTool::ImportResult> results = ZelDataTool::importArchives(paths);
    QStringList failures;
    for (int i = 0; i < files.size(); ++i) {
        // Each archive named as it was given.
        const QString line = ZelDataTool::resultLine(files.at(i), results.at(i));
        std::printf("%s\n", qPrintable(line));
        if (!results.at(i).imported)
            failures.append(line);
    }
    std::fflush(stdout);
    if (failures.isEmpty())
        return CliOptions::Ok;
    for (const QString& failure : std::as_const(failures))
        std::fprintf(stderr, "%s\n", qPrintable(failure));
    std::fprintf(stderr, "%s\n",
        qPrintable(localized("CliImportSummary").arg(files.size() - failures.size()).arg(files.size())));
    return CliOptions::Failed;
}
