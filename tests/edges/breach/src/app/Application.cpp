// The application's edge: it may ask.
void start()
{
    ZelFirmwareUpgradeManager::sharedInstance().checkCurrentVersion(nullptr);
}
