#pragma once

#include "cli/CliCommand.h"
#include "firmware/ZelFirmware.h"

#include <QJsonArray>

// `releases [--local | --online] [--json]`: the local releases, the online
// ones, or both (local first, each group headed), newest first, one a line;
// or one JSON array of them.
class ReleasesCommand : public CliCommand {
    Q_OBJECT
public:
    explicit ReleasesCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("releases"); }
    QString synopsis() const override { return QStringLiteral("[--local | --online] [--json]"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return { m_localOption, m_onlineOption, m_jsonOption }; }
    int run(const QCommandLineParser& parser) override;

private:
    void show(const QList<ZelFirmware>& firmwares, bool online);
    void printJson();

    const QCommandLineOption m_localOption;
    const QCommandLineOption m_onlineOption;
    const QCommandLineOption m_jsonOption;
    bool m_json = false;
    bool m_both = false;
    QJsonArray m_array;
};
