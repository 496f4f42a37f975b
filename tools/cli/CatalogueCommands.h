#pragma once

#include <QObject>

struct CliOptions;

// The catalogue's commands: `releases [--local | --online]`, `import FILE`,
// `serve DIR | --site OUT [--listen HOST:PORT]`, `publish DIR OUT [--sign-key
// FILE] [--expires DAYS] [--list-version N] [--base-url URL]`, `sign-list`,
// `sign-keys`, `keygen FILE` and `history [--json]`.
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
    int signList();
    int signKeys();
    int keygen();
    int history();

private:
    const CliOptions& m_options;
};
