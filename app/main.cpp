#include "app/startup.h"

#include <QtGlobal>

int main(int argc, char *argv[])
{
    // The pictures are compiled into the static core library, which the linker would drop.
    Q_INIT_RESOURCE(resources);
    return Startup::run(argc, argv);
}
