// A tool's edge: it may ask.
int main()
{
    return EADSessionController::sharedController().hasSession() ? 0 : 1;
}
