#pragma once

#include <QColor>
#include <QWidget>

// A layer laid over a key while it is held: a horizontal gradient across the
// key's whole area, inside its rounded corners, red at the right edge and
// orange at the left. It takes no input and follows the key's size; the key
// keeps its title in a layer above it.
class GradientLayer : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kRightColor = QColor(251, 0, 25);
    static inline const QColor kLeftColor = QColor(252, 122, 36);

    GradientLayer(QWidget* key, double cornerRadius);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    double m_cornerRadius;
};
