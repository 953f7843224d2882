// tarvisk-makeicon SIZE FILE.png: the program's icon as a PNG, for the desktop's icon theme.
#include <QImage>
#include <QString>

#include <cstdio>

#include "appinfo.h"

int main(int argc, char** argv) {
    const int size = argc == 3 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (size <= 0) {
        std::fprintf(stderr, "usage: tarvisk-makeicon SIZE FILE.png\n");
        return 2;
    }
    if (!appinfo::IconImage(size).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "tarvisk-makeicon: %s could not be written\n", argv[2]);
        return 1;
    }
    return 0;
}
