#pragma once

#include <QString>

class QWidget;

// Small helpers for the screens. Class operations only.
class ZelTool {
public:
    enum Language : unsigned { Chinese = 1, English = 2, Japanese = 4 };

    // The first top-level window that is the active (key) window; null if none is.
    static QWidget* getKeyWindow();
    // The widget on top: an open modal dialog, else the key window.
    static QWidget* getCurrentViewController();
    // From the first preferred language: 1 Chinese, 4 Japanese, 2 any other.
    static unsigned getSystemLanguage();
    // "zh", "ja" or "en" by the same rule.
    static QString getSystemLanguageShorthand();

    // The rule itself, for one language text. The preferred languages are
    // Localization's.
    static unsigned languageForText(const QString& text);
};
