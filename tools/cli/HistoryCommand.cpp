#include "cli/HistoryCommand.h"

#include "cli/CliOptions.h"
#include "platform/runtime/Localization.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>

HistoryCommand::HistoryCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_jsonOption(QStringLiteral("json"), localized("CliHistoryJson"))
{
}

QString HistoryCommand::description() const
{
    return localized("CliHistoryHelp");
}

int HistoryCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    const bool json = parser.isSet(m_jsonOption);
    const UpgradeHistory history;
    bool ok = true;
    QList<UpgradeRecord> records = history.records(&ok);
    if (!ok) {
        std::fprintf(stderr, "%s\n", qPrintable(localized("HistoryUnreadable").arg(history.path())));
        return CliOptions::Failed;
    }
    // Newest first; runs that started together keep the order they were recorded in, reversed.
    std::reverse(records.begin(), records.end());
    std::stable_sort(records.begin(), records.end(),
        [](const UpgradeRecord& a, const UpgradeRecord& b) { return a.started > b.started; });
    if (json) {
        QJsonArray array;
        for (const UpgradeRecord& r : std::as_const(records)) {
            // The record as stored, and the address as the application shows it.
            QJsonObject object = r.toJson();
            object.insert(
                QStringLiteral("controller_text"), ZelFirmwareUpgradeManager::addressWithColons(r.controller));
            array.append(object);
        }
        std::printf("%s\n", QJsonDocument(array).toJson(QJsonDocument::Indented).constData());
        return CliOptions::Ok;
    }
    if (records.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(localized("HistoryEmpty")));
    auto field = [](QString text) {
        return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    };
    for (const UpgradeRecord& r : std::as_const(records))
        std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%s\n", qPrintable(r.started.toUTC().toString(Qt::ISODate)),
            qPrintable(r.outcome), qPrintable(field(r.release)), qPrintable(field(r.before)),
            qPrintable(field(r.after)), qPrintable(field(r.reasonText())),
            qPrintable(field(ZelFirmwareUpgradeManager::addressWithColons(r.controller))));
    return CliOptions::Ok;
}
