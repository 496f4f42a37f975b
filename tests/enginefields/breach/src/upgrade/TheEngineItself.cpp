// Not a breach: the engine writes its own fields.
void ZelFirmwareUpgradeManager::forget()
{
    engine().accessory = nullptr;
}
