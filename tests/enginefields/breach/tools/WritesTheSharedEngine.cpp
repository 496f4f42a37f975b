// Breach: a tool gives the application's engine its files by hand.
void giveFiles(const QString& path)
{
    ZelFirmwareUpgradeManager::sharedInstance().rightFilePath = path;
}
