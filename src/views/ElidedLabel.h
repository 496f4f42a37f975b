#pragma once

#include <QLabel>
#include <QString>

// A one-line label that takes the room its layout leaves it and shows as
// much of its text as fits, ending in "…"; the whole text is its tooltip.
// It never asks for more width than it gets, so a long text cannot push its
// neighbours out of a small window.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return m_fullText; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString m_fullText;
};
