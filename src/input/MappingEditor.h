#pragma once

#include "platform/gamepad/GameControllerMapping.h"
#include "platform/gamepad/GCController.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

// Makes a mapping for a controller that has none: it asks for each element
// of a standard controller in turn and takes the first of the device's raw
// buttons, hats or axes that the user moves for it, waiting for that input
// to be let go before it asks for the next. The user may skip an element
// (it stays unmapped) or go back to the one before. The inputs' positions
// when the editor starts are their positions at rest: the pad is to be left
// alone until it asks for something.
class MappingEditor : public QObject {
    Q_OBJECT
public:
    // How the asked-for element is to be worked.
    enum class Kind {
        Button, // pressed: a button, a hat direction or a half axis
        Trigger, // pressed fully: a button or an axis, full or half
        StickRight, // a stick pushed right: an axis growing (else inverted)
        StickUp, // a stick pushed up: an axis shrinking, SDL's y growing downward (else inverted)
    };
    struct Target {
        const char* element; // SDL's name
        Kind kind;
        const char* label; // the element as the key test names it, or a localisation key of the prompt
    };

    // An axis counts as moved this far from rest, and as let go again within kReleasedAxis of it.
    static constexpr int kMovedAxis = 16384;
    static constexpr int kReleasedAxis = 8192;

    // The elements asked for, in order.
    static const std::vector<Target>& targets();

    explicit MappingEditor(const GCControllerPtr& controller, QObject* parent = nullptr);
    ~MappingEditor() override;

    GCControllerPtr controller() const { return m_controller; }
    // The element asked for now; past the last one the editor is done.
    int index() const { return m_index; }
    int count() const { return int(targets().size()); }
    bool isDone() const { return m_index >= count(); }
    // An input was taken for the element asked for, and has not been let go yet.
    bool isWaitingForRelease() const { return m_held.has_value(); }
    // The input taken for an element ("b3", "a1~", ...); empty when none.
    QString inputFor(int index) const;
    int boundCount() const;
    // The prompt for the element asked for, in the user's language.
    QString prompt() const;
    // An element's name as the screen shows it.
    static QString elementLabel(int index);

    // Leaves the element asked for unmapped and asks for the next.
    void skip();
    // Asks again for the element before, forgetting what was taken for it.
    void back();

    // The mapping made so far, for the controller's GUID and name; without platform.
    GameControllerMapping mapping() const;

signals:
    void changed();
    // The controller was unplugged: there is nothing more to map.
    void controllerLeft();

private:
    struct Taken {
        size_t raw; // index among the controller's raw inputs
        QString input;
    };
    void valuesChanged();
    std::optional<Taken> moved() const;
    bool isFree(const QString& input) const;
    bool isAtRest(size_t raw) const;

    GCControllerPtr m_controller;
    std::vector<int> m_rest;
    std::vector<QString> m_inputs;
    int m_index = 0;
    std::optional<size_t> m_held;
};
