#pragma once

#include "views/ZelBaseView.h"

class QPushButton;

// A layer over a whole screen: the screen below dimmed, a card in the middle
// and, on the card's top-right corner, a close button that hides the layer.
class ZelOverlayView : public ZelBaseView {
    Q_OBJECT
public:
    explicit ZelOverlayView(QWidget* parent = nullptr);

    QPushButton* closeButton = nullptr;

protected:
    // Centres the card and puts the close button on its corner.
    void placeCard(QWidget* card);
    void paintEvent(QPaintEvent* event) override;
};
