// Linked with one library of the program as a whole archive and with nothing but what that
// library names: the link fails when any of its code calls up a floor or sideways.
int main()
{
    return 0;
}
