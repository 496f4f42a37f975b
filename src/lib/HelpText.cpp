#include "lib/HelpText.h"

#include "platform/runtime/Localization.h"

namespace {

constexpr int kNameIndent = 2;

// Wide characters: CJK ideographs, kana, Hangul and the full-width forms.
bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
        || (c >= 0xFFE0 && c <= 0xFFE6);
}

} // namespace

QString HelpText::dashed(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString HelpText::optionColumn(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names << dashed(name);
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += QLatin1Char(' ') + option.valueName();
    return text;
}

int HelpText::columns(const QString& text)
{
    int n = 0;
    for (const char32_t c : text.toUcs4())
        n += isWide(c) ? 2 : 1;
    return n;
}

QStringList HelpText::wrap(const QString& text, int width)
{
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        const std::u32string chars = paragraph.toStdU32String();
        QString line;
        int used = 0;
        // The last place the line may break: after a space or a wide character.
        qsizetype breakAt = -1;
        for (const char32_t c : chars) {
            const int w = isWide(c) ? 2 : 1;
            if (used + w > width && !line.isEmpty()) {
                if (breakAt > 0) {
                    lines << line.left(breakAt).trimmed();
                    line = line.mid(breakAt).trimmed();
                } else {
                    lines << line;
                    line.clear();
                }
                used = columns(line);
                breakAt = -1;
                if (c == U' ' && line.isEmpty())
                    continue;
            }
            const char32_t one[] = { c };
            line += QString::fromUcs4(one, 1);
            used += w;
            if (c == U' ' || isWide(c))
                breakAt = line.size();
        }
        lines << line;
    }
    return lines;
}

void HelpText::paragraph(const QString& text)
{
    for (const QString& line : wrap(text, kLineWidth))
        m_text += line + QLatin1Char('\n');
    m_text += QLatin1Char('\n');
}

void HelpText::heading(const QString& text)
{
    m_text += text + QLatin1Char('\n');
}

void HelpText::entry(const QString& left, const QString& description)
{
    const QString indent(kDescriptionColumn, QLatin1Char(' '));
    QString first = QString(kNameIndent, QLatin1Char(' ')) + left;
    const QStringList lines = wrap(description, kLineWidth - kDescriptionColumn);
    if (columns(first) + 1 > kDescriptionColumn) {
        m_text += first + QLatin1Char('\n');
        first = indent;
    } else {
        first += QString(kDescriptionColumn - columns(first), QLatin1Char(' '));
    }
    for (qsizetype i = 0; i < lines.size(); ++i)
        m_text += (i == 0 ? first : indent) + lines[i] + QLatin1Char('\n');
}

QString HelpText::usageError(const QString& detail, const QString& usage, const QString& helpCommand)
{
    return localized("CliUsageError").arg(detail) + QLatin1Char('\n') + localized("CliHelpUsage").arg(usage)
        + QLatin1Char('\n') + localized("CliHelpHint").arg(helpCommand) + QLatin1Char('\n');
}
