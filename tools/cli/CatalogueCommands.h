#pragma once

#include <QObject>

struct CliOptions;

// The catalogue's commands: `releases [--local | --online]`, `import FILE`,
// `serve DIR [--listen HOST:PORT] [--sign-key FILE]`, `publish DIR OUT
// [--sign-key FILE] [--base-url URL]`, `keygen FILE` and `history [--json]`.
// Each returns its exit code, or -1 when it keeps running (serve) or finishes
// later through the event loop.
class CatalogueCommands : public QObject {
    Q_OBJECT
public:
    explicit CatalogueCommands(const CliOptions& options, QObject* parent = nullptr);

    int releases();
    int importFile();
    int serve();
    int publish();
    int keygen();
    int history();

private:
    const CliOptions& m_options;
};
