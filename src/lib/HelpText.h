#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

// The help of a command line, laid out for a terminal: entries of a name
// column and a description wrapped to the line width, where a wide (CJK)
// character takes two columns and may end a line.
class HelpText {
public:
    // Where descriptions start, and the width they are wrapped to.
    static constexpr int kDescriptionColumn = 20;
    static constexpr int kLineWidth = 80;

    void paragraph(const QString& text);
    void heading(const QString& text);
    // left in the name column, the description beside it (below it when
    // the name is too wide); '\n' in the description starts a new line.
    void entry(const QString& left, const QString& description);
    QString text() const { return m_text; }

    // text wrapped to lines of at most width columns (a longer word stays whole).
    static QStringList wrap(const QString& text, int width);
    // Columns a text takes on a terminal.
    static int columns(const QString& text);
    // An option's name as it is typed: "-h" or "--help".
    static QString dashed(const QString& name);
    // The name column of an option: its names and its value, e.g. "-h, --help" or "--listen HOST:PORT".
    static QString optionColumn(const QCommandLineOption& option);
    // A usage error as every tool of ours prints it: the problem, the usage
    // line ("PROGRAM WORDS") and the command that shows the help.
    static QString usageError(const QString& detail, const QString& usage, const QString& helpCommand);

private:
    QString m_text;
};
