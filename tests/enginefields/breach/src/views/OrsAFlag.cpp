// Breach: a screen changes a flag with a compound assignment.
void View::leave()
{
    m_engine.isUpgradingFirmware |= leaving;
}
