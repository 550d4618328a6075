// The synchronisation service's manager program. The desktop program asks it to let go of the
// device ("/quit") before a copy; the stand-in holds no connection of its own, so it only
// acknowledges the request. Anything else is refused with a usage line.

#include <cstdio>
#include <cstring>
#include <strings.h>

int main(int argc, char **argv)
{
    if (argc == 2 && strcasecmp(argv[1], "/quit") == 0)
        return 0;
    std::fprintf(stderr, "usage: %s /quit\n", argc > 0 ? argv[0] : "wcesmgr");
    return 2;
}
