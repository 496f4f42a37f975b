#pragma once

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DemoEnvironment;
class LinkRecorder;
class QCommandLineParser;
class StderrToastPresenter;

// q3dart-cli's command line: the options that qualify the whole run, then a
// command and its own words. Parses both with QCommandLineParser, prints the
// help (localised) and the version, refuses bad words through one path, sets
// the run up (documents, server, limits, trust, the embedded default) and
// runs the command.
class CommandLine {
public:
    explicit CommandLine(CliServices services);
    ~CommandLine();

    // Registers a command: a CliCommand made with the run's options.
    template <typename Command> void add()
    {
        m_factories.push_back([](CliOptions& options) { return std::make_unique<Command>(options); });
    }

    // Parses arguments (the program's name first) and runs the command they
    // name; the program's exit code.
    int run(const QStringList& arguments);

    // The one usage-error path: the reason, then the usage line of the
    // command (or of the program) and where the help is, on standard error.
    static int usageError(const QString& detail, const CliCommand* command = nullptr);
    // The usage line of a command, or of the program for none; and its
    // words after "Usage:".
    static QString usageLine(const CliCommand* command);
    static QString usageWords(const CliCommand* command);

    QString helpText() const;
    static QString commandHelpText(const CliCommand& command);

    // Parses a command's own words (its options, the trust options and
    // --help) into parser: what the dispatch does with the words after a
    // command's name, and what a command that runs another command line
    // (a sub-job after its own options) does with that line. False after the
    // usage error, or the command's help, has been printed; *exitCode is then
    // the program's exit code.
    static bool parseCommandWords(
        const CliCommand& command, QStringList words, QCommandLineParser* parser, int* exitCode);

private:
    // The options before the command; the trust options are also accepted
    // after it.
    QList<QCommandLineOption> globalOptions() const;
    static QList<QCommandLineOption> trustOptions();
    std::unique_ptr<CliCommand> create(const QString& name);
    // The command's words with each multi-value option repeated per value;
    // false with *error set when one has no value.
    static bool expandMultiValues(const CliCommand& command, QStringList* words, QString* error);
    // The global options' values into m_options; a usage error's reason, or empty.
    QString readGlobalOptions(const QCommandLineParser& parser);
    // Documents, server, limits, trust, the embedded default and, with
    // record, the recording of the shared engine's session; false with
    // *exitCode set when the run cannot start.
    bool prepare(int* exitCode, bool record);

    CliOptions m_options;
    std::vector<std::function<std::unique_ptr<CliCommand>(CliOptions&)>> m_factories;
    std::unique_ptr<DemoEnvironment> m_demo;
    std::unique_ptr<StderrToastPresenter> m_toasts;
    // --record: the session on the link, written as it happens.
    std::unique_ptr<LinkRecorder> m_recorder;
};
