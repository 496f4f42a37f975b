#pragma once

#include "cli/CliCommand.h"

// `sign-root OUT --root-key FILE --new-root-key FILE`: the next root
// document of a site, signed by the current root and by the next, so that
// clients follow the hand-over from the root they pin; key sets are signed
// with the new root from then on.
class SignRootCommand : public CliCommand {
    Q_OBJECT
public:
    explicit SignRootCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("sign-root"); }
    QString synopsis() const override { return QStringLiteral("OUT --root-key FILE --new-root-key FILE"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return { m_rootKeyOption, m_newRootKeyOption }; }
    int run(const QCommandLineParser& parser) override;

private:
    const QCommandLineOption m_rootKeyOption;
    const QCommandLineOption m_newRootKeyOption;
};
