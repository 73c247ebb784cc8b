// A second program using the registry, for the tests that need two processes:
//   registry_regtool set <path> <name> <value>     creates the key and writes the value; exit 0 when written
//   registry_regtool fill <path> <prefix> <count>  writes <prefix>1 = "v1" ... a write at a time; exit 0 when all were
//   registry_regtool crash <path> <name> <value>   writes the value into an existing key but dies (exit 3) once the
//                                                  new file is written and before it replaces the old one
#include "registry/modregistry.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include "registry/filestore.h"
#endif

using namespace registry::modRegistry;

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    const QString command = args.value(0);
    if (command == u"set" && args.size() == 4) {
        return CriarChave(args[1]) && DefinirValorString(args[1], args[2], args[3]) ? 0 : 1;
    }
    if (command == u"fill" && args.size() == 4) {
        bool written = true;
        for (int i = 1; i <= args[3].toInt(); ++i) {
            written = DefinirValorString(args[1], args[2] + QString::number(i), u'v' + QString::number(i)) && written;
        }
        return written ? 0 : 1;
    }
#ifndef _WIN32
    if (command == u"crash" && args.size() == 4) {
        registry::filestore::setBeforeReplace([](const QString&) { std::_Exit(3); });
        return DefinirValorString(args[1], args[2], args[3]) ? 0 : 1;
    }
#endif
    std::fputs("usage: registry_regtool set|fill|crash <path> ...\n", stderr);
    return 64;
}
