#include "cli/CliCommand.h"

#include "cli/CliOptions.h"
#include "cli/CommandLine.h"
#include "cli/ControllerConnector.h"

#include <QCoreApplication>

#include <cstdio>

CliCommand::CliCommand(CliOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
{
}

CliCommand::~CliCommand() = default;

const CliServices& CliCommand::services() const
{
    return m_options.services;
}

int CliCommand::usage(const QString& detail) const
{
    return CommandLine::usageError(detail, this);
}

int CliCommand::failed(const QString& message) const
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(message));
    return CliOptions::Failed;
}

int CliCommand::runEventLoop()
{
    return QCoreApplication::exec();
}

ControllerConnector& CliCommand::connector()
{
    if (!m_connector)
        m_connector = new ControllerConnector(m_options, this);
    return *m_connector;
}
