// A screen that finds the engine itself instead of being handed it.
void AsksTheEngine::show()
{
    m_versions = ZelFirmwareUpgradeManager::sharedInstance().followedVersionsText();
}
