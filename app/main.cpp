// Entry point of mousecfg.
#include "app/startup.h"

int main(int argc, char **argv)
{
    return mc::runMousecfg(argc, argv);
}
