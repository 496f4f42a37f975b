#include "views/ZelLightColourDialog.h"

#include "platform/runtime/Localization.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int kPreviewSize = 48;
constexpr int kSliderWidth = 220;
} // namespace

ZelLightColourDialog::ZelLightColourDialog(const QColor& colour, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("lightColourDialog"));
    setWindowTitle(localized("LightColourTitle"));
    auto* grid = new QGridLayout;
    const char* const labels[] = { "ColourRed", "ColourGreen", "ColourBlue" };
    for (int c = 0; c < 3; ++c) {
        auto* label = new QLabel(localized(labels[c]), this);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setRange(0, 255);
        slider->setMinimumWidth(kSliderWidth);
        slider->setAccessibleName(localized(labels[c]));
        // The number beside it, for an exact value from the keyboard.
        auto* number = new QSpinBox(this);
        number->setRange(0, 255);
        number->setAccessibleName(localized(labels[c]));
        label->setBuddy(number);
        grid->addWidget(label, c, 0);
        grid->addWidget(slider, c, 1);
        grid->addWidget(number, c, 2);
        connect(slider, &QSlider::valueChanged, number, &QSpinBox::setValue);
        connect(number, &QSpinBox::valueChanged, slider, &QSlider::setValue);
        connect(slider, &QSlider::valueChanged, this, &ZelLightColourDialog::showColour);
        sliders[size_t(c)] = slider;
    }
    m_preview = new QLabel(this);
    m_preview->setFixedSize(kPreviewSize, kPreviewSize);
    grid->addWidget(m_preview, 0, 3, 3, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(localized("LightColourSet"), QDialogButtonBox::AcceptRole);
    buttons->addButton(localized("LightColourCancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, [this] { emit colourChosen(this->colour()); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    setColour(colour);
}

QColor ZelLightColourDialog::colour() const
{
    return QColor(sliders[0]->value(), sliders[1]->value(), sliders[2]->value());
}

void ZelLightColourDialog::setColour(const QColor& colour)
{
    sliders[0]->setValue(colour.red());
    sliders[1]->setValue(colour.green());
    sliders[2]->setValue(colour.blue());
    showColour();
}

void ZelLightColourDialog::showColour()
{
    m_preview->setStyleSheet(
        QStringLiteral("background: %1; border: 1px solid #3a3e4a; border-radius: 6px;").arg(colour().name()));
}
