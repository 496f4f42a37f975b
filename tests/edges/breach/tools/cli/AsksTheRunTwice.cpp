// Listed once, asks twice.
void AsksTheRunTwice::go()
{
    if (UpgradeRun::current())
        UpgradeRun::current()->cancel();
}
