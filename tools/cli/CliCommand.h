#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class ControllerConnector;
class QCommandLineParser;
struct CliOptions;
struct CliServices;

// One command of q3dart-cli: its name, its own options and what it does.
// CommandLine parses the words after the name with options() (and the options
// that qualify the whole run), then calls run() with the result.
class CliCommand : public QObject {
    Q_OBJECT
public:
    explicit CliCommand(CliOptions& options, QObject* parent = nullptr);
    ~CliCommand() override;

    // The word that selects the command, e.g. "upgrade".
    virtual QString name() const = 0;
    // The words after the name in the usage line, e.g. "[--json] FILE".
    virtual QString synopsis() const = 0;
    // What the command does, localised; lines end with '\n' where they break.
    virtual QString description() const = 0;
    // The command's own options, with localised descriptions.
    virtual QList<QCommandLineOption> options() const { return {}; }
    // Options whose values run on to the next option (`--add A B`), each
    // value read as if the option were repeated (`--add A --add B`).
    virtual QStringList multiValueOptions() const { return {}; }
    // True for a command that runs another command line after its own
    // options: everything from its first argument on is left unparsed.
    virtual bool optionsEndAtFirstArgument() const { return false; }
    // True for a command that records each of its controllers itself
    // (--record); the others' session is the shared engine's.
    virtual bool recordsEachController() const { return false; }

    // Runs the command on its parsed words; the program's exit code.
    virtual int run(const QCommandLineParser& parser) = 0;

protected:
    // The one way a command refuses its words: the reason and its usage
    // line on standard error; the usage exit code.
    int usage(const QString& detail) const;
    // The reason on standard error, prefixed with the program's name; the
    // failure exit code.
    int failed(const QString& message) const;
    // For a command that ends later: runs the event loop until it exits and
    // returns its code.
    int runEventLoop();

    CliOptions& globalOptions() const { return m_options; }
    const CliServices& services() const;
    // The controller's transport for this run, made on first use.
    ControllerConnector& connector();

private:
    CliOptions& m_options;
    ControllerConnector* m_connector = nullptr;
};
