// A shared object that is not a plug-in: it lacks the two entry points.
extern "C" __attribute__((visibility("default"))) int not_a_plugin()
{
    return 1;
}
