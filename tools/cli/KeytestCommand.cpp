#include "cli/KeytestCommand.h"

#include "cli/CliOptions.h"
#include "input/KestGameController.h"
#include "platform/runtime/InterruptNotifier.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/gamepad/VirtualGameController.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QSocketNotifier>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Key = KestGameControllerManager::Key;
using Stick = KestGameControllerManager::Stick;

// Every word as a finite number, or nothing when one is not.
std::vector<double> numbers(const QStringList& words)
{
    std::vector<double> values;
    for (const QString& word : words) {
        bool ok = false;
        const double v = word.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return {};
        values.push_back(v);
    }
    return values;
}

QString number(float value)
{
    QString text = QString::asprintf("%.3f", double(value));
    return text == QLatin1String("-0.000") ? QStringLiteral("0.000") : text;
}

// The level of a trigger the controller has; 0 for one it lacks.
float triggerLevel(const GCControllerPtr& controller, Key key)
{
    const auto pad = controller->extendedGamepad();
    const GCControllerButtonInput* trigger = pad ? GameControllerKeys::element(*pad, key) : nullptr;
    return trigger ? trigger->value() : 0.0f;
}

} // namespace

KeytestCommand::KeytestCommand(CliOptions& options, QObject* parent)
    : GameControllerCommand(options, parent)
    , m_valuesOption(QStringLiteral("values"), localized("CliKeytestValues"))
    , m_checkOption(QStringLiteral("check"), localized("CliKeytestCheck"))
    , m_jsonOption(QStringLiteral("json"), localized("CliKeytestJson"))
    , m_stickOption(QStringLiteral("stick"), localized("CliKeytestStick"), QStringLiteral("left|right|both"))
    , m_secondsOption(QStringLiteral("seconds"), localized("CliKeytestSeconds"), QStringLiteral("S"))
{
}

KeytestCommand::~KeytestCommand()
{
    if (!m_started)
        return; // nothing was set up: the manager is not made for nothing
    NotificationCenter::defaultCenter().removeObserver(this);
    KestGameControllerManager& manager = services().controllers();
    if (manager.delegate() == this)
        manager.setDelegate(nullptr);
}

QString KeytestCommand::description() const
{
    return localized("CliKeytestHelp");
}

bool KeytestCommand::parseCheckOptions(const QCommandLineParser& parser, QString* error)
{
    if (!parser.positionalArguments().isEmpty()) {
        *error = localized("CliUnexpectedArgument").arg(parser.positionalArguments().first());
        return false;
    }
    m_values = parser.isSet(m_valuesOption);
    m_checking = parser.isSet(m_checkOption);
    m_json = parser.isSet(m_jsonOption);
    const bool stickGiven = parser.isSet(m_stickOption);
    const bool secondsGiven = parser.isSet(m_secondsOption);
    if (stickGiven) {
        const QString which = parser.value(m_stickOption);
        if (which != QLatin1String("left") && which != QLatin1String("right") && which != QLatin1String("both")) {
            *error = localized("CliKeytestStickInvalid");
            return false;
        }
        m_checkOptions.left = which != QLatin1String("right");
        m_checkOptions.right = which != QLatin1String("left");
    }
    if (secondsGiven) {
        bool ok = false;
        const double seconds = parser.value(m_secondsOption).toDouble(&ok);
        if (!ok || !(seconds > 0) || seconds > kMaxCheckStepSeconds) {
            *error = localized("CliSecondsRange").arg(QStringLiteral("--seconds")).arg(kMaxCheckStepSeconds);
            return false;
        }
        m_checkOptions.stepSeconds = seconds;
    }
    if (!m_checking && (m_json || stickGiven || secondsGiven)) {
        *error = localized("CliKeytestCheckOnly");
        return false;
    }
    if (m_checking && m_values) {
        *error = localized("CliOptionsExclusive").arg(QStringLiteral("--check"), QStringLiteral("--values"));
        return false;
    }
    return true;
}

int KeytestCommand::run(const QCommandLineParser& parser)
{
    QString error;
    if (!parseCheckOptions(parser, &error))
        return usage(error);
    m_started = true;
    const bool values = m_values;
    stopOnSignals();
    services().controllers().setDelegate(this);
    if (m_checking) {
        if (globalOptions().simulate)
            m_testClock = 0;
        else
            m_checkTick = Timer::scheduledTimer(kCheckTickSeconds, true, [this] {
                if (m_check)
                    m_check->advance();
            });
    } else {
        fillSlots(values);
    }
    if (values) {
        NotificationCenter& center = NotificationCenter::defaultCenter();
        center.addObserver(this, GCControllerValuesDidChangeNotification, [this](const Notification& n) {
            if (const GCControllerPtr c = n.object.value<GCControllerPtr>())
                printTriggers(c);
        });
        center.addObserver(this, GCControllerDidDisconnectNotification,
            [this](const Notification& n) { m_triggers.erase(n.object.value<GCControllerPtr>().get()); });
    }
    if (!startControllers())
        return CliOptions::Failed;
    if (globalOptions().simulate) {
        // The script's clock times its controller's changes.
        m_virtual->setInputTime(m_testClock);
        // The script drives a connected controller: it is read from the
        // moment the virtual controller is plugged in.
        MainQueue::dispatchAfter(
            kSimulatedPlugInDelay,
            [this] {
                m_script = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
                connect(m_script, &QSocketNotifier::activated, this, &KeytestCommand::readScript);
            },
            this);
    }
    if (m_checking && !globalOptions().simulate)
        std::fprintf(stderr, "%s\n", qPrintable(localized("CheckWaitingForController")));
    else if (!m_checking)
        std::fprintf(stderr, "%s\n", qPrintable(localized("KeyTestListening")));
    return runEventLoop();
}

qint64 KeytestCommand::checkClock() const
{
    if (globalOptions().simulate)
        return m_testClock;
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void KeytestCommand::startCheck(const GCControllerPtr& controller)
{
    if (m_check)
        return;
    if (!controller->extendedGamepad()) {
        std::fprintf(stderr, "%s\n", qPrintable(localized("CheckNeedsSticks").arg(controller->vendorName())));
        return;
    }
    // The device's report times and its motion sensors, for as long as the program runs.
    controller->setMeasuring(true);
    m_check = new ControllerCheck(
        controller, m_checkOptions, [this] { return checkClock(); }, this);
    connect(m_check, &ControllerCheck::stepChanged, this, &KeytestCommand::checkStepChanged);
    m_check->start();
}

void KeytestCommand::checkStepChanged(ControllerCheck::Step step)
{
    using Step = ControllerCheck::Step;
    QString prompt;
    switch (step) {
    case Step::Rest:
        prompt = localized("CheckPromptRest").arg(m_checkOptions.restSeconds);
        break;
    case Step::RotateLeft:
        prompt = localized("CheckPromptRotateLeft");
        break;
    case Step::RotateRight:
        prompt = localized("CheckPromptRotateRight");
        break;
    case Step::Triggers:
        prompt = localized("CheckPromptTriggers");
        break;
    case Step::Motion:
        prompt = localized("CheckPromptMotion");
        break;
    case Step::Done:
        prompt = localized("CheckComplete");
        break;
    }
    std::fprintf(stderr, "%s\n", qPrintable(prompt));
    if (step == Step::Done)
        // After the handler that ended the check has returned.
        MainQueue::dispatchAsync([this] { endCheck(); }, this);
}

// Prints and keeps the report, and ends the program: 0 once it is printed and saved.
void KeytestCommand::endCheck()
{
    ControllerCheck* check = std::exchange(m_check, nullptr);
    if (!check)
        return;
    check->finish();
    if (m_script)
        m_script->setEnabled(false);
    m_checkTick.reset();
    const ControllerCheckReport report = check->report();
    if (m_json)
        printLine(QString::fromUtf8(QJsonDocument(report.toJson()).toJson(QJsonDocument::Compact)));
    else
        for (const QString& line : report.textLines())
            printLine(line);
    QString error;
    const QString path = report.save(&error);
    if (path.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(error));
    else
        std::fprintf(stderr, "%s\n", qPrintable(localized("CheckReportSaved").arg(path)));
    QCoreApplication::exit(path.isEmpty() ? CliOptions::Failed : CliOptions::Ok);
}

void KeytestCommand::fillSlots(bool values)
{
    KestGameControllerManager& manager = services().controllers();
    for (int k = 0; k < KestGameControllerManager::kKeyCount; ++k) {
        const QString name = QString::fromLatin1(KestGameControllerManager::keyName(Key(k)));
        manager.setKeyPressed(Key(k), [name](bool pressed) {
            printLine(QStringLiteral("key %1 %2")
                          .arg(name, pressed ? QStringLiteral("pressed") : QStringLiteral("released")));
        });
    }
    for (const auto& [stick, name] : { std::pair { Stick::Left, "left" }, std::pair { Stick::Right, "right" } }) {
        manager.setJoystickChanged(stick, [name = QString::fromLatin1(name), stick, values](float dx, float dy) {
            printLine(QStringLiteral("stick %1 %2 %3").arg(name, number(dx), number(dy)));
            if (!values)
                return;
            // The position the movement ended at, as the stick reports it.
            const auto [x, y] = KestGameController::lastJoystickPosition(stick == Stick::Left);
            printLine(QStringLiteral("axis %1 %2 %3").arg(name, number(x), number(y)));
        });
    }
}

void KeytestCommand::printTriggers(const GCControllerPtr& controller)
{
    auto& [left, right] = m_triggers[controller.get()];
    for (auto [key, last, name] : { std::tuple { Key::L2, &left, "left" }, std::tuple { Key::R2, &right, "right" } }) {
        const float level = triggerLevel(controller, key);
        if (level != *last)
            printLine(QStringLiteral("trigger %1 %2").arg(QLatin1String(name), number(level)));
        *last = level;
    }
}

void KeytestCommand::gameControllerManager(
    KestGameControllerManager*, const std::shared_ptr<KestGameController>& gameController)
{
    const GCControllerPtr c = gameController->controller();
    if (m_checking) {
        startCheck(c);
        return;
    }
    printLine(QStringLiteral("connected %1 %2 %3").arg(c->playerIndex()).arg(profileName(c), c->vendorName()));
}

void KeytestCommand::gameControllerManagerGameControllerDisconnected(KestGameControllerManager*)
{
    if (m_checking)
        return; // the check ends itself when its controller leaves
    printLine(QStringLiteral("disconnected"));
}

void KeytestCommand::readScript()
{
    char buffer[512];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        // The script has ended; the test goes on until it is interrupted,
        // a check reports what it measured.
        m_script->setEnabled(false);
        if (m_checking) {
            if (!m_check) {
                std::fprintf(stderr, "%s\n",
                    qPrintable(localized("CheckNeedsSticks").arg(m_virtual->controller()->vendorName())));
                QCoreApplication::exit(CliOptions::Failed);
                return;
            }
            endCheck();
        }
        return;
    }
    m_scriptBuffer.append(buffer, n);
    auto refuse = [] {
        std::fprintf(stderr, "%s\n",
            qPrintable(localized("CliUsageError")
                           .arg(QStringLiteral("a script line is longer than %1 bytes").arg(kMaxScriptLine))));
    };
    qsizetype end;
    while ((end = m_scriptBuffer.indexOf('\n')) >= 0) {
        const QByteArray raw = m_scriptBuffer.left(end);
        m_scriptBuffer.remove(0, end + 1);
        if (std::exchange(m_skippingLongLine, false))
            continue; // the end of a line refused already
        if (raw.size() > kMaxScriptLine) {
            refuse();
            continue;
        }
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.isEmpty())
            runScriptLine(line);
    }
    if (m_scriptBuffer.size() > kMaxScriptLine) {
        if (!m_skippingLongLine)
            refuse();
        m_scriptBuffer.clear();
        m_skippingLongLine = true;
    }
}

// press NAME | release NAME | set NAME VALUE | stick left|right X Y | trigger left|right V | gyro X Y Z |
// accel X Y Z | touch PAD FINGER X Y [P] | lift PAD FINGER | touchpad PAD press|release | unplug | plug | wait MS
void KeytestCommand::runScriptLine(const QString& line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '));
    const QString verb = words.first();
    const qsizetype count = words.size();
    const auto button = VirtualGameController::buttonNamed(words.value(1));
    const bool left = words.value(1) == QLatin1String("left");
    const bool stick = left || words.value(1) == QLatin1String("right");
    bool xOk = false;
    bool yOk = false;
    const float x = words.value(2).toFloat(&xOk);
    const float y = words.value(3).toFloat(&yOk);
    if (verb == QLatin1String("plug") && count == 1) {
        m_virtual->plugIn();
    } else if (verb == QLatin1String("unplug") && count == 1) {
        m_virtual->unplug();
    } else if (verb == QLatin1String("press") && count == 2 && button) {
        m_virtual->press(*button);
    } else if (verb == QLatin1String("release") && count == 2 && button) {
        m_virtual->release(*button);
    } else if (verb == QLatin1String("set") && count == 3 && button && xOk) {
        m_virtual->setButton(*button, x);
    } else if (verb == QLatin1String("trigger") && count == 3 && stick && xOk) {
        m_virtual->setButton(left ? VirtualGameController::Button::L2 : VirtualGameController::Button::R2, x);
    } else if (verb == QLatin1String("stick") && count == 4 && stick && xOk && yOk) {
        m_virtual->moveStick(left ? VirtualGameController::Stick::Left : VirtualGameController::Stick::Right, x, y);
    } else if (const auto v = numbers(words.mid(1));
               (verb == QLatin1String("gyro") || verb == QLatin1String("accel")) && count == 4 && v.size() == 3) {
        if (verb == QLatin1String("gyro"))
            m_virtual->setRotation(float(v[0]), float(v[1]), float(v[2]));
        else
            m_virtual->setAcceleration(float(v[0]), float(v[1]), float(v[2]));
    } else if (verb == QLatin1String("touch") && (count == 5 || count == 6) && v.size() == size_t(count - 1)) {
        if (!m_virtual->touch(int(v[0]), int(v[1]), float(v[2]), float(v[3]), count == 6 ? float(v[4]) : 1.0f))
            refuseLine(line);
    } else if (verb == QLatin1String("lift") && count == 3 && v.size() == 2) {
        if (!m_virtual->lift(int(v[0]), int(v[1])))
            refuseLine(line);
    } else if (verb == QLatin1String("touchpad") && count == 3 && numbers(words.mid(1, 1)).size() == 1
        && (words[2] == QLatin1String("press") || words[2] == QLatin1String("release"))) {
        if (!m_virtual->pressTouchpad(words[1].toInt(), words[2] == QLatin1String("press")))
            refuseLine(line);
    } else if (const double ms = words.value(1).toDouble(&xOk);
               verb == QLatin1String("wait") && count == 2 && xOk && ms >= 0 && ms <= kMaxWaitMs) {
        m_testClock += qint64(std::llround(ms * 1000.0));
        m_virtual->setInputTime(m_testClock);
        if (m_check)
            m_check->advance();
    } else {
        refuseLine(line);
    }
}

void KeytestCommand::refuseLine(const QString& line)
{
    const QString detail = QStringLiteral("cannot run \"%1\"; expected press|release NAME, set NAME VALUE, "
                                          "stick left|right X Y, trigger left|right V, gyro X Y Z, accel X Y Z, "
                                          "touch PAD FINGER X Y [P], lift PAD FINGER, touchpad PAD press|release, "
                                          "plug, unplug or wait MS")
                               .arg(line);
    std::fprintf(stderr, "%s\n", qPrintable(localized("CliUsageError").arg(detail)));
}

void KeytestCommand::stopOnSignals()
{
    // Interrupted during a check: it ends there and reports what it measured.
    connect(&InterruptNotifier::shared(), &InterruptNotifier::interrupted, this, [this] {
        if (m_check)
            endCheck();
        else
            QCoreApplication::exit(CliOptions::Ok);
    });
}
