#pragma once

#include "cli/CliCommand.h"

// `serve DIR [--listen HOST:PORT]` serves a folder of release archives as the
// firmware server does (unsigned, for development); `serve --site OUT` a
// published site as a static web host would; `--throttle KIB` sends no
// faster than that many KiB a second. Runs until it is stopped.
class ServeCommand : public CliCommand {
    Q_OBJECT
public:
    explicit ServeCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("serve"); }
    QString synopsis() const override
    {
        return QStringLiteral(
            "DIR [--listen HOST:PORT] [--throttle KIB] | --site OUT [--listen HOST:PORT] [--throttle KIB]");
    }
    QString description() const override;
    QList<QCommandLineOption> options() const override
    {
        return { m_listenOption, m_siteOption, m_throttleOption, m_signKeyOption };
    }
    int run(const QCommandLineParser& parser) override;

private:
    const QCommandLineOption m_listenOption;
    const QCommandLineOption m_siteOption;
    const QCommandLineOption m_throttleOption;
    // Accepted only to be refused with the way to a signed site.
    const QCommandLineOption m_signKeyOption;
};
