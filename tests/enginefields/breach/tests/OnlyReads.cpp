// Not a breach: reads, comparisons, and fields of other classes.
bool ready()
{
    if (engine().rightVersion == QStringLiteral("1.0") || engine().accessory != nullptr)
        return false;
    station.accessory = nullptr;
    ZelFirmwareDataTool::sharedInstance().firmwaresDate = QDateTime();
    engine().setSettings(settings);
    return engine().isUpgradingFirmware <= true;
}
