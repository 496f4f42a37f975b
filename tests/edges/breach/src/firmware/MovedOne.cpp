// Listed twice, asks once: the list is to be lowered.
void MovedOne::go()
{
    GameControllerService::sharedService().connectController(nullptr);
}
