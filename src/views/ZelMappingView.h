#pragma once

#include "input/MappingEditor.h"

#include <QPointer>
#include <QWidget>

// The elements a mapping editor asks for, as chips in the order it asks:
// each with the device's input taken for it, the one asked for now marked,
// those passed over without an input dimmed.
class ZelMappingView : public QWidget {
    Q_OBJECT
public:
    explicit ZelMappingView(QWidget* parent = nullptr);

    void setEditor(const MappingEditor* editor);
    // Where an element's chip is drawn.
    QRect chipRect(int index) const;

    // Three rows of chips at their fullest.
    QSize sizeHint() const override { return { 880, 102 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<const MappingEditor> m_editor;
};
