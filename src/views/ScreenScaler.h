#pragma once

#include <QList>
#include <QMargins>
#include <QPointer>
#include <QSize>

class QLayout;
class QWidget;

// Grows and shrinks a screen drawn for the default window with its window:
// the text of its labels and buttons, its buttons' and icons' sizes, and its
// layouts' margins and spacing, all by one factor, the smaller of the
// window's width and height over the default's, kept between kSmallest and
// kLargest. Sizes are read once, as drawn, and every factor is applied to
// them, so that resizing back and forth loses nothing.
class ScreenScaler {
public:
    static constexpr int kDesignWidth = 1024;
    static constexpr int kDesignHeight = 576;
    static constexpr double kSmallest = 0.8;
    static constexpr double kLargest = 1.75;
    // Text stays readable however small the window: no smaller than this,
    // or than it is drawn when that is smaller.
    static constexpr int kSmallestFontPixels = 12;

    // Reads the sizes of everything under content, as styled now; close
    // buttons and the red dot keep theirs.
    explicit ScreenScaler(QWidget* content);

    // The factor for a window of this size.
    static double scaleFor(const QSize& window);
    // Applies the factor for a window of this size; whether it changed.
    bool fit(const QSize& window);
    double scale() const { return m_scale; }
    // A size drawn for the default window, at the factor in use.
    int scaled(int designPixels) const;
    // A text size drawn for the default window, at the factor in use.
    int scaledFont(int designPixels) const;

private:
    void apply();

    struct Control {
        QPointer<QWidget> widget;
        int fontPixels = 0;
        QSize minimum;
        QSize icon;
    };
    struct Spacing {
        QPointer<QLayout> layout;
        QMargins margins;
        int spacing = -1;
        int horizontal = -1;
        int vertical = -1;
    };
    QList<Control> m_controls;
    QList<Spacing> m_spacings;
    double m_scale = 1.0;
};
