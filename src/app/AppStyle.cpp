#include "app/AppStyle.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

void AppStyle::apply(QApplication& app)
{
    // Fusion draws the same on every desktop, so the style sheet decides the look.
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x14, 0x15, 0x1a));
    palette.setColor(QPalette::WindowText, QColor(0xf2, 0xf2, 0xf5));
    palette.setColor(QPalette::Base, QColor(0x1f, 0x21, 0x28));
    palette.setColor(QPalette::AlternateBase, QColor(0x26, 0x28, 0x30));
    palette.setColor(QPalette::Text, QColor(0xf2, 0xf2, 0xf5));
    palette.setColor(QPalette::Button, QColor(0x2a, 0x2d, 0x36));
    palette.setColor(QPalette::ButtonText, QColor(0xf2, 0xf2, 0xf5));
    palette.setColor(QPalette::Highlight, QColor(0xfc, 0x7a, 0x24));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0x2d, 0x2d, 0x2d));
    palette.setColor(QPalette::ToolTipText, Qt::white);
    app.setPalette(palette);

    // A Latin face first, then a CJK face for the characters it lacks.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setFamilies({ QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"),
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC") });
    font.setPointSizeF(10.5);
    font.setStyleStrategy(QFont::PreferAntialias);
    app.setFont(font);

    QFile sheet(QStringLiteral(":/style/q3dart.qss"));
    if (sheet.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
}
