// saphtel: interpolates geoid undulations for the points of INPUT.USR in the
// grid file `saphtel` and writes OUTPUT.USR, all in the current folder.
#include "gridtool/Saphtel.h"

#include <iostream>

int main()
{
    return orv::RunSaphtel(".", std::cerr);
}
