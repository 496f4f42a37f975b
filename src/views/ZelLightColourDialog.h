#pragma once

#include <QColor>
#include <QDialog>
#include <QPointer>

#include <array>

class QLabel;
class QSlider;

// Picks any colour for a controller's light: a slider and a number for red,
// green and blue each (0 to 255) and the colour they make, in the user's
// language (the platform's colour dialog speaks only the platform's).
// Opened without a loop of its own, so the controller's events go on.
class ZelLightColourDialog : public QDialog {
    Q_OBJECT
public:
    explicit ZelLightColourDialog(const QColor& colour, QWidget* parent = nullptr);

    QColor colour() const;
    void setColour(const QColor& colour);
    // Red, green and blue.
    std::array<QPointer<QSlider>, 3> sliders;

signals:
    void colourChosen(const QColor& colour);

private:
    void showColour();

    QPointer<QLabel> m_preview;
};
