#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A game-controller mapping in SDL's text form: the device's GUID and name,
// then what each element of a standard controller reads on the device
// ("a:b0", "leftx:a0", "lefty:a1~", "lefttrigger:+a2", "dpup:h0.1"), and the
// platform whose numbering of the device's inputs it follows.
struct GameControllerMapping {
    struct Binding {
        QString element; // SDL's name: a, b, leftshoulder, dpup, leftx, lefttrigger, ...
        QString input; // bN, hH.V, aN, aN~, +aN, -aN
    };

    QString guid;
    QString name;
    std::vector<Binding> bindings;
    QString platform; // empty: for any platform

    // "GUID,name,element:input,...,platform:P," as SDL writes its lines.
    QByteArray line() const;

    // The GUID a mapping names a device by: SDL's with the checksum of the
    // device's name (its third and fourth byte) left out, as mapping lines
    // carry it, so that the line serves the device whatever it calls itself.
    static QString mappingGuid(const QString& guid);
    // The name as a line can carry it: SDL's fields are split at commas.
    static QString lineName(const QString& name);
};
