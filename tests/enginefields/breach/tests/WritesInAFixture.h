// Breaches: a test fixture sets the engine's state instead of reaching it.
struct Fixture {
    void prepare()
    {
        engine().bootNeedUpgrade = true;
        engine().accessory.reset();
        m_engine->upgradeProgressBlock = nullptr;
    }
};
