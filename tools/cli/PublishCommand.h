#pragma once

#include "cli/CliCommand.h"
#include "cli/SigningOptions.h"

// `publish DIR OUT [--sign-key FILE] [--expires DAYS] [--list-version N]
// [--base-url URL]`: the list and archives of a folder of release archives
// as a static site for any web host, signed with --sign-key.
class PublishCommand : public CliCommand {
    Q_OBJECT
public:
    explicit PublishCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("publish"); }
    QString synopsis() const override
    {
        return QStringLiteral("DIR OUT [--sign-key FILE] [--expires DAYS] [--list-version N] [--base-url URL]");
    }
    QString description() const override;
    QList<QCommandLineOption> options() const override
    {
        return { m_signKeyOption, m_signing.expiresOption(), m_signing.listVersionOption(), m_baseUrlOption };
    }
    int run(const QCommandLineParser& parser) override;

private:
    const SigningOptions m_signing;
    const QCommandLineOption m_signKeyOption;
    const QCommandLineOption m_baseUrlOption;
};
