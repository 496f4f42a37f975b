// Arbitrary reply chunks into the engine in every state of an exchange, as
// the link delivers them (the session reads them and the engine cuts its
// replies from them), and arbitrary request bytes into the simulated controller.
#include "accessory/EADSessionController.h"
#include "FuzzSupport.h"
#include "lib/MessageToast.h"
#include "platform/transport/LocalLink.h"
#include "platform/runtime/MainQueue.h"
#include "sim/SimulatedController.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

struct Fixture {
    QTemporaryDir dir;
    LocalLink link;
    EAAccessoryPtr accessory;
    SimulatedController sim;
    struct Silent : ToastPresenter {
        void present(const QString&, double) override { }
    } toasts;

    Fixture()
    {
        // Timers fire almost at once, so resends and watchdogs run between inputs.
        MainQueue::setTimeScale(0.00001);
        MessageToast::setPresenter(&toasts);
        accessory = EAAccessory::create({ QStringLiteral("example.q3dart.protocol") }, &link);
        link.deviceReceive = [](const QByteArray&) {};
        EADSessionController::sharedController().setupControllerForAccessory(
            accessory, QStringLiteral("example.q3dart.protocol"));
        ZelFirmwareUpgradeManager::sharedInstance(); // made with the session configured
        for (auto [name, size] :
            { std::pair { "boot.bin", 0xE800 + 100 }, std::pair { "left.bin", 100 }, std::pair { "right.bin", 70 } }) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(size, '\x5A'));
        }
        sim.replySink = [](const QByteArray&) {};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureApplication();
    static Fixture* fixture = new Fixture;
    if (size == 0)
        return 0;
    ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    engine.cancelRun();
    const QString boot = fixture->dir.filePath(QStringLiteral("boot.bin"));
    const QString left = fixture->dir.filePath(QStringLiteral("left.bin"));
    const QString right = fixture->dir.filePath(QStringLiteral("right.bin"));
    // The first byte picks the exchange; the rest is chunks, each a length byte and its bytes.
    switch (data[0] % 4) {
    case 0:
        engine.checkCurrentVersion([](const QString&) {});
        break;
    case 1:
        engine.sendFiles(QString(), QString(), right);
        break;
    case 2:
        engine.sendFiles(QString(), left, right);
        break;
    default:
        engine.sendFiles(boot, left, right);
        break;
    }
    size_t at = 1;
    while (at < size) {
        const size_t length = std::min<size_t>(data[at], size - at - 1);
        const QByteArray chunk(reinterpret_cast<const char*>(data + at + 1), qsizetype(length));
        at += 1 + length;
        fixture->link.deliverToHost(chunk);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        fixture->sim.receive(chunk);
    }
    // Let the resends, watchdogs and queued deliveries of this input run out.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return 0;
}
