// kreidolin-mdb: reads one table of a genuine Access file and writes it to
// stdout in the stream the program parses (store/jetformat.h). It runs as a
// child of the program, so that a damaged file can only bring this process
// down, never the program.
//
//   kreidolin-mdb <file> <table> <max rows>
//
// Exit status 0: the whole table was written; 1: a failure record was
// written; 2: wrong arguments; 3: stdout refused the stream.

#include "store/jetformat.h"
#include "store/jetlesen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: kreidolin-mdb <file> <table> <max rows>\n");
        return 2;
    }
    char *ende = nullptr;
    const long long maxZeilen = std::strtoll(argv[3], &ende, 10);
    if (!ende || *ende != '\0' || maxZeilen < 0) {
        std::fprintf(stderr, "kreidolin-mdb: <max rows> must be a whole number\n");
        return 2;
    }
    bool ganz = false;
    {
        JetFormat::Schreiber aus(stdout);
        ganz = JetLesen::lies(QByteArray(argv[1]), QString::fromUtf8(argv[2]), maxZeilen, aus);
        if (!aus.leeren())
            return 3;
    }
    return ganz ? 0 : 1;
}
