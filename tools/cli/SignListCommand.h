#pragma once

#include "cli/CliCommand.h"
#include "cli/SigningOptions.h"

// `sign-list OUT --sign-key FILE [--expires DAYS] [--list-version N]`: a
// published site's list signed again, with a new expiry and a version one
// higher unless given.
class SignListCommand : public CliCommand {
    Q_OBJECT
public:
    explicit SignListCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("sign-list"); }
    QString synopsis() const override
    {
        return QStringLiteral("OUT --sign-key FILE [--expires DAYS] [--list-version N]");
    }
    QString description() const override;
    QList<QCommandLineOption> options() const override
    {
        return { m_signKeyOption, m_signing.expiresOption(), m_signing.listVersionOption() };
    }
    int run(const QCommandLineParser& parser) override;

private:
    const SigningOptions m_signing;
    const QCommandLineOption m_signKeyOption;
};
