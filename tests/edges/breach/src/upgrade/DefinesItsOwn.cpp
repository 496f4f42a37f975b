// Declaring and defining an accessor, and naming one in a comment, is not
// calling it: sharedInstance() here says nothing.
class DefinesItsOwn {
public:
    static DefinesItsOwn& sharedInstance();
};

DefinesItsOwn& DefinesItsOwn::sharedInstance()
{
    static DefinesItsOwn instance;
    return instance;
}
