#pragma once

#include "cli/CliCommand.h"
#include "cli/SigningOptions.h"

// `sign-keys OUT --root-key FILE [--add PUB ...] [--remove ID ...] [--expires
// DAYS]`: a new key set signed by the root, one version higher, the current
// keys kept unless removed.
class SignKeysCommand : public CliCommand {
    Q_OBJECT
public:
    explicit SignKeysCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("sign-keys"); }
    QString synopsis() const override
    {
        return QStringLiteral("OUT --root-key FILE [--add PUB ...] [--remove ID ...] [--expires DAYS]");
    }
    QString description() const override;
    QList<QCommandLineOption> options() const override
    {
        return { m_rootKeyOption, m_addOption, m_removeOption, m_signing.expiresOption() };
    }
    QStringList multiValueOptions() const override { return { QStringLiteral("add"), QStringLiteral("remove") }; }
    int run(const QCommandLineParser& parser) override;

private:
    const SigningOptions m_signing;
    const QCommandLineOption m_rootKeyOption;
    const QCommandLineOption m_addOption;
    const QCommandLineOption m_removeOption;
};
