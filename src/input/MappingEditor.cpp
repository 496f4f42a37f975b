#include "input/MappingEditor.h"

#include "platform/gamepad/GameControllerKeys.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/NotificationCenter.h"

#include <cstdlib>
#include <string_view>

namespace {

using Kind = MappingEditor::Kind;
using RawKind = GCControllerRawInput::Kind;

// A hat's directions as SDL's bits: up 1, right 2, down 4, left 8.
bool isOneDirection(int hat)
{
    return hat == 1 || hat == 2 || hat == 4 || hat == 8;
}

// The axis an input reads ("a3", "+a3", "-a3", "a3~"), and which half: 0 for the whole axis.
struct AxisUse {
    int axis = -1;
    int half = 0;
};

AxisUse axisUse(const QString& input)
{
    QString text = input;
    AxisUse use;
    if (text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'))) {
        use.half = text.startsWith(QLatin1Char('+')) ? 1 : -1;
        text.remove(0, 1);
    }
    if (!text.startsWith(QLatin1Char('a')))
        return {};
    if (text.endsWith(QLatin1Char('~')))
        text.chop(1);
    bool ok = false;
    use.axis = text.mid(1).toInt(&ok);
    return ok ? use : AxisUse {};
}

} // namespace

const std::vector<MappingEditor::Target>& MappingEditor::targets()
{
    static const std::vector<Target> list {
        { "a", Kind::Button, "A" },
        { "b", Kind::Button, "B" },
        { "x", Kind::Button, "X" },
        { "y", Kind::Button, "Y" },
        { "leftshoulder", Kind::Button, "L1" },
        { "rightshoulder", Kind::Button, "R1" },
        { "lefttrigger", Kind::Trigger, "L2" },
        { "righttrigger", Kind::Trigger, "R2" },
        { "dpup", Kind::Button, "DirectionUp" },
        { "dpdown", Kind::Button, "DirectionDown" },
        { "dpleft", Kind::Button, "DirectionLeft" },
        { "dpright", Kind::Button, "DirectionRight" },
        { "leftx", Kind::StickRight, "MappingLeftStickX" },
        { "lefty", Kind::StickUp, "MappingLeftStickY" },
        { "rightx", Kind::StickRight, "MappingRightStickX" },
        { "righty", Kind::StickUp, "MappingRightStickY" },
        { "leftstick", Kind::Button, "L3" },
        { "rightstick", Kind::Button, "R3" },
        { "back", Kind::Button, "KeyOptions" },
        { "start", Kind::Button, "KeyMenu" },
        { "guide", Kind::Button, "KeyHome" },
    };
    return list;
}

MappingEditor::MappingEditor(const GCControllerPtr& controller, QObject* parent)
    : QObject(parent)
    , m_controller(controller)
    , m_inputs(targets().size())
{
    if (!m_controller)
        return;
    for (const GCControllerRawInput& input : m_controller->rawInputs())
        m_rest.push_back(input.value);
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, GCControllerValuesDidChangeNotification, [this](const Notification& n) {
        if (n.object.value<GCControllerPtr>() == m_controller)
            valuesChanged();
    });
    center.addObserver(this, GCControllerDidDisconnectNotification, [this](const Notification& n) {
        if (n.object.value<GCControllerPtr>() == m_controller) {
            NotificationCenter::defaultCenter().removeObserver(this);
            emit controllerLeft();
        }
    });
}

MappingEditor::~MappingEditor()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

QString MappingEditor::inputFor(int index) const
{
    return index >= 0 && size_t(index) < m_inputs.size() ? m_inputs[size_t(index)] : QString();
}

int MappingEditor::boundCount() const
{
    int n = 0;
    for (const QString& input : m_inputs)
        n += input.isEmpty() ? 0 : 1;
    return n;
}

QString MappingEditor::elementLabel(int index)
{
    if (index < 0 || size_t(index) >= targets().size())
        return QString();
    const Target& t = targets()[size_t(index)];
    const QString label = QLatin1String(t.label);
    // The letters and shoulder names are the same in every language.
    if (GameControllerKeys::keyNamed(label))
        return label;
    if (std::string_view(t.element).starts_with("dp"))
        return localized("MappingPadDirection").arg(localized(t.label));
    return localized(t.label);
}

QString MappingEditor::prompt() const
{
    if (isDone())
        return localized("MappingDone");
    if (isWaitingForRelease())
        return localized("MappingLetGo");
    const Target& t = targets()[size_t(m_index)];
    switch (t.kind) {
    case Kind::Button:
    case Kind::Trigger:
        return localized("MappingPress").arg(elementLabel(m_index));
    case Kind::StickRight:
    case Kind::StickUp:
        break;
    }
    const bool left = QLatin1String(t.element).startsWith(QLatin1String("left"));
    if (t.kind == Kind::StickRight)
        return localized(left ? "MappingPushLeftStickRight" : "MappingPushRightStickRight");
    return localized(left ? "MappingPushLeftStickUp" : "MappingPushRightStickUp");
}

void MappingEditor::skip()
{
    if (isDone())
        return;
    m_inputs[size_t(m_index)].clear();
    m_held.reset();
    ++m_index;
    emit changed();
}

void MappingEditor::back()
{
    if (m_index == 0 && !m_held)
        return;
    if (!m_held)
        --m_index;
    m_inputs[size_t(m_index)].clear();
    m_held.reset();
    emit changed();
}

GameControllerMapping MappingEditor::mapping() const
{
    GameControllerMapping mapping;
    if (m_controller) {
        mapping.guid = m_controller->identity().guid;
        mapping.name = m_controller->vendorName();
    }
    for (size_t i = 0; i < m_inputs.size(); ++i)
        if (!m_inputs[i].isEmpty())
            mapping.bindings.push_back({ QLatin1String(targets()[i].element), m_inputs[i] });
    return mapping;
}

bool MappingEditor::isAtRest(size_t raw) const
{
    const std::vector<GCControllerRawInput>& inputs = m_controller->rawInputs();
    if (raw >= inputs.size() || raw >= m_rest.size())
        return true;
    if (inputs[raw].kind == RawKind::Axis)
        return std::abs(inputs[raw].value - m_rest[raw]) < kReleasedAxis;
    return inputs[raw].value == m_rest[raw];
}

bool MappingEditor::isFree(const QString& input) const
{
    const AxisUse use = axisUse(input);
    for (size_t i = 0; i < m_inputs.size(); ++i) {
        if (int(i) == m_index || m_inputs[i].isEmpty())
            continue;
        if (m_inputs[i] == input)
            return false;
        // Two halves of an axis may serve two elements; a whole axis only one.
        const AxisUse other = axisUse(m_inputs[i]);
        if (use.axis >= 0 && other.axis == use.axis && (use.half == 0 || other.half == 0 || use.half == other.half))
            return false;
    }
    return true;
}

std::optional<MappingEditor::Taken> MappingEditor::moved() const
{
    const Kind kind = targets()[size_t(m_index)].kind;
    const bool stick = kind == Kind::StickRight || kind == Kind::StickUp;
    const std::vector<GCControllerRawInput>& inputs = m_controller->rawInputs();
    for (size_t i = 0; i < inputs.size() && i < m_rest.size(); ++i) {
        const GCControllerRawInput& raw = inputs[i];
        const int rest = m_rest[i];
        const QString number = raw.name.mid(1);
        QString input;
        if (raw.kind == RawKind::Button && !stick && raw.value != rest && raw.value != 0) {
            input = QLatin1Char('b') + number;
        } else if (raw.kind == RawKind::Hat && !stick && raw.value != rest && isOneDirection(raw.value)) {
            input = QStringLiteral("h%1.%2").arg(number).arg(raw.value);
        } else if (raw.kind == RawKind::Axis && std::abs(raw.value - rest) >= kMovedAxis) {
            const bool grew = raw.value > rest;
            const QString axis = QLatin1Char('a') + number;
            switch (kind) {
            case Kind::StickRight:
                input = grew ? axis : axis + QLatin1Char('~');
                break;
            case Kind::StickUp:
                input = grew ? axis + QLatin1Char('~') : axis;
                break;
            case Kind::Trigger:
                // A trigger resting at one end of its axis travels the whole axis.
                if (rest <= -kMovedAxis || rest >= kMovedAxis)
                    input = grew ? axis : axis + QLatin1Char('~');
                else
                    input = (grew ? QLatin1Char('+') : QLatin1Char('-')) + axis;
                break;
            case Kind::Button:
                input = (grew ? QLatin1Char('+') : QLatin1Char('-')) + axis;
                break;
            }
        }
        if (!input.isEmpty() && isFree(input))
            return Taken { i, input };
    }
    return std::nullopt;
}

void MappingEditor::valuesChanged()
{
    if (isDone())
        return;
    if (m_held) {
        if (!isAtRest(*m_held))
            return;
        m_held.reset();
        ++m_index;
        emit changed();
        return;
    }
    if (const std::optional<Taken> taken = moved()) {
        m_inputs[size_t(m_index)] = taken->input;
        m_held = taken->raw;
        emit changed();
    }
}
